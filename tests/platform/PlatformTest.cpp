#include "SettingsDirectory.h"
#include "WidgetDesktop.h"
#ifdef Q_OS_LINUX
#include "NetlinkNetworkWatch.h"
#endif
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include <sys/stat.h>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>
#endif

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
    EXPECT_EQ(clock.NowText(), u"12/6/26 7:22:10 PM"_s);
}

TEST(SettingsDirectory, OneDirectoryForEachKindOfBuildAndTheUsersMadeForItsOwnerAlone)
{
    using Location = SettingsDirectory::Location;
    const QTemporaryDir temporary;
    const QString root = temporary.path();
    const QString home = root + u"/home"_s; // missing: the user's directory is made with its parents
    QFile blocker(root + u"/blocker"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const struct
    {
        Location location;
        QString configHome;
        QString path;
        QString problem;
    } rows[] = {
        {Location::Application, root + u"/config"_s, root + u"/program/"_s, {}},
        {Location::User, root + u"/config"_s, root + u"/config/quorvex/"_s, {}},
        {Location::User, QString(), home + u"/.config/quorvex/"_s, {}},
        {Location::User, u""_s, home + u"/.config/quorvex/"_s, {}},
        {Location::User, u"config"_s, home + u"/.config/quorvex/"_s, {}}, // relative: not a valid setting
        {Location::User, root + u"/blocker"_s, root + u"/blocker/quorvex/"_s,
         u"Cannot create the settings directory "_s + root + u"/blocker/quorvex"_s},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.configHome.toStdString());
        const auto settings = SettingsDirectory::resolve(row.location, root + u"/program"_s, row.configHome, home);
        EXPECT_EQ(settings.path(), row.path);
        EXPECT_EQ(settings.problem(), row.problem);
    }
    EXPECT_FALSE(QFileInfo::exists(root + u"/program"_s)) << "the program's own directory is used as it is";
    for (const QString& made : {u"/config/quorvex"_s, u"/home"_s, u"/home/.config"_s, u"/home/.config/quorvex"_s}) {
        struct stat status = {};
        ASSERT_EQ(::stat(QFile::encodeName(root + made).constData(), &status), 0) << made.toStdString();
        EXPECT_EQ(status.st_mode & 0777U, 0700U) << made.toStdString();
    }
}

TEST(WidgetDesktop, TheProgramEndsWithStatusOneAfterAFailureAndZeroOnExit)
{
    // Ended before the loop runs too (an error found while starting up): the end must not be
    // forgotten, or the program would stay on with no window. A script or a service manager tells
    // a failure from Exit by the status alone.
    for (const auto& [ending, status] : {std::pair{Desktop::Ending::Failure, 1}, std::pair{Desktop::Ending::Exit, 0}}) {
        WidgetDesktop desktop;
        desktop.endProgram(ending);
        QTimer stuck;
        QObject::connect(&stuck, &QTimer::timeout, &stuck, [] { QCoreApplication::exit(99); });
        stuck.start(5000);
        EXPECT_EQ(QCoreApplication::exec(), status);
    }
}

TEST(ModalGate, NothingRunsUnderAnOpenBoxAndWhatFellDueComesAfterItInOrder)
{
    for (const bool boxEndsTheProgram : {false, true}) {
        FakeDesktop desktop;
        QTimer tmrUpdate;
        tmrUpdate.setInterval(5);
        desktop.gate().holdTicks(tmrUpdate);
        QStringList seen;
        QObject::connect(&tmrUpdate, &QTimer::timeout, &tmrUpdate, [&] {
            seen << u"tick"_s;
            tmrUpdate.stop();
        });
        desktop.whileOpen([&] {
            desktop.gate().deliver([&] { seen << u"completion"_s; });
            tmrUpdate.start();
            QTest::qWait(50); // ticks fall due under the box: they become one
            seen << u"box closed"_s;
        });
        desktop.message(u"Error"_s, u"text"_s, Desktop::Icon::Critical, Desktop::Buttons::Ok);
        if (boxEndsTheProgram) {
            desktop.endProgram(Desktop::Ending::Failure);
            tmrUpdate.stop(); // as the ended event loop stops every timer
        }
        seen << u"caller goes on"_s;
        QTest::qWait(50);
        const QStringList expected =
            boxEndsTheProgram ? QStringList{u"box closed"_s, u"caller goes on"_s}
                              : QStringList{u"box closed"_s, u"caller goes on"_s, u"completion"_s, u"tick"_s};
        EXPECT_EQ(seen, expected) << boxEndsTheProgram;
    }
}

// A tick that falls due after the box closed but before what it held goes out waits behind it, one
// with the held tick of its timer; a held tick of a timer restarted meanwhile is dropped, as the
// timer's own next tick comes in its time. Never two ticks back to back.
TEST(ModalGate, AHeldTickRunsOnceInOrderAndNotForARestartedTimer)
{
    for (const bool restarted : {false, true}) {
        FakeDesktop desktop;
        QTimer tmrUpdate;
        desktop.gate().holdTicks(tmrUpdate);
        tmrUpdate.start(60000);
        QStringList seen;
        QObject::connect(&tmrUpdate, &QTimer::timeout, &tmrUpdate, [&] { seen << u"tick"_s; });
        const auto fallDue = [&tmrUpdate] {
            QTimerEvent tick(tmrUpdate.timerId());
            QCoreApplication::sendEvent(&tmrUpdate, &tick);
        };
        desktop.whileOpen([&] {
            fallDue();
            desktop.gate().deliver([&] { seen << u"completion"_s; });
        });
        desktop.message(u"Error"_s, u"text"_s, Desktop::Icon::Exclamation, Desktop::Buttons::Ok);
        fallDue();
        if (restarted) {
            tmrUpdate.setInterval(24000); // as the scheduler turns from one period to the other
        }
        seen << u"caller goes on"_s;
        QTest::qWait(50);
        const QStringList expected = restarted ? QStringList{u"caller goes on"_s, u"completion"_s}
                                               : QStringList{u"caller goes on"_s, u"tick"_s, u"completion"_s};
        EXPECT_EQ(seen, expected) << restarted;
    }
}

#ifdef Q_OS_LINUX
// The kernel's own announcements, in a network namespace of this test's own (root only), so the
// machine's network is never touched: a new link, an address on it, a route, each seen within a
// settling time; the route decides whether the network counts as up.
TEST(NetlinkNetworkWatch, SeesLinksAddressesAndRoutesChange)
{
    const int original = ::open("/proc/self/ns/net", O_RDONLY | O_CLOEXEC);
    if (original < 0 || ::unshare(CLONE_NEWNET) != 0 || QStandardPaths::findExecutable(u"ip"_s).isEmpty()) {
        if (original >= 0) {
            ::close(original);
        }
        GTEST_SKIP() << "needs root, a network namespace of its own and the ip command";
    }
    const auto ip = [](const QString& arguments) {
        return QProcess::execute(u"ip"_s, arguments.split(u' '));
    };
    {
        NetlinkNetworkWatch watch;
        ASSERT_TRUE(watch.isWatching());
        QSignalSpy changes(&watch, &NetworkWatch::changed);
        // A link message that changes nothing of its state (as a wireless card's scan) is no change.
        const std::tuple<const char*, bool, bool> steps[] = {
            {"link add qv0 type veth peer name qv1", true, false},
            {"link set qv0 up", true, false},
            {"link set qv1 up", true, false},
            {"addr add 10.200.0.1/24 dev qv0", true, false},
            {"route add default via 10.200.0.254 dev qv0", true, true},
            {"link set qv0 mtu 1400", false, true},
            {"addr replace 10.200.0.2/24 dev qv0", true, true},
            {"link set qv0 down", true, false},
        };
        for (const auto& [command, seen, online] : steps) {
            SCOPED_TRACE(command);
            // A link's carrier is announced up to a second late: the quiet step waits for quiet first.
            while (!seen && changes.wait(1500)) {
            }
            changes.clear();
            ASSERT_EQ(ip(QString::fromLatin1(command)), 0);
            EXPECT_EQ(changes.wait(seen ? 2000 : 300), seen);
            EXPECT_EQ(watch.isOnline(), online);
        }
    }
    EXPECT_EQ(::setns(original, CLONE_NEWNET), 0);
    ::close(original);
}
#endif
