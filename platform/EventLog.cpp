#include "EventLog.h"

#include "Clock.h"

EventLog::EventLog(const Clock& clock, QObject* parent) : QObject(parent), m_clock(clock) {}

void EventLog::appendMessage(const QString& message, Level level)
{
    append(m_clock.NowText() + QStringLiteral(" - ") + message + QStringLiteral("\r\n"), level);
}

void EventLog::appendEntry(const QString& entry)
{
    append(m_clock.NowText() + entry + QStringLiteral("\r\n"));
}

void EventLog::appendCopy(const QString& text)
{
    append(QStringLiteral("\t>> ") + text);
}

void EventLog::append(const QString& chunk, Level level)
{
    if (m_keepsText) {
        m_text += chunk;
    }
    emit appended(chunk, level);
}
