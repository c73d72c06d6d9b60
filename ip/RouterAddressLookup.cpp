#include "RouterAddressLookup.h"

#include "AddressText.h"
#include "Clock.h"
#include "EventLog.h"
#include "MainForm.h"
#include "NonPublicAddress.h"

using namespace Qt::StringLiterals;

RouterAddressLookup::RouterAddressLookup(PageRequester& wb_external, MainForm& form, EventLog& log, const Clock& clock,
                                         QObject* parent)
    : QObject(parent), m_wb_external(wb_external), m_form(form), m_log(log), m_clock(clock)
{
    connect(&m_wb_external, &PageRequester::DocumentComplete, this,
            [this](const QString&, const QString& text, PageRequester::Outcome outcome) {
                onDocumentComplete(text, outcome);
            });
}

QString RouterAddressLookup::failureMessage()
{
    return QStringLiteral("Fail to find remote IP. Connection to network could have lost.");
}

void RouterAddressLookup::GetRemoteIP()
{
    m_lstExternals = m_form.locators();
    if (m_lstExternals.isEmpty()) {
        // An empty address is no page; saying so at once tells the user why no address comes.
        reportFailure();
        return;
    }
    m_wb_external.Navigate(m_lstExternals.constFirst());
}

QString RouterAddressLookup::GetIP(const QString& site) const
{
    Q_UNUSED(site);
    return AddressText::ExtractIP(m_wb_external.pageText());
}

void RouterAddressLookup::onDocumentComplete(const QString& text, PageRequester::Outcome outcome)
{
    if (text.isEmpty()) {
        return; // the blank page
    }
    // An empty queue means no lookup is waiting for this page (one with no locators reported
    // its failure already), so the page changes nothing.
    if (m_lstExternals.isEmpty()) {
        return;
    }
    // An error page names no caller: the address in a 404's server footer is the server's own.
    const bool errorStatus =
        outcome == PageRequester::Outcome::ClientError || outcome == PageRequester::Outcome::ServerError;
    QString address = errorStatus ? QString() : GetIP(m_lstExternals.constFirst());
    if (const QString kind = NonPublicAddress::kindOf(address); !kind.isEmpty()) {
        m_log.appendMessage(u"IP locator \""_s + m_lstExternals.constFirst() + u"\" named "_s + address + u", "_s +
                                kind + u", which cannot be the public one; it was not used."_s,
                            EventLog::Level::Warning);
        address.clear();
    }
    m_lstExternals.removeFirst();
    if (address.isEmpty()) {
        if (!m_lstExternals.isEmpty()) {
            m_wb_external.Navigate(m_lstExternals.constFirst());
        } else {
            reportFailure();
        }
        return;
    }
    m_form.setRemoteText(address);
    emit addressFound(address);
    emit ended();
}

void RouterAddressLookup::reportFailure()
{
    m_form.setResponseText(failureMessage());
    m_form.setLastText(m_clock.NowText() + QStringLiteral("   -   Network failure"));
    m_log.appendMessage(failureMessage(), EventLog::Level::Warning);
    emit ended();
}
