#include "Clock.h"

Clock::~Clock() = default;

QLocale Clock::locale() const
{
    return QLocale::system();
}

QString Clock::NowText() const
{
    const QDateTime current = now();
    return locale().toString(current.date(), QLocale::ShortFormat) + u' ' + TimeText(current.time());
}

QString Clock::TimeText() const
{
    return TimeText(now().time());
}

QString Clock::TimeText(const QTime& time) const
{
    const QLocale loc = locale();
    return loc.toString(time, withoutTimeZone(loc.timeFormat(QLocale::LongFormat)));
}

QString Clock::todayText() const
{
    return locale().toString(now().date(), QLocale::ShortFormat);
}

namespace {

bool isBracket(QChar c)
{
    return c == u'(' || c == u')' || c == u'[' || c == u']';
}

} // namespace

QString Clock::withoutTimeZone(const QString& format)
{
    // Outside quotes every run of 't' is a zone token; a token in brackets, "(t)", goes with them.
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            quoted = !quoted;
            result += c;
            continue;
        }
        if (quoted || c != u't') {
            result += c;
            continue;
        }
        while (i + 1 < format.size() && format.at(i + 1) == u't') {
            ++i;
        }
        if (!result.isEmpty() && isBracket(result.back()) && i + 1 < format.size() && isBracket(format.at(i + 1))) {
            result.chop(1);
            ++i;
        }
        while (!result.isEmpty() && result.back().isSpace()) {
            result.chop(1);
        }
        if (result.isEmpty()) {
            while (i + 1 < format.size() && format.at(i + 1).isSpace()) {
                ++i;
            }
        }
    }
    return result.trimmed();
}
