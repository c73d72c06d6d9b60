#include "HeadlessUpdater.h"
#include "CommandLine.h"
#include "NetworkChangeUpdate.h"
#include "ServiceManagerLink.h"
#include "SignalPipe.h"
#include "StandardOutputLog.h"
#include "UpdateScheduler.h"
#include "support/FakeClock.h"
#include "support/FakeMachineAddress.h"
#include "support/FakeNetworkWatch.h"
#include "support/ScriptedPageRequester.h"
#include "support/TemporaryAppDirectory.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstring>
#include <optional>
#include <tuple>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Outcome = PageRequester::Outcome;

namespace {

// A retry or a phase falling due, without the wait.
void fire(QTimer& timer)
{
    ASSERT_TRUE(timer.isActive());
    timer.stop();
    QMetaObject::invokeMethod(&timer, "timeout");
}

class HeadlessUpdaterTest : public ::testing::Test
{
protected:
    // The update file by default as a version check today leaves it.
    void start(const QByteArray& update = {}, const QByteArray& account = "demo\r\np%w\r\nwww.example.com\r\n",
               const QByteArray& conf = "0\r\n5\r\n 0 \r\n 1 \r\n0\r\nloc1.example\r\n")
    {
        const QByteArray today = "http://127.0.0.1:8780/dyn/update\r\n1.3\r\n" + clock.todayText().toUtf8() + "\r\n";
        dir.writeBytes(u"Update.ini"_s, update.isEmpty() ? today : update);
        dir.writeBytes(u"Conf.ini"_s, conf);
        dir.writeBytes(u"Account.ini"_s, account);
        auto factory = [this](const QString& name, QObject* parent) {
            return wb[name] = new ScriptedPageRequester(parent);
        };
        updater = std::make_unique<HeadlessUpdater>(HeadlessUpdater::Services{
            clock, machine, watch, factory, settings, u"127.0.0.1:8780"_s, u"127.0.0.1:8780/keepalive"_s});
        QObject::connect(updater.get(), &HeadlessUpdater::journal, updater.get(),
                         [this](const QString& chunk) { journal += StandardOutputLog::line(chunk); });
        QObject::connect(updater.get(), &HeadlessUpdater::ended, updater.get(), [this](ExitStatus s) { ended = s; });
        updater->start();
    }

    qsizetype count(const QString& part) const { return journal.count(part); }

    TemporaryAppDirectory dir;
    SettingsDirectory settings{dir.path()};
    FakeClock clock;
    FakeMachineAddress machine;
    FakeNetworkWatch watch;
    QHash<QString, ScriptedPageRequester*> wb;
    std::unique_ptr<HeadlessUpdater> updater;
    QString journal;
    std::optional<ExitStatus> ended;
};

// Started in an outage: the validation, then the forced update, are sent every minute until
// answered, each fault logged once; the cycle starts only then.
TEST_F(HeadlessUpdaterTest, StartOutlastsAnOutage)
{
    start();
    watch.reportChange(); // the network coming up: the forced update, when it goes, reads it
    // Whatever stands in the way (a block page, a sign-in page carrying the original address) holds
    // no code of the service's own: no refusal.
    const QString portal = u"http://192.168.100.1/login?next=/ipupdate/account_validate.jsp%3Flogin%3Ddemo"_s;
    const std::tuple<QString, QString, Outcome> faults[] = {
        {{}, u"1=whatever stands in the way"_s, Outcome::Failed},
        {{}, u"1=whatever stands in the way"_s, Outcome::ServerError},
        {{}, u"1=whatever stands in the way"_s, Outcome::ClientError},
        {{}, u"Access to this site is blocked by your network's policy."_s, Outcome::Answered},
        {portal, u"1=Sign in to continue"_s, Outcome::Answered}};
    for (const auto& [url, text, outcome] : faults) {
        ScriptedPageRequester& account = *wb[u"wb_account"_s];
        account.completeAt(url.isEmpty() ? account.lastNavigation() : url, text, outcome);
        EXPECT_EQ(updater->validationRetry().timer().interval(), 60000);
        fire(updater->validationRetry().timer());
    }
    wb[u"wb_account"_s]->completeWith(u"0=Account validated"_s);
    EXPECT_EQ(count(u"Account validation failed"_s) + count(u"Account validation answered again."_s), 2);
    EXPECT_FALSE(wb[u"wb_setip"_s]->hasPending()) << "not before a lookup has found the address";
    wb[u"wb_external"_s]->completeWith(u"Your IP: 203.0.113.7"_s);
    ScriptedPageRequester& setip = *wb[u"wb_setip"_s];
    EXPECT_TRUE(setip.lastNavigation().contains(u"&force=Y&host=www.example.com&myip=203.0.113.7&"_s));
    setip.completeWith(u"The page cannot be displayed\r\nThe server refused the connection.\r\n"_s, Outcome::Failed);
    EXPECT_EQ(count(u"Forced update failed (The server refused the connection.)"_s), 1);
    const QString afterFirstFailure = journal;
    for (const Outcome outcome : {Outcome::Failed, Outcome::ServerError}) {
        setip.clearNavigations();
        fire(updater->forcedUpdateRetry().timer());
        ASSERT_EQ(setip.navigations().size(), 1) << "the unchanged address is sent again";
        setip.completeWith(u"503 gateway down"_s, outcome);
        EXPECT_EQ(journal, afterFirstFailure) << "a retry that fails again logs nothing";
    }
    EXPECT_FALSE(updater->scheduler().timer().isActive() || updater->networkChange().timer().isActive());
    fire(updater->forcedUpdateRetry().timer());
    setip.completeWith(u"0=www.example.com"_s);
    EXPECT_TRUE(updater->networkChange().timer().isActive()) << "the change is followed once the cycle runs";
    EXPECT_EQ(count(u" - Updated: www.example.com\n"_s) + count(u"Forced update answered again."_s), 2);
    EXPECT_TRUE(updater->scheduler().timer().isActive());
    EXPECT_FALSE(journal.contains(u"p%w"_s) || journal.contains(u"\r"_s) || ended);
}

TEST_F(HeadlessUpdaterTest, AForcedUpdateTheGatewayRateLimitedWaitsAsLongAsItAsked)
{
    start();
    wb[u"wb_external"_s]->completeWith(u"Your IP: 203.0.113.7"_s);
    wb[u"wb_account"_s]->completeWith(u"0=Account validated"_s);
    ScriptedPageRequester& setip = *wb[u"wb_setip"_s];
    setip.completeWith(u"Too Many Requests"_s, Outcome::ClientError, {429, "600"});
    EXPECT_EQ(count(u"Forced update failed (the update gateway answered with status 429)"_s), 1);
    EXPECT_EQ(updater->forcedUpdateRetry().timer().interval(), 600000);
    clock.advanceSeconds(600);
    setip.clearNavigations();
    fire(updater->forcedUpdateRetry().timer());
    EXPECT_TRUE(setip.lastNavigation().contains(u"&myip=203.0.113.7&"_s));
}

// The service's refusal, or settings that cannot be loaded at start: nothing else ends it.
TEST_F(HeadlessUpdaterTest, EndsOnlyWhenTryingAgainCannotMendIt)
{
    const auto answer = [this](const char* text) {
        return [this, text] { wb[u"wb_account"_s]->completeWith(QString::fromLatin1(text)); };
    };
    const QByteArray account = "demo\r\np%w\r\nwww.example.com\r\n";
    const struct
    {
        std::function<void()> fault;
        QByteArray account;
        QByteArray conf;
        ExitStatus status;
        QString logged;
    } rows[] = {
        {answer("1=Invalid login"), account, {}, ExitStatus::LoginRefused, u"account \"demo\""_s},
        {answer("12=Account locked"), account, {}, ExitStatus::LoginRefused, u"account \"demo\""_s},
        {[] {}, account, "", ExitStatus::SettingsUnreadable, u"Cannot read the settings file "_s},
        {[] {}, "demo\r\npw\r\n", {}, ExitStatus::SettingsUnreadable, u"Account.ini names no host; run quorvex"_s},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.logged.toStdString());
        ended.reset();
        if (row.conf.isNull()) {
            start({}, row.account);
        } else {
            start({}, row.account, row.conf);
        }
        row.fault();
        ASSERT_EQ(ended, row.status);
        EXPECT_TRUE(journal.contains(row.logged));
    }
}

// Settings in the user's directory: one that cannot be made ends the start before any file is read
// or any page asked for; one without the files says to run quorvex, from anywhere.
TEST_F(HeadlessUpdaterTest, InTheUserDirectoryTheLastLineNamesWhatIsMissing)
{
    dir.writeBytes(u"blocker"_s, "a file where a directory belongs");
    const std::pair<QString, QString> rows[] = {
        {u"blocker"_s, u"Cannot create the settings directory %1/blocker/quorvex.\n"_s},
        {u"config"_s, u"Cannot read the settings file %1/config/quorvex/Conf.ini; run quorvex once to set it up.\n"_s},
    };
    for (const auto& [configHome, logged] : rows) {
        SCOPED_TRACE(configHome.toStdString());
        settings = SettingsDirectory::resolve(SettingsDirectory::Location::User, {}, dir.filePath(configHome), {});
        ended.reset();
        start();
        EXPECT_EQ(ended, ExitStatus::SettingsUnreadable);
        EXPECT_TRUE(journal.endsWith(logged.arg(QDir::cleanPath(dir.path())))) << journal.toStdString();
        EXPECT_TRUE(wb[u"wb_account"_s]->navigations().isEmpty() && wb[u"wb_updates"_s]->navigations().isEmpty());
    }
}

TEST_F(HeadlessUpdaterTest, AFailedVersionPageIsAskedForAgainInsteadOfEndingAndNamesTheGateway)
{
    start("\r\n1.0\r\n0\r\n"); // as the setup wizard leaves it: no gateway yet, never checked
    wb[u"wb_external"_s]->completeWith(u"Your IP: 203.0.113.7"_s);
    wb[u"wb_account"_s]->completeWith(u"0=Account validated"_s);
    EXPECT_TRUE(updater->forcedUpdateRetry().isFailing() && !wb[u"wb_setip"_s]->hasPending());
    for (const Outcome outcome : {Outcome::Answered, Outcome::Failed}) {
        wb[u"wb_updates"_s]->completeWith(u"<html>sign in to the hotel network</html>"_s, outcome);
        fire(updater->versionRetry().timer());
    }
    EXPECT_EQ(count(u"Error checking for updates. Please ensure you are online."_s), 1);
    wb[u"wb_updates"_s]->completeWith(u"url=http://127.0.0.1:8780/dyn/update\r\nversion=1.3"_s);
    EXPECT_EQ(count(u"Version check answered again."_s), 1);
    fire(updater->forcedUpdateRetry().timer());
    EXPECT_TRUE(wb[u"wb_setip"_s]->lastNavigation().startsWith(u"http://127.0.0.1:8780/dyn/update?login=demo&"_s));
    EXPECT_FALSE(ended) << "a version page that fails does not end it";
}

// A reload sends a forced update only when the hosts changed: after the lookup, or, while the
// first one is in flight, right after its answer. A slip while editing keeps the settings it had.
TEST_F(HeadlessUpdaterTest, AReloadForcesAnUpdateOnlyWhenTheHostsChangedAndNeverEndsIt)
{
    start();
    wb[u"wb_external"_s]->completeWith(u"Your IP: 203.0.113.7"_s);
    wb[u"wb_account"_s]->completeWith(u"0=Account validated"_s);
    ScriptedPageRequester& setip = *wb[u"wb_setip"_s];
    dir.writeBytes(u"Account.ini"_s, "demo\r\np%w\r\nwww.example.com\r\nftp.example.com\r\n");
    updater->reload();
    setip.completeWith(u"0=www.example.com"_s);
    EXPECT_TRUE(setip.lastNavigation().contains(u"host=www.example.com;ftp.example.com&"_s));
    setip.completeWith(u"0=www.example.com\r\n0=ftp.example.com"_s);
    updater->reload();
    EXPECT_FALSE(updater->forcedAfterLookup().isActive());

    dir.writeBytes(u"Account.ini"_s, "demo\r\np%w\r\n");
    updater->reload();
    EXPECT_FALSE(ended);
    EXPECT_EQ(count(u"Account.ini names no host; going on with the settings read before."_s), 1);
    dir.writeBytes(u"Account.ini"_s, "demo\r\np%w\r\nnas.example.com\r\n");
    updater->reload();
    EXPECT_EQ(updater->forcedAfterLookup().interval(), 24000);
    fire(updater->forcedAfterLookup());
    EXPECT_TRUE(setip.lastNavigation().contains(u"host=nas.example.com&"_s));
}

// Standard output is its log: however long it runs, it keeps no copy that grows.
TEST_F(HeadlessUpdaterTest, TenThousandCyclesLeaveNothingGrowing)
{
    start({}, "demo\r\np%w\r\nwww.example.com\r\n", "0\r\n1\r\n 0 \r\n 0 \r\n0\r\nloc1.example\r\n");
    wb[u"wb_external"_s]->completeWith(u"Your IP: 203.0.113.7"_s);
    wb[u"wb_account"_s]->completeWith(u"0=Account validated"_s);
    wb[u"wb_setip"_s]->completeWith(u"0=www.example.com"_s);
    for (int cycle = 0; cycle < 10000; ++cycle) {
        updater->scheduler().tick();
        wb[u"wb_external"_s]->completeWith(u"Your IP: 203.0.113.7"_s);
        updater->scheduler().tick();
    }
    EXPECT_EQ(count(u" - Not updated. IP had not changed.\n"_s), 10000);
    EXPECT_TRUE(updater->log().text().isEmpty());
}

// Only a bare start runs the updater: anything else it is given sends nothing.
TEST(CommandLineTest, OnlyABareStartRuns)
{
    using enum CommandLine::Action;
    const std::pair<QStringList, CommandLine::Action> rows[] = {{{}, Run},
                                                                {{u"--help"_s}, Help},
                                                                {{u"-h"_s}, Help},
                                                                {{u"--version"_s}, Version},
                                                                {{u"--bogus"_s}, Usage},
                                                                {{u"--help"_s, u"x"_s}, Usage},
                                                                {{u""_s}, Usage}};
    for (const auto& [arguments, action] : rows) {
        EXPECT_EQ(CommandLine::parse(arguments), action) << arguments.join(u' ').toStdString();
    }
}

TEST(SignalPipeTest, TermAndIntStopHupReloadsUsr1ReportsANetworkChangeOnTheEventLoop)
{
    SignalPipe pipe;
    ASSERT_TRUE(pipe.isValid());
    QSignalSpy stops(&pipe, &SignalPipe::stopRequested);
    QSignalSpy reloads(&pipe, &SignalPipe::reloadRequested);
    QSignalSpy changes(&pipe, &SignalPipe::networkChangeReported);
    for (const int number : {SIGHUP, SIGTERM, SIGINT, SIGUSR1}) {
        ASSERT_EQ(::raise(number), 0);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return stops.size() == 2 && reloads.size() == 1 && changes.size() == 1; }, 2000));
}

} // namespace

// The service manager's end is a datagram socket: it hears readiness, the status line and watchdog
// pings at half the period it asked for. The journal takes each line with its priority first and
// without the program's own time stamp.
TEST(ServiceManagerLinkTest, TellsTheManagerWhereItStandsAndFeedsTheWatchdog)
{
    const QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(u"notify"_s));
    const int manager = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    ASSERT_EQ(::bind(manager, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    qputenv("NOTIFY_SOCKET", path);
    qputenv("WATCHDOG_USEC", "100000");
    {
        ServiceManagerLink link;
        link.ready();
        link.status(u"Running; 203.0.113.7 sent at 19:22:10"_s);
        QTest::qWait(260);
    }
    qunsetenv("NOTIFY_SOCKET");
    qunsetenv("WATCHDOG_USEC");
    QStringList heard;
    std::array<char, 512> datagram{};
    for (ssize_t n = 0; (n = ::recv(manager, datagram.data(), datagram.size(), 0)) > 0;) {
        heard << QString::fromUtf8(datagram.data(), n);
    }
    ::close(manager);
    EXPECT_EQ(heard.mid(0, 2), QStringList({u"READY=1"_s, u"STATUS=Running; 203.0.113.7 sent at 19:22:10"_s}));
    EXPECT_GE(heard.count(u"WATCHDOG=1"_s), 3);

    using Level = EventLog::Level;
    const std::tuple<QString, Level, QString> lines[] = {
        {u"6 Dec 2026 19:22:10 - Forced update failed (x); trying again every minute.\r\n"_s, Level::Warning,
         u"<4>Forced update failed (x); trying again every minute.\n"_s},
        {u"6 Dec 2026 19:22:10 - Cannot read the settings file /a/Conf.ini\r\n"_s, Level::Error,
         u"<3>Cannot read the settings file /a/Conf.ini\n"_s},
        {u"\t>> 0=www.example.com - updated\r\n"_s, Level::Info, u"<6>\t>> 0=www.example.com - updated\n"_s}};
    for (const auto& [chunk, level, line] : lines) {
        EXPECT_EQ(StandardOutputLog::journalLine(chunk, level), line);
    }
}
