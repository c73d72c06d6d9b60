#pragma once

#include "Desktop.h"

#include <QString>

#include <functional>

class EventLog;

// The desktop of a program with no one to answer: a question is logged as one line and answered
// No (or Cancel), so nothing is downloaded and nothing quits; opening a page does nothing. An Ok
// box is the reason of the ending that follows it, so it goes to the ending's handler, which
// decides whether to end at all and logs it once.
class HeadlessDesktop : public Desktop
{
public:
    using EndHandler = std::function<void(Ending ending, const QString& reason)>;

    HeadlessDesktop(EventLog& log, EndHandler onEnd);

    void openUrl(const QString& url) override;
    void endProgram(Ending ending) override;
    bool hasEnded() const override { return false; }

    // The box's title and text on one line.
    static QString oneLine(const QString& title, const QString& text);

protected:
    Answer showMessage(const QString& title, const QString& text, Icon icon, Buttons buttons) override;

private:
    EventLog& m_log;
    EndHandler m_onEnd;
    QString m_reason;
};
