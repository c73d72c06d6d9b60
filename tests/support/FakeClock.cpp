#include "FakeClock.h"

FakeClock::FakeClock() : m_now(QDate(2026, 12, 6), QTime(19, 22, 10)) {}

QDateTime FakeClock::now() const
{
    return m_now;
}

QLocale FakeClock::locale() const
{
    return m_locale;
}

void FakeClock::setNow(const QDateTime& now)
{
    m_now = now;
}

void FakeClock::advanceSeconds(qint64 seconds)
{
    m_now = m_now.addSecs(seconds);
}

void FakeClock::setLocale(const QLocale& locale)
{
    m_locale = locale;
}
