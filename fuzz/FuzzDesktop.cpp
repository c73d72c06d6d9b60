#include "FuzzDesktop.h"

Desktop::Answer FuzzDesktop::message(const QString& title, const QString& text, Icon icon, Buttons buttons)
{
    m_messages.append(Message{title, text, icon});
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return m_agree ? Answer::Ok : Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        break;
    }
    return m_agree ? Answer::Yes : Answer::No;
}

void FuzzDesktop::openUrl(const QString& url)
{
    m_openedUrls.append(url);
}

void FuzzDesktop::endProgram()
{
    ++m_endProgramCalls;
}

bool FuzzDesktop::hasEnded() const
{
    return m_endProgramCalls > 0;
}
