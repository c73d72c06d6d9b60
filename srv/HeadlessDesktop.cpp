#include "HeadlessDesktop.h"

#include "EventLog.h"

#include <utility>

HeadlessDesktop::HeadlessDesktop(EventLog& log, EndHandler onEnd) : m_log(log), m_onEnd(std::move(onEnd)) {}

void HeadlessDesktop::openUrl(const QString& /*url*/) {}

void HeadlessDesktop::endProgram(Ending ending)
{
    m_onEnd(ending, std::exchange(m_reason, QString()));
}

QString HeadlessDesktop::oneLine(const QString& title, const QString& text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return title + QStringLiteral(": ") + line;
}

Desktop::Answer HeadlessDesktop::showMessage(const QString& title, const QString& text, Icon /*icon*/, Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        m_reason = oneLine(title, text);
        return Answer::Ok;
    case Buttons::OkCancel:
        m_log.appendMessage(oneLine(title, text) + QStringLiteral(" (answered Cancel)"));
        return Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        break;
    }
    m_log.appendMessage(oneLine(title, text) + QStringLiteral(" (answered No)"));
    return Answer::No;
}
