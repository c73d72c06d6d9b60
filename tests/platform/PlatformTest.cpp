#include "WidgetDesktop.h"
#include "support/FakeClock.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <utility>

using namespace Qt::StringLiterals;

TEST(Clock, TimeTextsCarryNoTimeZone)
{
    // The time goes into the log and into the keep-alive query, where a zone is only noise.
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
    FakeClock clock;
    clock.setLocale(QLocale(QLocale::English, QLocale::UnitedStates)); // its long time form ends in a zone
    EXPECT_EQ(clock.nowText(), u"12/6/26 7:22:10 PM"_s);
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
