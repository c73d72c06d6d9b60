#pragma once

#include "Clock.h"

// A clock that stands still until the test moves it, in a fixed locale (the C locale by default),
// so that every text it gives is known in advance.
class FakeClock : public Clock
{
public:
    // Starts at 6 December 2026, 19:22:10 local time.
    FakeClock();

    QDateTime now() const override;
    QLocale locale() const override;

    void setNow(const QDateTime& now);
    void advanceSeconds(qint64 seconds);
    void setLocale(const QLocale& locale);

private:
    QDateTime m_now;
    QLocale m_locale = QLocale::c();
};
