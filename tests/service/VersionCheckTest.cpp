#include "VersionCheck.h"
#include "EventLog.h"
#include "ServiceUrls.h"
#include "SettingsModel.h"
#include "UpdateFile.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/ScriptedPageRequester.h"
#include "support/TemporaryAppDirectory.h"

#include <QDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString today = u"6 Dec 2026"_s;
const QString readFailed = u"Failed to read the update configuration file.\r\nPlease reinstall this application"_s;
const QString writeFailed = u"Failed to write the update configuration file.\r\n"
                            u"Please ensure you have permission to read and write to the application directory"_s;
const QString offline = u"Error checking for updates. Please ensure you are online."_s;

class VersionCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        model.ConfigPath = dir.path();
        model.Version = u"1.0"_s;
    }

    QString file(const QString& name) const { return QString::fromUtf8(dir.readBytes(name)); }
    QString entry(const QString& text) const { return clock.nowText() + text + u"\r\n"_s; }
    QString needsUpdatedLines(const QString& latest) const
    {
        return entry(u" - Quorvex IP Updater needs updated."_s) + entry(u" - Current Version: 1.0"_s) +
               entry(u" - Latest Version: "_s + latest);
    }

    // Ended with the critical box carrying this text, and nothing else happened.
    void expectFatal(const QString& text) const
    {
        ASSERT_EQ(desktop.messages().size(), 1);
        EXPECT_EQ(desktop.lastMessage().title, u"Error"_s);
        EXPECT_EQ(desktop.lastMessage().text, text);
        EXPECT_EQ(desktop.lastMessage().icon, Desktop::Icon::Critical);
        EXPECT_EQ(desktop.lastMessage().buttons, Desktop::Buttons::Ok);
        EXPECT_EQ(desktop.endProgramCalls(), 1);
        EXPECT_EQ(reloads.count(), 0);
        EXPECT_FALSE(dir.exists(u"Update.ini"_s));
    }

    // Stands in for the main window's load sequence: reads the update file back and checks
    // again when it is missing or not from today.
    void reloadLikeTheMainWindow()
    {
        QObject::connect(&check, &VersionCheck::reloadRequested, &check, [this] {
            const auto saved = UpdateFile::read(model.ConfigPath);
            if (saved) {
                model.GatewayURL = saved->gatewayUrl;
                model.Version = saved->latestVersion;
                model.LastUpdate = saved->lastCheckDate;
            }
            if (!saved || model.LastUpdate != clock.todayText()) {
                check.requestVersionPage();
            }
        });
    }

    // Answers every check with the same page; returns how many checks there were.
    int roundsFor(const QString& page)
    {
        int rounds = 0;
        while (wb_updates.hasPending() && rounds < 5) {
            ++rounds;
            wb_updates.completeWith(page);
        }
        return rounds;
    }

    TemporaryAppDirectory dir;
    SettingsModel model;
    FakeClock clock;
    EventLog log{clock};
    FakeDesktop desktop;
    ScriptedPageRequester wb_updates;
    ServiceUrls urls{u"127.0.0.1:8780"_s};
    VersionCheck check{wb_updates, model, log, desktop, clock, urls};
    QSignalSpy reloads{&check, &VersionCheck::reloadRequested};
};

TEST_F(VersionCheckTest, Triggers)
{
    check.requestVersionPage();
    model.AskedNewVersion = true;
    check.CheckNow();
    EXPECT_FALSE(model.AskedNewVersion);
    EXPECT_EQ(wb_updates.navigations(),
              QStringList({u"http://127.0.0.1:8780/ipupdate/dyndata.txt"_s,
                           u"http://127.0.0.1:8780/ipupdate/dyndata.txt?unique=6%20Dec%202026%2019%3A22%3A10"_s}));
    check.openHomePage();
    EXPECT_EQ(desktop.openedUrls(), QStringList{u"http://127.0.0.1:8780/"_s});
}

TEST_F(VersionCheckTest, SameVersionIsRecordedWithoutOffer)
{
    for (const QString& page : {u"url=G\r\nversion=1.3"_s, u"url=G\r\nversion=1.3\r\n"_s}) {
        wb_updates.completeWith(page);
        EXPECT_EQ(file(u"Update.ini"_s), u"G\r\n1.3\r\n"_s + today + u"\r\n"_s);
        EXPECT_EQ(file(u"update.tmp"_s), file(u"Update.ini"_s));
    }
    EXPECT_EQ(model.GatewayURL, u"G"_s);
    EXPECT_EQ(model.LastUpdate, today);
    EXPECT_TRUE(desktop.messages().isEmpty());
    EXPECT_TRUE(log.text().isEmpty());
    EXPECT_EQ(reloads.count(), 2);
}

TEST_F(VersionCheckTest, DeclinedEarlierIsRecordedAndLogged)
{
    model.AskedNewVersion = true;
    wb_updates.completeWith(u"url=G\r\nversion=1.4\r\n"_s);
    EXPECT_TRUE(desktop.messages().isEmpty());
    EXPECT_EQ(file(u"Update.ini"_s), u"G\r\n1.4\r\n"_s + today + u"\r\n"_s);
    EXPECT_EQ(log.text(), needsUpdatedLines(u"1.4"_s));
    EXPECT_EQ(reloads.count(), 1);
}

TEST_F(VersionCheckTest, OfferDeclinedKeepsTheUpdateFile)
{
    const QByteArray old = "http://old/gw\r\n1.0\r\n1 Jan 2026\r\n";
    dir.writeBytes(u"Update.ini"_s, old);
    // Any difference counts, an older version as much as a newer one.
    for (const QString& latest : {u"1.4"_s, u"1.2"_s}) {
        desktop.clear();
        model.AskedNewVersion = false;
        desktop.queueAnswer(Desktop::Answer::No);
        const qsizetype before = log.text().size();
        wb_updates.completeWith(u"url=G\r\nversion="_s + latest + u"\r\n"_s);

        ASSERT_EQ(desktop.messages().size(), 1);
        const FakeDesktop::Message offer = desktop.lastMessage();
        EXPECT_EQ(offer.title, u"Update"_s);
        EXPECT_EQ(offer.text,
                  u"A new version "_s + latest + u" of this application is available\r\nDo you wish to download it"_s);
        EXPECT_EQ(offer.icon, Desktop::Icon::None);
        EXPECT_EQ(offer.buttons, Desktop::Buttons::YesNo);
        EXPECT_TRUE(model.AskedNewVersion);
        EXPECT_EQ(dir.readBytes(u"Update.ini"_s), old);
        EXPECT_EQ(log.text().mid(before), needsUpdatedLines(latest));
        EXPECT_EQ(desktop.endProgramCalls(), 0);
    }
    EXPECT_EQ(reloads.count(), 2);
}

TEST_F(VersionCheckTest, OfferAcceptedOpensTheDownloadAndEnds)
{
    desktop.queueAnswer(Desktop::Answer::Yes);
    wb_updates.completeWith(u"url=G\r\nversion=1.4\r\n"_s);
    EXPECT_EQ(desktop.openedUrls(), QStringList{u"http://127.0.0.1:8780/Direct.sv?cmd=ipClients"_s});
    EXPECT_EQ(desktop.endProgramCalls(), 1);
    EXPECT_FALSE(dir.exists(u"Update.ini"_s));
    EXPECT_TRUE(log.text().isEmpty());
    EXPECT_EQ(reloads.count(), 0);
}

TEST_F(VersionCheckTest, PageWithoutVersionLineCannotBeRead)
{
    wb_updates.completeWith(u"url=G"_s);
    expectFatal(readFailed);
}

TEST_F(VersionCheckTest, PageNotBeginningWithUrlIsRejected)
{
    wb_updates.completeWith(u"version=1.3\r\nurl=G"_s);
    expectFatal(offline);
    EXPECT_FALSE(dir.exists(u"update.tmp"_s));
}

TEST_F(VersionCheckTest, UnwritableFilesEndTheProgram)
{
    model.ConfigPath = dir.filePath(u"missing"_s) + QDir::separator();
    wb_updates.completeWith(u"url=G\r\nversion=1.3\r\n"_s);
    expectFatal(writeFailed);

    desktop.clear();
    model.ConfigPath = dir.path();
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"Update.ini"_s));
    wb_updates.completeWith(u"url=G\r\nversion=1.3\r\n"_s);
    ASSERT_EQ(desktop.messages().size(), 1);
    EXPECT_EQ(desktop.lastMessage().text, writeFailed);
    EXPECT_EQ(desktop.endProgramCalls(), 1);
    EXPECT_EQ(reloads.count(), 0);
}

TEST_F(VersionCheckTest, CommaCutsTheGatewayUrl)
{
    model.AskedNewVersion = true;
    wb_updates.completeWith(u"url=http://gw.example/update,x\r\nversion=1.3\r\n"_s);
    EXPECT_EQ(model.GatewayURL, u"http://gw.example/update"_s);
    // The rest of the line is taken as the version.
    EXPECT_TRUE(log.text().endsWith(entry(u" - Latest Version: x"_s)));
}

TEST_F(VersionCheckTest, CheckNowOffersAgainAfterDecline)
{
    desktop.queueAnswer(Desktop::Answer::No);
    wb_updates.completeWith(u"url=G\r\nversion=1.4\r\n"_s);
    ASSERT_TRUE(model.AskedNewVersion);
    check.CheckNow();
    desktop.queueAnswer(Desktop::Answer::No);
    wb_updates.completeWith(u"url=G\r\nversion=1.4\r\n"_s);
    EXPECT_EQ(desktop.messages().size(), 2);
    EXPECT_EQ(desktop.pendingAnswers(), 0);
}

TEST_F(VersionCheckTest, BlankPageIsIgnored)
{
    wb_updates.completeBlank();
    EXPECT_TRUE(desktop.messages().isEmpty());
    EXPECT_EQ(desktop.endProgramCalls(), 0);
    EXPECT_TRUE(dir.fileNames().isEmpty());
    EXPECT_EQ(reloads.count(), 0);
}

TEST_F(VersionCheckTest, ReloadsCheckTwiceAtMost)
{
    reloadLikeTheMainWindow();

    // Same version, page ending in a line break: the date is read back, so no second check.
    check.requestVersionPage();
    EXPECT_EQ(roundsFor(u"url=G\r\nversion=1.3\r\n"_s), 1);
    EXPECT_EQ(model.LastUpdate, today);

    // A declined offer leaves the file missing, so the reload checks once more, offering nothing.
    ASSERT_TRUE(QFile::remove(dir.filePath(u"Update.ini"_s)));
    desktop.queueAnswer(Desktop::Answer::No);
    check.requestVersionPage();
    EXPECT_EQ(roundsFor(u"url=G\r\nversion=1.4\r\n"_s), 2);
    EXPECT_EQ(desktop.messages().size(), 1);
    EXPECT_EQ(model.Version, u"1.4"_s);

    // Likewise with an old date in the file.
    dir.writeBytes(u"Update.ini"_s, "G\r\n1.0\r\n0\r\n");
    model.AskedNewVersion = false;
    desktop.queueAnswer(Desktop::Answer::No);
    check.requestVersionPage();
    EXPECT_EQ(roundsFor(u"url=G\r\nversion=1.4\r\n"_s), 2);
    EXPECT_EQ(desktop.messages().size(), 2);
    EXPECT_EQ(file(u"Update.ini"_s), u"G\r\n1.4\r\n"_s + today + u"\r\n"_s);
}

} // namespace
