#pragma once

#include "FailureBox.h"

#include <QList>

// Records every box instead of showing it; each is "closed" at once.
class FakeFailureBox : public FailureBox
{
public:
    struct Shown
    {
        QString title;
        QString text;
    };

    void showStop(const QString& title, const QString& text) override;

    QList<Shown> shown;
};
