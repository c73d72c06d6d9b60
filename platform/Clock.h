#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The one source of the current time and of its texts, so that tests can fix both the time and
// the locale the texts are formed in.
class Clock
{
public:
    virtual ~Clock();

    virtual QDateTime now() const = 0;
    // The locale whose short date and long time forms the texts use.
    virtual QLocale locale() const;

    // Short date, one space, the time as TimeText() gives it: the log's time stamp and the cache-buster.
    QString NowText() const;
    // The locale's long time form without its time-zone part, e.g. "7:22:10 PM" or "19:22:10".
    QString TimeText() const;
    // Any time of day in that same form.
    QString TimeText(const QTime& time) const;
    // Today's date in the locale's short form.
    QString todayText() const;

    // A time format with every time-zone token, and the space or brackets that set it apart,
    // removed; quoted literal text is kept as it stands.
    static QString withoutTimeZone(const QString& format);
};
