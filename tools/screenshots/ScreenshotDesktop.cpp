#include "ScreenshotDesktop.h"

using namespace Qt::StringLiterals;

Desktop::Answer ScreenshotDesktop::showMessage(const QString& title, const QString& text, Icon, Buttons buttons)
{
    m_problems.append(u"message box \""_s + title + u"\": "_s + QString(text).replace(u"\r\n"_s, u" / "_s));
    switch (buttons) {
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    case Buttons::Ok:
        break;
    }
    return Answer::Ok;
}

void ScreenshotDesktop::openUrl(const QString&) {}

void ScreenshotDesktop::endProgram(Ending /*ending*/)
{
    m_ended = true;
    m_problems.append(u"the program ended"_s);
}

bool ScreenshotDesktop::hasEnded() const
{
    return m_ended;
}
