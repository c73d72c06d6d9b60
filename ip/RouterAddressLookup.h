#pragma once

#include "PageRequester.h"

#include <QObject>
#include <QString>
#include <QStringList>

class Clock;
class EventLog;
class MainForm;

// The router's public address: the locator pages are loaded one at a time, in list order, until
// one of them shows a dotted quad, which goes into the remote-address label. When every locator
// has failed, the failure is shown and logged once.
class RouterAddressLookup : public QObject
{
    Q_OBJECT

public:
    // Shown and logged when no locator gave an address.
    static QString failureMessage();

    RouterAddressLookup(PageRequester& wb_external, MainForm& form, EventLog& log, const Clock& clock,
                        QObject* parent = nullptr);

    // Starts a lookup from the top of the locator list, abandoning one still loading, and returns
    // at once. With no locators there is nothing to request: the failure is reported at once.
    void GetRemoteIP();
    // The address on the requester's current page; empty when it shows none. The site names the
    // locator whose page is expected and does not change the result.
    QString GetIP(const QString& site) const;

    // The locators not yet answered; the first is the one whose page is loading.
    const QStringList& queue() const { return m_lstExternals; }

signals:
    void addressFound(const QString& address);
    // The lookup is over: an address was found, or every locator failed.
    void ended();

private:
    void onDocumentComplete(const QString& text, PageRequester::Outcome outcome);
    void reportFailure();

    PageRequester& m_wb_external;
    MainForm& m_form;
    EventLog& m_log;
    const Clock& m_clock;
    QStringList m_lstExternals;
};
