#include "HeadlessUpdater.h"
#include "SignalPipe.h"
#include "StandardOutputLog.h"
#include "UpdateScheduler.h"
#include "support/FakeClock.h"
#include "support/FakeMachineAddress.h"
#include "support/ScriptedPageRequester.h"
#include "support/TemporaryAppDirectory.h"

#include <QHash>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <optional>

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
    void SetUp() override
    {
        dir.writeBytes(u"Update.ini"_s, "http://127.0.0.1:8780/dyn/update\r\n1.3\r\n" + clock.todayText().toUtf8() + "\r\n");
        dir.writeBytes(u"Conf.ini"_s, "0\r\n5\r\n 0 \r\n 1 \r\n0\r\nloc1.example\r\n");
        dir.writeBytes(u"Account.ini"_s, "demo\r\np%w\r\nwww.example.com\r\n");
    }

    void start()
    {
        updater = std::make_unique<HeadlessUpdater>(HeadlessUpdater::Services{
            clock, machine,
            [this](const QString& name, QObject* parent) {
                return wbs[name] = new ScriptedPageRequester(parent);
            },
            dir.path(), u"127.0.0.1:8780"_s, u"127.0.0.1:8780/keepalive"_s});
        QObject::connect(updater.get(), &HeadlessUpdater::journal, updater.get(),
                         [this](const QString& chunk) { journal += StandardOutputLog::line(chunk); });
        QObject::connect(updater.get(), &HeadlessUpdater::ended, updater.get(),
                         [this](ExitStatus status) { ended = status; });
        updater->start();
    }

    // Validation accepted, the router's address found, the forced update in flight.
    void startToForcedUpdate()
    {
        start();
        wbs[u"wb_external"_s]->completeWith(u"Your IP: 203.0.113.7"_s);
        wbs[u"wb_account"_s]->completeWith(u"0=Account validated"_s);
    }

    qsizetype count(const QString& part) const { return journal.count(part); }

    TemporaryAppDirectory dir;
    FakeClock clock;
    FakeMachineAddress machine;
    QHash<QString, ScriptedPageRequester*> wbs;
    std::unique_ptr<HeadlessUpdater> updater;
    QString journal;
    std::optional<ExitStatus> ended;
};

TEST_F(HeadlessUpdaterTest, ValidationIsRetriedEveryMinuteUntilAnsweredAndLoggedOnce)
{
    start();
    ScriptedPageRequester& wb = *wbs[u"wb_account"_s];
    ASSERT_TRUE(wb.lastNavigation().contains(u"account_validate.jsp?login=demo&password=p%25w"_s));
    for (const Outcome outcome : {Outcome::Failed, Outcome::ServerError, Outcome::ClientError}) {
        wb.completeWith(u"1=whatever stands in the way"_s, outcome);
        ASSERT_TRUE(updater->validationRetry().timer().isActive());
        EXPECT_EQ(updater->validationRetry().timer().interval(), 60000);
        wb.clearNavigations();
        fire(updater->validationRetry().timer());
        EXPECT_EQ(wb.navigations().size(), 1);
    }
    EXPECT_EQ(count(u"Account validation failed"_s), 1);
    EXPECT_FALSE(wbs[u"wb_setip"_s]->hasPending());
    wb.completeWith(u"0=Account validated"_s);
    EXPECT_EQ(count(u"Account validation answered again."_s), 1);
    EXPECT_TRUE(wbs[u"wb_setip"_s]->hasPending());
    EXPECT_FALSE(ended);
}

TEST_F(HeadlessUpdaterTest, ForcedUpdateIsSentAgainUntilAnsweredThenTheCycleRuns)
{
    startToForcedUpdate();
    ScriptedPageRequester& setip = *wbs[u"wb_setip"_s];
    EXPECT_TRUE(setip.lastNavigation().contains(u"host=www.example.com&myip=203.0.113.7"_s));
    EXPECT_TRUE(journal.contains(u"password=***&"_s));
    setip.completeWith(u"The page cannot be displayed\r\nThe server refused the connection.\r\n"_s, Outcome::Failed);
    EXPECT_EQ(count(u"Forced update failed (The server refused the connection.)"_s), 1);
    const QString afterFirstFailure = journal;
    for (const Outcome outcome : {Outcome::Failed, Outcome::ServerError}) {
        EXPECT_FALSE(updater->scheduler().timer().isActive());
        setip.clearNavigations();
        fire(updater->forcedUpdateRetry().timer());
        ASSERT_EQ(setip.navigations().size(), 1) << "the unchanged address is sent again";
        setip.completeWith(u"503 gateway down"_s, outcome);
        EXPECT_EQ(journal, afterFirstFailure) << "a retry that fails again logs nothing";
    }
    fire(updater->forcedUpdateRetry().timer());
    setip.completeWith(u"0=www.example.com"_s);
    EXPECT_EQ(count(u" - Updated: www.example.com"_s), 1);
    EXPECT_EQ(count(u"Forced update answered again."_s), 1);
    EXPECT_TRUE(updater->scheduler().timer().isActive());
    EXPECT_FALSE(journal.contains(u"p%w"_s));
    EXPECT_FALSE(journal.contains(u"\r"_s));
}

TEST_F(HeadlessUpdaterTest, EndsOnlyWhenTryingAgainCannotMendIt)
{
    struct Row
    {
        const char* name;
        std::function<void()> fault;
        ExitStatus status;
        QString logged;
    };
    const Row rows[] = {
        {"login refused", [this] { wbs[u"wb_account"_s]->completeWith(u"1=Invalid login"_s); },
         ExitStatus::LoginRefused, u"account \"demo\""_s},
        {"no Conf.ini", [this] { QFile::remove(dir.filePath(u"Conf.ini"_s)); },
         ExitStatus::SettingsUnreadable, u"Conf.ini; run quorvex"_s},
        {"no host", [this] { dir.writeBytes(u"Account.ini"_s, "demo\r\npw\r\n"); },
         ExitStatus::SettingsUnreadable, u"Account.ini; run quorvex"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        journal.clear();
        ended.reset();
        start();
        row.fault();
        updater->reload();
        ASSERT_EQ(ended, row.status);
        EXPECT_EQ(count(row.logged), 1);
    }
}

TEST_F(HeadlessUpdaterTest, AFailedVersionPageIsAskedForAgainInsteadOfEnding)
{
    QFile::remove(dir.filePath(u"Update.ini"_s));
    start();
    ScriptedPageRequester& wb = *wbs[u"wb_updates"_s];
    wb.completeWith(u"<html>sign in to the hotel network</html>"_s);
    wb.clearNavigations();
    fire(updater->versionRetry().timer());
    wb.completeWith(u"still no answer"_s, Outcome::Failed);
    EXPECT_EQ(count(u"Error checking for updates. Please ensure you are online."_s), 1);
    EXPECT_EQ(wb.navigations().size(), 1);
    EXPECT_FALSE(ended);
    fire(updater->versionRetry().timer());
    wb.completeWith(u"url=http://127.0.0.1:8780/dyn/update\r\nversion=1.3"_s);
    EXPECT_EQ(count(u"Version check answered again."_s), 1);
    EXPECT_TRUE(wbs[u"wb_account"_s]->hasPending()) << "the loaded settings go on to the validation";
}

TEST_F(HeadlessUpdaterTest, AReloadForcesAnUpdateAfterTheLookupOnlyWhenTheHostsChanged)
{
    startToForcedUpdate();
    wbs[u"wb_setip"_s]->completeWith(u"0=www.example.com"_s);
    updater->reload();
    EXPECT_FALSE(updater->forcedAfterLookup().isActive());
    dir.writeBytes(u"Account.ini"_s, "demo\r\np%w\r\nnas.example.com\r\n");
    updater->reload();
    ASSERT_TRUE(updater->forcedAfterLookup().isActive());
    EXPECT_EQ(updater->forcedAfterLookup().interval(), 24000);
    fire(updater->forcedAfterLookup());
    EXPECT_TRUE(wbs[u"wb_setip"_s]->lastNavigation().contains(u"host=nas.example.com&"_s));
}

TEST(SignalPipeTest, TermAndIntStopHupReloadsOnTheEventLoop)
{
    SignalPipe pipe;
    ASSERT_TRUE(pipe.isValid());
    QSignalSpy stops(&pipe, &SignalPipe::stopRequested);
    QSignalSpy reloads(&pipe, &SignalPipe::reloadRequested);
    ASSERT_EQ(::raise(SIGHUP), 0);
    ASSERT_EQ(::raise(SIGTERM), 0);
    ASSERT_EQ(::raise(SIGINT), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return stops.size() == 2 && reloads.size() == 1; }, 2000));
}

} // namespace
