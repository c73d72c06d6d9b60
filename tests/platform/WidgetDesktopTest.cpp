#include "WidgetDesktop.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Runs the application's event loop; a stuck loop ends after five seconds with code 99.
int runLoop()
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, QCoreApplication::instance(), [] { QCoreApplication::exit(99); });
    guard.start(5000);
    return QCoreApplication::exec();
}

} // namespace

TEST(WidgetDesktopTest, EndingInsideTheLoopStopsIt)
{
    WidgetDesktop desktop;
    QTimer::singleShot(0, QCoreApplication::instance(), [&desktop] { desktop.endProgram(); });
    EXPECT_EQ(runLoop(), 0);
    EXPECT_TRUE(desktop.hasEnded());
}

TEST(WidgetDesktopTest, EndingBeforeTheLoopStartsStopsItAsItStarts)
{
    WidgetDesktop desktop;
    EXPECT_FALSE(desktop.hasEnded());
    desktop.endProgram();
    EXPECT_TRUE(desktop.hasEnded());
    EXPECT_EQ(runLoop(), 0);
}
