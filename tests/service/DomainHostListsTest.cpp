#include "DomainHostLists.h"
#include "AccountFile.h"
#include "EventLog.h"
#include "ServiceUrls.h"
#include "SettingsModel.h"
#include "UpdateExchange.h"
#include "WizardHostStep.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/FakeHostChecklist.h"
#include "support/FakeMainForm.h"
#include "support/ScriptedPageRequester.h"
#include "support/TemporaryAppDirectory.h"

#include <QDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString root = u"http://127.0.0.1:8780"_s;
const QString stampInUrl = u"6%20Dec%202026%2019%3A22%3A10"_s;
const QString permissionHint = u"\r\nPlease ensure you have permission to the application directory"_s;
const QString domainsError = u"There was an error retrieving the domains associated with your account.\r\n"
                             u"Please ensure you are online."_s;
const QString hostsError = u"There was an error retrieving the hosts associated with the domains associated with "
                           u"your account.\r\nPlease ensure you are online."_s;
QString writeFailure()
{
    return u"Failed to write temporary file to the application directory"_s + permissionHint;
}

QString accountFailure()
{
    return u"Failed to read account configuration file from the application directory"_s + permissionHint;
}

QString hostsUrl(const QString& domainInUrl)
{
    return root + u"/ipupdate/hosts.jsp?login=alice&domain="_s + domainInUrl + u"&unique="_s + stampInUrl;
}

class FakeWizard : public WizardHostStep
{
public:
    bool isOpen() const override { return open; }
    HostChecklist& checklist() override { return list; }
    void enableNext() override { ++nextEnabled; }

    bool open = false;
    FakeHostChecklist list;
    int nextEnabled = 0;
};

class DomainHostListsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        model.ConfigPath = dir.path();
        model.GatewayURL = root + u"/gateway"_s;
        form.user = u"alice"_s;
        form.pass = u"pw"_s;
        form.remote = u"198.51.100.9"_s;
        ASSERT_TRUE(AccountFile::write(dir.path(), u"alice"_s, u"pw"_s, {u"mail"_s, u"ftp"_s}));
    }

    // Runs a whole chain: the domains answer, then one hosts answer per domain asked for.
    void runChain(const QString& domains, const QStringList& hostAnswers)
    {
        lists.GetDomains();
        wb_domains.completeWith(domains);
        for (const QString& answer : hostAnswers) {
            ASSERT_TRUE(wb_hosts.hasPending()) << answer.toStdString();
            wb_hosts.completeWith(answer);
        }
        EXPECT_FALSE(wb_hosts.hasPending());
    }

    QString line(const QString& message) const { return clock.nowText() + u" - "_s + message + u"\r\n"_s; }
    QString file(const QString& name) const { return QString::fromUtf8(dir.readBytes(name)); }

    void expectFatal(const QString& text) const
    {
        ASSERT_EQ(desktop.messages().size(), 1);
        EXPECT_EQ(desktop.lastMessage().title, u"Error"_s);
        EXPECT_EQ(desktop.lastMessage().text, text);
        EXPECT_EQ(desktop.lastMessage().icon, Desktop::Icon::Critical);
        EXPECT_EQ(desktop.lastMessage().buttons, Desktop::Buttons::Ok);
        EXPECT_EQ(desktop.endProgramCalls(), 1);
        EXPECT_EQ(ended.count(), 0);
    }

    TemporaryAppDirectory dir;
    SettingsModel model;
    FakeMainForm form;
    FakeClock clock;
    EventLog log{clock};
    FakeDesktop desktop;
    FakeHostChecklist checklist;
    FakeWizard wizard;
    ServiceUrls urls{u"127.0.0.1:8780"_s};
    ScriptedPageRequester wb_domains;
    ScriptedPageRequester wb_hosts;
    ScriptedPageRequester wb_setip;
    UpdateExchange updates{wb_setip, model, form, log, clock};
    DomainHostLists lists{wb_domains, wb_hosts, model, form, checklist, wizard, updates, log, desktop, clock, urls};
    QSignalSpy ended{&lists, &DomainHostLists::chainEnded};
};

TEST_F(DomainHostListsTest, DomainsInOrderWithTheirHosts)
{
    lists.GetDomains();
    EXPECT_EQ(wb_domains.navigations(),
              QStringList{root + u"/ipupdate/domains.jsp?login=alice&unique="_s + stampInUrl});
    // Nothing is cleared before the answer is in.
    EXPECT_EQ(checklist.clearCalls(), 0);
    wb_domains.completeBlank();
    EXPECT_FALSE(wb_hosts.hasPending());

    wb_domains.completeWith(u"0=alpha beta"_s);
    EXPECT_EQ(file(u"domains.tmp"_s), u"alpha\r\nbeta\r\n"_s);
    EXPECT_EQ(lists.lstDomain(), QStringList({u"alpha"_s, u"beta"_s}));
    EXPECT_EQ(checklist.rows(), QStringList{u"domain:alpha"_s});
    EXPECT_EQ(wb_hosts.navigations(), QStringList{hostsUrl(u"alpha"_s)});

    wb_hosts.completeBlank();
    EXPECT_EQ(lists.lstDomain().size(), 2);
    wb_hosts.completeWith(u"0=www mail"_s);
    EXPECT_EQ(checklist.rows(), QStringList({u"domain:alpha"_s, u"host:www"_s, u"host:mail"_s, u"domain:beta"_s}));
    EXPECT_EQ(lists.lstDomain(), QStringList{u"beta"_s});
    EXPECT_EQ(wb_hosts.lastNavigation(), hostsUrl(u"beta"_s));

    wb_hosts.completeWith(u"0=ftp"_s);
    EXPECT_EQ(file(u"hosts.tmp"_s), u"ftp\r\n"_s);
    EXPECT_EQ(checklist.rows().size(), 5);
    EXPECT_EQ(checklist.List(3), u"ftp"_s);
    EXPECT_EQ(wb_hosts.navigations().size(), 2);
    EXPECT_EQ(wb_domains.navigations().size(), 1);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(lists.lstDomain().isEmpty());

    // One "Retrieved" line and one copy of the answer as received per domain with hosts.
    EXPECT_EQ(log.text(), line(u"Retrieved domain list."_s) + u"\t>> 0=www mail\r\n"_s +
                              line(u"Retrieved domain list."_s) + u"\t>> 0=ftp\r\n"_s);
    EXPECT_TRUE(desktop.messages().isEmpty());
}

TEST_F(DomainHostListsTest, EmptyNamesAndNamesHoldingTheStatus)
{
    // Two blanks queue an empty domain, asked for with an empty value; empty hosts never show.
    runChain(u"0=alpha  b0=eta"_s, {u"0=www  mail "_s, u"1=no hosts/subdomain"_s, u"0=f0=tp\r\nw0=w"_s});
    EXPECT_EQ(wb_hosts.navigations(), QStringList({hostsUrl(u"alpha"_s), hostsUrl(QString()), hostsUrl(u"beta"_s)}));
    EXPECT_EQ(checklist.rows(), QStringList({u"domain:alpha"_s, u"host:www"_s, u"host:mail"_s, u"domain:"_s,
                                             u"domain:beta"_s, u"host:ftp"_s, u"host:ww"_s}));
    EXPECT_EQ(checklist.ListCount(), 5);
    // The copy in the log is the answer before cleaning.
    EXPECT_TRUE(log.text().endsWith(u"\t>> 0=f0=tp\r\nw0=w\r\n"_s));
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(DomainHostListsTest, NoDomainsLeavesTheListsAlone)
{
    runChain(u"0=alpha"_s, {u"0=www"_s});
    const QStringList before = checklist.rows();
    const QString logBefore = log.text();
    wb_hosts.clearNavigations();

    lists.GetDomains();
    wb_domains.completeWith(u"1=no domains"_s);
    EXPECT_EQ(checklist.rows(), before);
    EXPECT_EQ(checklist.clearCalls(), 1);
    EXPECT_TRUE(wb_hosts.navigations().isEmpty());
    EXPECT_EQ(log.text(), logBefore);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(desktop.messages().isEmpty());
}

TEST_F(DomainHostListsTest, EndOfChainInTheMainWindow)
{
    form.last = u"Not Updated"_s;
    model.StartUp = 1;
    // The last domain without hosts ends the chain as well as a list would.
    runChain(u"0=alpha beta"_s, {u"0=www mail ftp mail"_s, u"1=no hosts/subdomain"_s});
    EXPECT_EQ(checklist.selectedHosts(), QStringList({u"mail"_s, u"ftp"_s, u"mail"_s}));
    EXPECT_EQ(form.last, u"Updating ..."_s);
    ASSERT_EQ(wb_setip.navigations().size(), 1);
    EXPECT_TRUE(wb_setip.lastNavigation().contains(u"&force=Y&host=mail;ftp&"_s))
        << wb_setip.lastNavigation().toStdString();
    EXPECT_EQ(model.StartUp, 0);
    EXPECT_EQ(model.Force, 0);
    EXPECT_EQ(ended.count(), 1);

    // A refresh: the ticks come from the file again, ticks not applied are lost, and no update goes out.
    checklist.Selected(u"www"_s, true);
    checklist.Selected(u"mail"_s, false);
    // The password is no host even when it reads like one.
    ASSERT_TRUE(AccountFile::write(dir.path(), u"alice"_s, u"mail"_s, {u"www"_s, u"host"_s}));
    runChain(u"0=alpha"_s, {u"0=www mail"_s});
    EXPECT_EQ(checklist.selectedHosts(), QStringList({u"host"_s, u"www"_s}));
    EXPECT_EQ(checklist.SelCount(), 2);
    EXPECT_EQ(wb_setip.navigations().size(), 1);
    EXPECT_EQ(model.Force, 0);
    EXPECT_TRUE(wizard.list.rows().isEmpty());
    EXPECT_EQ(wizard.nextEnabled, 0);
    EXPECT_EQ(ended.count(), 2);
}

TEST_F(DomainHostListsTest, WizardFillsBothListsAndWaitsForNext)
{
    wizard.open = true;
    model.StartUp = 1;
    ASSERT_TRUE(QFile::remove(dir.filePath(u"Account.ini"_s)));
    wizard.list.AddDomain(u"old"_s);
    runChain(u"0=alpha beta"_s, {u"0=www"_s, u"1=no hosts/subdomain"_s});
    const QStringList rows{u"domain:alpha"_s, u"host:www"_s, u"domain:beta"_s};
    EXPECT_EQ(wizard.list.rows(), rows);
    EXPECT_EQ(checklist.rows(), rows);
    EXPECT_EQ(wizard.list.clearCalls(), 1);
    EXPECT_EQ(wizard.nextEnabled, 1);
    // No account file is needed and no update is sent while the wizard is open.
    EXPECT_TRUE(desktop.messages().isEmpty());
    EXPECT_TRUE(wb_setip.navigations().isEmpty());
    EXPECT_EQ(model.StartUp, 1);

    // Whether the wizard is open is asked at each step: closed before the last answer, the
    // main window's end runs.
    ASSERT_TRUE(AccountFile::write(dir.path(), u"alice"_s, u"pw"_s, {u"www"_s}));
    lists.GetDomains();
    wb_domains.completeWith(u"0=alpha beta"_s);
    wb_hosts.completeWith(u"0=www"_s);
    wizard.open = false;
    wb_hosts.completeWith(u"0=ftp"_s);
    EXPECT_EQ(wizard.list.rows(), QStringList({u"domain:alpha"_s, u"host:www"_s, u"domain:beta"_s}));
    EXPECT_EQ(checklist.rows().constLast(), u"host:ftp"_s);
    EXPECT_EQ(wizard.nextEnabled, 1);
    EXPECT_EQ(checklist.selectedHosts(), QStringList{u"www"_s});
    EXPECT_EQ(wb_setip.navigations().size(), 1);
}

TEST_F(DomainHostListsTest, NewRequestReplacesARunningChain)
{
    lists.GetDomains();
    wb_domains.completeWith(u"0=alpha beta"_s);
    lists.GetDomains();
    wb_domains.completeWith(u"0=gamma"_s);
    EXPECT_EQ(lists.lstDomain(), QStringList{u"gamma"_s});
    EXPECT_EQ(checklist.rows(), QStringList{u"domain:gamma"_s});
    EXPECT_EQ(wb_hosts.lastNavigation(), hostsUrl(u"gamma"_s));
    wb_hosts.completeWith(u"0=www"_s);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(wb_hosts.navigations().size(), 2);
}

TEST_F(DomainHostListsTest, WrongAnswersEndTheProgram)
{
    checklist.AddDomain(u"shown"_s);
    lists.GetDomains();
    // An error page, and an answer whose "1=no domains" is not at its start.
    wb_domains.completeWith(u"Error 500 1=no domains"_s);
    expectFatal(domainsError);
    EXPECT_FALSE(wb_hosts.hasPending());
    EXPECT_EQ(checklist.rows(), QStringList{u"domain:shown"_s});

    desktop.clear();
    lists.GetDomains();
    wb_domains.completeWith(u"0=alpha beta"_s);
    wb_hosts.completeWith(u"2=Invalid login 0=www"_s);
    expectFatal(hostsError);
    EXPECT_EQ(wb_hosts.navigations().size(), 1);
    EXPECT_TRUE(log.text().isEmpty());
}

TEST_F(DomainHostListsTest, FileFailuresEndTheProgram)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"domains.tmp"_s));
    checklist.AddDomain(u"shown"_s);
    lists.GetDomains();
    wb_domains.completeWith(u"0=alpha"_s);
    expectFatal(writeFailure());
    EXPECT_EQ(checklist.rows(), QStringList{u"domain:shown"_s});
    EXPECT_FALSE(wb_hosts.hasPending());

    desktop.clear();
    ASSERT_TRUE(QDir(dir.path()).rmdir(u"domains.tmp"_s));
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"hosts.tmp"_s));
    lists.GetDomains();
    wb_domains.completeWith(u"0=alpha beta"_s);
    wb_hosts.completeWith(u"0=www"_s);
    expectFatal(writeFailure());
    EXPECT_EQ(wb_hosts.navigations().size(), 1);
    EXPECT_EQ(checklist.rows(), QStringList{u"domain:alpha"_s});

    // The account file is read at the end in the main window: missing, or without name and password.
    desktop.clear();
    ASSERT_TRUE(QDir(dir.path()).rmdir(u"hosts.tmp"_s));
    ASSERT_TRUE(QFile::remove(dir.filePath(u"Account.ini"_s)));
    model.StartUp = 1;
    runChain(u"0=alpha"_s, {u"1=no hosts/subdomain"_s});
    expectFatal(accountFailure());
    desktop.clear();
    dir.writeBytes(u"Account.ini"_s, "alice\r\n");
    runChain(u"0=alpha"_s, {u"1=no hosts/subdomain"_s});
    expectFatal(accountFailure());
    EXPECT_TRUE(wb_setip.navigations().isEmpty());
    EXPECT_EQ(model.StartUp, 1);
}

} // namespace
