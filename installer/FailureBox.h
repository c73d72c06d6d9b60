#pragma once

#include <QString>

// A modal message box with the critical (stop) icon and a single OK button.
class FailureBox
{
public:
    virtual ~FailureBox();

    // Returns when the user has closed the box.
    virtual void showStop(const QString& title, const QString& text) = 0;
};
