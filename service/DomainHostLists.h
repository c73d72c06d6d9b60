#pragma once

#include "PageRequester.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class Clock;
class Desktop;
class EventLog;
class HostChecklist;
class MainForm;
class ServiceUrls;
class SettingsModel;
class UpdateExchange;
class WizardHostStep;

// Lists the account's domains, then the hosts of one domain after another, into the main
// window's checklist and, while the setup wizard is open, into the wizard's as well. wb_domains
// carries the domain list and wb_hosts the host lists; lstDomain is the queue of domains still to
// ask for, item 0 being the one asked for now. Each answer is split into names by writing it to
// a temporary file in the application directory and reading it back field by field, as the
// settings files are read. When the last domain is in, the wizard may go on, or the main window's
// checklist gets the ticks of the account file back and, at start-up, the first forced update
// is sent. An answer of the wrong shape or a failing temporary file ends the program.
class DomainHostLists : public QObject
{
    Q_OBJECT

public:
    DomainHostLists(PageRequester& wb_domains, PageRequester& wb_hosts, SettingsModel& model, MainForm& form,
                    HostChecklist& checklist, WizardHostStep& wizard, UpdateExchange& updates, EventLog& log,
                    Desktop& desktop, const Clock& clock, const ServiceUrls& urls, QObject* parent = nullptr);

    // Asks for the domain list. The checklists keep what they show until the answer is in; a
    // chain still running is replaced by the new one when that answer arrives.
    void GetDomains();

    const QStringList& lstDomain() const { return m_lstDomain; }

signals:
    // The last domain's hosts are in and the end of the chain has run (not after a fatal message).
    void chainEnded();

private:
    void onDomainsComplete(const QString& url, const QString& text, PageRequester::Outcome outcome);
    void onHostsComplete(const QString& url, const QString& text, PageRequester::Outcome outcome);
    void askForFirstDomain();
    void nextDomain();
    void endOfChain();
    // false once the failure has been shown and the program asked to end.
    bool writeTemporary(const QString& canonicalName, const QString& answer);
    std::optional<QStringList> readTemporary(const QString& canonicalName, const QString& failure);
    void fail(const QString& message);

    PageRequester& m_domainsRequester;
    PageRequester& m_hostsRequester;
    SettingsModel& m_model;
    MainForm& m_form;
    HostChecklist& m_checklist;
    WizardHostStep& m_wizard;
    UpdateExchange& m_updates;
    EventLog& m_log;
    Desktop& m_desktop;
    const Clock& m_clock;
    const ServiceUrls& m_urls;
    QStringList m_lstDomain;
};
