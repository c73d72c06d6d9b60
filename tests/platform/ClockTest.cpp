#include "support/FakeClock.h"

#include <gtest/gtest.h>

namespace {

FakeClock clockAt(int hour, int minute, int second, const QLocale& locale)
{
    FakeClock clock;
    clock.setNow(QDateTime(QDate(2026, 12, 6), QTime(hour, minute, second)));
    clock.setLocale(locale);
    return clock;
}

} // namespace

TEST(ClockTest, TextsInTheCLocale)
{
    const FakeClock clock = clockAt(19, 22, 10, QLocale::c());
    EXPECT_EQ(clock.nowText(), QStringLiteral("6 Dec 2026 19:22:10"));
    EXPECT_EQ(clock.timeText(), QStringLiteral("19:22:10"));
    EXPECT_EQ(clock.todayText(), QStringLiteral("6 Dec 2026"));
}

TEST(ClockTest, TextsInUnitedStatesEnglish)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const FakeClock evening = clockAt(19, 22, 10, english);
    EXPECT_EQ(evening.nowText(), QStringLiteral("12/6/26 7:22:10 PM"));
    EXPECT_EQ(evening.timeText(), QStringLiteral("7:22:10 PM"));
    EXPECT_EQ(evening.todayText(), QStringLiteral("12/6/26"));

    // The hour has no leading zero; minutes and seconds always have two digits.
    EXPECT_EQ(clockAt(7, 5, 9, english).timeText(), QStringLiteral("7:05:09 AM"));
    EXPECT_EQ(clockAt(0, 0, 0, english).timeText(), QStringLiteral("12:00:00 AM"));
}

TEST(ClockTest, NoLocaleKeepsATimeZoneInItsTexts)
{
    for (const char* name : {"C", "en_US", "de_DE", "zh_CN", "ja_JP", "fa_IR", "ko_KR", "hu_HU"}) {
        const QLocale locale(QString::fromLatin1(name));
        const FakeClock clock = clockAt(19, 22, 10, locale);
        const QString zone = clock.now().timeZoneAbbreviation();
        EXPECT_FALSE(clock.timeText().contains(zone)) << name << ": " << clock.timeText().toStdString();
        EXPECT_EQ(clock.timeText(), clock.timeText().trimmed()) << name;
        EXPECT_TRUE(clock.nowText().endsWith(u' ' + clock.timeText())) << name;
        EXPECT_TRUE(clock.nowText().startsWith(clock.todayText() + u' ')) << name;
    }
}

TEST(ClockTest, ZoneTokensAreRemovedWithTheirSeparation)
{
    EXPECT_EQ(Clock::withoutTimeZone(QStringLiteral("h:mm:ss AP t")), QStringLiteral("h:mm:ss AP"));
    EXPECT_EQ(Clock::withoutTimeZone(QStringLiteral("t HH:mm:ss")), QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(Clock::withoutTimeZone(QStringLiteral("H:mm:ss (t)")), QStringLiteral("H:mm:ss"));
    EXPECT_EQ(Clock::withoutTimeZone(QStringLiteral("HH:mm:ss tttt")), QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(Clock::withoutTimeZone(QStringLiteral("h:mm t AP")), QStringLiteral("h:mm AP"));
    // Quoted text is literal, even where it holds the letter t.
    EXPECT_EQ(Clock::withoutTimeZone(QStringLiteral("HH 'at' mm t")), QStringLiteral("HH 'at' mm"));
}
