#pragma once

#include "Desktop.h"

#include <QStringList>

// The desktop of a screenshot run: nobody is there to answer a message box, and a run that goes
// as planned shows none. Each box or end of the program is kept as a problem, and a box gets the
// answer that changes least (Ok, No or Cancel), so the run can stop and say what happened.
class ScreenshotDesktop : public Desktop
{
public:
    void openUrl(const QString& url) override;
    void endProgram(Ending ending) override;
    bool hasEnded() const override;

    const QStringList& problems() const { return m_problems; }

protected:
    Answer showMessage(const QString& title, const QString& text, Icon icon, Buttons buttons) override;

private:
    QStringList m_problems;
    bool m_ended = false;
};
