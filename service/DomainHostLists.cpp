#include "DomainHostLists.h"

#include "AccountFile.h"
#include "Clock.h"
#include "Desktop.h"
#include "EventLog.h"
#include "FieldReader.h"
#include "HostChecklist.h"
#include "MainForm.h"
#include "ServiceUrls.h"
#include "SettingsFileName.h"
#include "SettingsModel.h"
#include "TextFile.h"
#include "UpdateExchange.h"
#include "WizardHostStep.h"

using namespace Qt::StringLiterals;

namespace {

const QString domainsFile = u"domains.tmp"_s;
const QString hostsFile = u"hosts.tmp"_s;

const QString crlf = u"\r\n"_s;
const QString permissionHint = u"Please ensure you have permission to the application directory"_s;

QString domainsError()
{
    return u"There was an error retrieving the domains associated with your account."_s + crlf +
           u"Please ensure you are online."_s;
}

QString hostsError()
{
    return u"There was an error retrieving the hosts associated with the domains associated with your account."_s +
           crlf + u"Please ensure you are online."_s;
}

QString writeFailure()
{
    return u"Failed to write temporary file to the application directory"_s + crlf + permissionHint;
}

// The two read failures differ in one word ("from" after the domains, "to" after the hosts);
// users and support scripts know them as they are.
QString domainsReadFailure()
{
    return u"Failed to read temporary file from the application directory"_s + crlf + permissionHint;
}

QString hostsReadFailure()
{
    return u"Failed to read temporary file to the application directory"_s + crlf + permissionHint;
}

QString accountReadFailure()
{
    return u"Failed to read account configuration file from the application directory"_s + crlf + permissionHint;
}

// Every "0=" goes, the leading status and any inside a name alike; each space becomes a line end,
// so the file holds one name a line.
QString cleaned(const QString& answer)
{
    QString text = answer;
    text.remove(u"0="_s);
    text.replace(u" "_s, crlf);
    return text;
}

} // namespace

DomainHostLists::DomainHostLists(PageRequester& wb_domains, PageRequester& wb_hosts, SettingsModel& model,
                                 MainForm& form, HostChecklist& checklist, WizardHostStep& wizard,
                                 UpdateExchange& updates, EventLog& log, Desktop& desktop, const Clock& clock,
                                 const ServiceUrls& urls, QObject* parent)
    : QObject(parent), m_domainsRequester(wb_domains), m_hostsRequester(wb_hosts), m_model(model), m_form(form),
      m_checklist(checklist), m_wizard(wizard), m_updates(updates), m_log(log), m_desktop(desktop), m_clock(clock),
      m_urls(urls)
{
    connect(&m_domainsRequester, &PageRequester::DocumentComplete, this, &DomainHostLists::onDomainsComplete);
    connect(&m_hostsRequester, &PageRequester::DocumentComplete, this, &DomainHostLists::onHostsComplete);
}

void DomainHostLists::GetDomains()
{
    m_domainsRequester.Navigate(m_urls.domains(m_form.userName(), m_clock.NowText()));
}

void DomainHostLists::onDomainsComplete(const QString& /*url*/, const QString& text, PageRequester::Outcome /*outcome*/)
{
    if (text.isEmpty()) {
        return;
    }
    // Not an error: the lists keep what they show, so a refresh does not empty them.
    if (text.startsWith(u"1=no domains"_s)) {
        return;
    }
    if (!text.startsWith(u"0="_s)) {
        fail(domainsError());
        return;
    }
    if (!writeTemporary(domainsFile, cleaned(text))) {
        return;
    }

    m_checklist.Clear();
    if (m_wizard.isOpen()) {
        m_wizard.checklist().Clear();
    }
    const auto items = readTemporary(domainsFile, domainsReadFailure());
    if (!items) {
        return;
    }
    // The queue is replaced whole. Empty items stay: two blanks in a row queue a domain with an
    // empty name, asked for like any other.
    m_lstDomain = *items;
    // The file always holds at least a line end, so this is the read-back going wrong.
    if (m_lstDomain.isEmpty()) {
        fail(domainsReadFailure());
        return;
    }
    askForFirstDomain();
}

void DomainHostLists::onHostsComplete(const QString& /*url*/, const QString& text, PageRequester::Outcome /*outcome*/)
{
    // With an empty queue no chain waits for this page (only a requester driven from elsewhere
    // could deliver one).
    if (text.isEmpty() || m_lstDomain.isEmpty()) {
        return;
    }
    if (text.startsWith(u"0="_s)) {
        m_log.appendMessage(u"Retrieved domain list."_s);
        m_log.appendCopy(text + crlf);
        if (!writeTemporary(hostsFile, cleaned(text))) {
            return;
        }
        const auto items = readTemporary(hostsFile, hostsReadFailure());
        if (!items) {
            return;
        }
        for (const QString& host : *items) {
            if (host.isEmpty()) {
                continue;
            }
            if (m_wizard.isOpen()) {
                m_wizard.checklist().AddHost(host);
            }
            m_checklist.AddHost(host);
        }
        nextDomain();
        return;
    }
    if (text.contains(u"1=no hosts/subdomain"_s)) {
        nextDomain();
        return;
    }
    fail(hostsError());
}

void DomainHostLists::askForFirstDomain()
{
    const QString domain = m_lstDomain.constFirst();
    m_checklist.AddDomain(domain);
    if (m_wizard.isOpen()) {
        m_wizard.checklist().AddDomain(domain);
    }
    m_hostsRequester.Navigate(m_urls.hosts(m_form.userName(), domain, m_clock.NowText()));
}

void DomainHostLists::nextDomain()
{
    m_lstDomain.removeFirst();
    if (!m_lstDomain.isEmpty()) {
        askForFirstDomain();
        return;
    }
    endOfChain();
}

void DomainHostLists::endOfChain()
{
    if (m_wizard.isOpen()) {
        m_wizard.enableNext();
        emit chainEnded();
        return;
    }

    m_lstDomain.clear();
    // The ticks come from the file, not from the checklist as it was: ticks not yet applied are
    // lost on a refresh.
    const auto items = AccountFile::readItems(m_model.ConfigPath);
    // The name and the password come first; a file without both cannot be the account's.
    if (!items || items->size() < 2) {
        fail(accountReadFailure());
        return;
    }
    for (qsizetype i = 2; i < items->size(); ++i) {
        m_checklist.Selected(items->at(i), true);
    }

    if (m_model.StartUp == 1) {
        m_form.setLastText(u"Updating ..."_s);
        m_model.Force = 1;
        m_updates.UpdateIP();
        m_model.StartUp = 0;
    }
    emit chainEnded();
}

bool DomainHostLists::writeTemporary(const QString& canonicalName, const QString& answer)
{
    const QString path = SettingsFileName::resolve(m_model.ConfigPath, canonicalName);
    if (!TextFile::writeWhole(path, answer + crlf)) {
        fail(writeFailure());
        return false;
    }
    return true;
}

std::optional<QStringList> DomainHostLists::readTemporary(const QString& canonicalName, const QString& failure)
{
    const auto content = TextFile::read(SettingsFileName::resolve(m_model.ConfigPath, canonicalName));
    if (!content) {
        fail(failure);
        return std::nullopt;
    }
    return FieldReader(*content).readRemainingTexts();
}

void DomainHostLists::fail(const QString& message)
{
    m_desktop.message(u"Error"_s, message, Desktop::Icon::Critical, Desktop::Buttons::Ok);
    m_desktop.endProgram(Desktop::Ending::Failure);
}
