#include "FakeFailureBox.h"

void FakeFailureBox::showStop(const QString& title, const QString& text)
{
    shown.append({title, text});
}
