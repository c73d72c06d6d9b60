#pragma once

#include "FailureBox.h"

class QWidget;

class MessageFailureBox : public FailureBox
{
public:
    explicit MessageFailureBox(QWidget* parent = nullptr);

    void showStop(const QString& title, const QString& text) override;

private:
    QWidget* m_parent;
};
