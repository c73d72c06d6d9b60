#include "DomainHostLists.h"
#include "EventLog.h"
#include "FuzzCheck.h"
#include "FuzzDesktop.h"
#include "FuzzWizard.h"
#include "ServiceUrls.h"
#include "SettingsModel.h"
#include "UpdateExchange.h"
#include "support/FakeClock.h"
#include "support/FakeHostChecklist.h"
#include "support/FakeMainForm.h"
#include "support/ScriptedPageRequester.h"

#include <QFile>

#include <cstddef>
#include <cstdint>

// The domain and host lists fed any answers: the first piece of the input answers the domains
// request, the next ones the host requests in turn. Whatever comes, the chain asks for the hosts
// of exactly the domains it shows, shows no empty or split host name, ends the program only with
// one of its two list messages, never touches a settings file, and at its end either lets the
// wizard on or sends the start-up update once.

namespace {

const QString domainsError = QStringLiteral("There was an error retrieving the domains associated with your "
                                            "account.\r\nPlease ensure you are online.");
const QString hostsError = QStringLiteral("There was an error retrieving the hosts associated with the domains "
                                          "associated with your account.\r\nPlease ensure you are online.");

const char* const settingsFiles[] = {"Conf.ini", "Account.ini", "Update.ini"};

QStringList headings(const QStringList& rows)
{
    QStringList result;
    for (const QString& row : rows) {
        if (row.startsWith(QStringLiteral("domain:"))) {
            result.append(row.mid(7));
        }
    }
    return result;
}

void checkHosts(const QStringList& rows, bool quoted)
{
    for (const QString& row : rows) {
        if (!row.startsWith(QStringLiteral("host:"))) {
            continue;
        }
        const QString host = row.mid(5);
        FuzzCheck::require(!host.isEmpty(), "no empty host is listed");
        // Every space became a line end before the names were read; a quoted name may span one.
        FuzzCheck::require(!host.contains(u' '), "a listed host holds no space", host);
        FuzzCheck::require(quoted || (!host.contains(u'\r') && !host.contains(u'\n')), "only a quoted host spans lines",
                           host);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const bool wizardOpen = (data[0] & 1) != 0;
    const bool startUp = (data[0] & 2) != 0;
    const QStringList pages = FuzzCheck::pieces(data + 1, size - 1, 40);

    const QString dir = FuzzCheck::scratchDirectory();
    FuzzCheck::writeFile(dir + QStringLiteral("Conf.ini"), "0\r\n5\r\n 0 \r\n 1 \r\n0\r\n127.0.0.1:8780/echo1\r\n");
    FuzzCheck::writeFile(dir + QStringLiteral("Account.ini"), "demo\r\ndemo123\r\nwww.example.com\r\nb\r\n");
    FuzzCheck::writeFile(dir + QStringLiteral("Update.ini"), "http://127.0.0.1:8780/dyn/update\r\n1.3\r\n12/6/26\r\n");
    QFile::remove(dir + QStringLiteral("domains.tmp"));
    QFile::remove(dir + QStringLiteral("hosts.tmp"));
    QByteArray before[std::size(settingsFiles)];
    for (std::size_t i = 0; i < std::size(settingsFiles); ++i) {
        before[i] = FuzzCheck::readFile(dir + QString::fromLatin1(settingsFiles[i]));
    }

    FakeClock clock;
    FuzzDesktop desktop;
    EventLog log(clock);
    SettingsModel model;
    model.ConfigPath = dir;
    model.StartUp = startUp ? 1 : 0;
    model.GatewayURL = QStringLiteral("http://127.0.0.1:8780/dyn/update");
    FakeMainForm form;
    form.user = QStringLiteral("demo");
    form.pass = QStringLiteral("demo123");
    form.remote = QStringLiteral("198.51.100.9");
    ScriptedPageRequester wbDomains;
    ScriptedPageRequester wbHosts;
    ScriptedPageRequester wbSetip;
    FakeHostChecklist checklist;
    FuzzWizard wizard(wizardOpen);
    UpdateExchange updates(wbSetip, model, form, log, clock);
    const ServiceUrls urls(QStringLiteral("127.0.0.1:8780"));
    DomainHostLists lists(wbDomains, wbHosts, model, form, checklist, wizard, updates, log, desktop, clock, urls);
    int chainsEnded = 0;
    QObject::connect(&lists, &DomainHostLists::chainEnded, &lists, [&chainsEnded] { ++chainsEnded; });

    lists.GetDomains();
    FuzzCheck::require(wbDomains.lastNavigation() == urls.domains(form.user, clock.nowText()),
                       "the domains are asked for");
    wbDomains.completeWith(pages.at(0));
    for (qsizetype i = 1; i < pages.size() && wbHosts.hasPending() && !desktop.hasEnded(); ++i) {
        wbHosts.completeWith(pages.at(i));
    }

    for (std::size_t i = 0; i < std::size(settingsFiles); ++i) {
        FuzzCheck::require(FuzzCheck::readFile(dir + QString::fromLatin1(settingsFiles[i])) == before[i],
                           "no settings file changes", QString::fromLatin1(settingsFiles[i]));
    }
    if (desktop.hasEnded()) {
        FuzzCheck::require(desktop.messages().size() == 1 && desktop.endProgramCalls() == 1,
                           "the program ends after one message");
        const FuzzDesktop::Message& message = desktop.messages().constFirst();
        FuzzCheck::require(message.title == QStringLiteral("Error") && message.icon == Desktop::Icon::Critical &&
                               (message.text == domainsError || message.text == hostsError),
                           "the program ends only with a list message", message.text);
        FuzzCheck::require(!wbHosts.hasPending() && wbSetip.navigations().isEmpty(),
                           "nothing is asked for after the end");
        FuzzCheck::require(chainsEnded == 0, "a failed chain does not end as a finished one");
    } else {
        FuzzCheck::require(desktop.messages().isEmpty(), "no message without an end");
    }

    // One host request per domain heading, for exactly that domain, in order.
    const QStringList shown = headings(checklist.rows());
    QStringList asked;
    for (const QString& url : wbHosts.navigations()) {
        asked.append(url);
    }
    FuzzCheck::require(asked.size() == shown.size(), "one host request per domain shown",
                       shown.join(u'|') + u" / " + asked.join(u'|'));
    for (qsizetype i = 0; i < shown.size(); ++i) {
        FuzzCheck::require(asked.at(i) == urls.hosts(form.user, shown.at(i), clock.nowText()),
                           "each host request names its domain", shown.at(i));
    }
    checkHosts(checklist.rows(), pages.join(QString()).contains(u'"'));
    if (wizardOpen) {
        FuzzCheck::require(wizard.list().rows() == checklist.rows(), "the wizard lists what the main window lists");
    } else {
        FuzzCheck::require(wizard.list().rows().isEmpty(), "a closed wizard is left alone");
    }

    FuzzCheck::require(chainsEnded <= 1, "a chain ends once");
    if (chainsEnded == 1) {
        FuzzCheck::require(!wbHosts.hasPending(), "an ended chain asks for nothing more");
        if (wizardOpen) {
            FuzzCheck::require(wizard.nextEnabled() == 1 && wbSetip.navigations().isEmpty(),
                               "the wizard goes on, no update is sent");
        } else {
            FuzzCheck::require(lists.lstDomain().isEmpty(), "the queue is empty at the end");
            FuzzCheck::require(wbSetip.navigations().size() == (startUp ? 1 : 0),
                               "the start-up update is sent once, a refresh sends none");
            FuzzCheck::require(model.StartUp == 0, "the start-up update is not sent twice");
        }
    }
    return 0;
}
