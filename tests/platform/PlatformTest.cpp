#include "ApplicationDirectory.h"
#include "EventLog.h"
#include "WidgetDesktop.h"
#include "support/FakeClock.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

#include <utility>

using namespace Qt::StringLiterals;

TEST(Clock, ZoneTokensGoWithTheirSeparation)
{
    const std::pair<const char*, const char*> rows[] = {
        {"h:mm:ss AP t", "h:mm:ss AP"},
        {"t HH:mm:ss", "HH:mm:ss"},
        {"H:mm:ss (t)", "H:mm:ss"},
        {"HH:mm:ss tttt", "HH:mm:ss"},
        {"h:mm t AP", "h:mm AP"},
        {"HH 'at' mm t", "HH 'at' mm"}, // quoted text is literal, even where it holds the letter t
    };
    for (const auto& [format, stripped] : rows) {
        EXPECT_EQ(Clock::withoutTimeZone(QString::fromLatin1(format)), QString::fromLatin1(stripped)) << format;
    }
}

TEST(Clock, TimeTextsCarryNoTimeZone)
{
    // The time goes into the log and into the keep-alive query; a zone there is noise a user sees.
    FakeClock clock;
    clock.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(clock.nowText(), u"12/6/26 7:22:10 PM"_s);
    for (const char* name : {"de_DE", "zh_CN", "ja_JP", "fa_IR", "ko_KR", "hu_HU"}) {
        clock.setLocale(QLocale(QString::fromLatin1(name)));
        EXPECT_FALSE(clock.timeText().contains(clock.now().timeZoneAbbreviation())) << name;
    }
}

TEST(ApplicationDirectory, EndsWithOneSeparatorSoFileNamesJoinOn)
{
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    EXPECT_TRUE(QFileInfo::exists(ApplicationDirectory::path() + program));
    EXPECT_EQ(ApplicationDirectory::withTrailingSeparator(u"/opt/quorvex/"_s), u"/opt/quorvex/"_s);
}

TEST(EventLog, EveryChunkReachesTheLogWindowAsItIsAdded)
{
    FakeClock clock;
    EventLog log(clock);
    QStringList chunks;
    QObject::connect(&log, &EventLog::appended, &log, [&chunks](const QString& chunk) { chunks.append(chunk); });
    log.appendEntry(u" - Loaded general settings."_s);
    log.appendMessage(u"Attempting to update IPs ..."_s);
    log.appendCopy(u"0=www updated\r\n"_s);
    EXPECT_EQ(chunks.size(), 3);
    EXPECT_EQ(chunks.join(QString()), log.text());
}

TEST(WidgetDesktop, EndingBeforeTheEventLoopRunsEndsTheProgramWhenItStarts)
{
    // An error found while starting up ends the program before the loop runs; it must not be
    // forgotten, or the program would stay on with no window (closing windows does not end it).
    WidgetDesktop desktop;
    desktop.endProgram();
    QTimer stuck;
    QObject::connect(&stuck, &QTimer::timeout, &stuck, [] { QCoreApplication::exit(99); });
    stuck.start(5000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
}
