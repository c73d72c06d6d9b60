#include "UpdateExchange.h"

#include "AccountFile.h"
#include "Clock.h"
#include "EventLog.h"
#include "MainForm.h"
#include "RetryAfter.h"
#include "SettingsModel.h"
#include "UpdateRequest.h"

#include <utility>

using namespace Qt::StringLiterals;

UpdateExchange::UpdateExchange(PageRequester& wb_setip, SettingsModel& model, MainForm& form, EventLog& log,
                               const Clock& clock, QObject* parent)
    : QObject(parent), m_requester(wb_setip), m_model(model), m_form(form), m_log(log), m_clock(clock)
{
    connect(&m_requester, &PageRequester::DocumentComplete, this, &UpdateExchange::onDocumentComplete);
}

void UpdateExchange::UpdateIP()
{
    m_lastCallSent = false;
    m_form.setResponseText(u"Updating ..."_s);
    // The previous answer must not be read again as if it were this request's.
    m_requester.setPageText(u"Not Updating"_s);

    const auto hosts = AccountFile::readHosts(m_model.ConfigPath);
    if (!hosts) {
        emit wizardNeeded();
        return;
    }

    if (m_lastForcedAnswer.isValid() && m_lastForcedAnswer.daysTo(m_clock.now()) >= forcedEveryDays) {
        m_model.Force = 1;
    }
    const QString address = currentAddress();
    if (address == m_model.LastIP && m_model.Force != 1) {
        m_form.setResponseText(u"Not updated. IP had not changed."_s);
        m_form.setLastText(m_clock.NowText() + u"   -   No changes to make."_s);
        note(u"Not updated. IP had not changed."_s);
        return;
    }

    if (waitsForGateway()) {
        return;
    }
    note(u"Attempting to update IPs ..."_s);
    m_form.setResponseText(u"Update Request Sent ..."_s);
    if (hosts->isEmpty()) {
        // Force stays as it is, so the update is sent once the wizard has chosen hosts.
        emit wizardNeeded();
        return;
    }

    if (!UpdateRequest::isGatewayUrl(m_model.GatewayURL)) {
        // Nothing is sent and Force is kept, so the next cycle tries again once the version
        // page has named the gateway.
        const QString why = u"Not updated. The update gateway \""_s + m_model.GatewayURL +
                            u"\" is not a web address; it comes with the service's version page."_s;
        m_form.setResponseText(why);
        note(why, EventLog::Level::Warning);
        return;
    }

    m_hostsInFlight = *hosts;
    m_addressInFlight = address;
    m_forcedInFlight = m_model.Force == 1;
    m_lastCallSent = true;
    const UpdateRequest request(m_model.GatewayURL, m_form.userName(), m_form.password(), *hosts, address);
    m_requester.Navigate(request.url(m_clock.NowText()));
    m_quietCopy = m_quiet ? request.logCopy() : QString();
    if (!m_quiet) {
        m_log.appendCopy(request.logCopy());
    }
}

void UpdateExchange::note(const QString& message, EventLog::Level level)
{
    if (!m_quiet) {
        m_log.appendMessage(message, level);
    }
}

bool UpdateExchange::waitsForGateway()
{
    if (!m_notBefore.isValid() || m_clock.now() >= m_notBefore) {
        return false;
    }
    // Force and LastIP stay as they are, so the first cycle after the wait sends.
    const QString why = u"Not updated. The update gateway asked to wait until "_s +
                        m_clock.TimeText(m_notBefore.toLocalTime().time()) +
                        u"; the update goes at the next cycle after that."_s;
    m_form.setResponseText(why);
    note(why, EventLog::Level::Warning);
    return true;
}

void UpdateExchange::onDocumentComplete(const QString& /*url*/, const QString& text, PageRequester::Outcome outcome)
{
    if (text.isEmpty()) {
        return;
    }
    const bool answered = isAnswer(outcome);
    const bool forced = std::exchange(m_forcedInFlight, false);
    const QString quietCopy = std::exchange(m_quietCopy, QString());
    // A quiet attempt that failed is the retrier's to report.
    const bool logged = quietCopy.isEmpty() || answered;
    if (!quietCopy.isEmpty() && answered) {
        m_log.appendMessage(u"Attempting to update IPs ..."_s);
        m_log.appendCopy(quietCopy);
    }
    if (logged) {
        m_log.appendMessage(resultLine(text, answered),
                            answered && text.contains(u"0="_s) ? EventLog::Level::Info : EventLog::Level::Warning);
    }

    QString display = text + u"\r\n"_s;
    display.remove(u"HTTP/1.1 200 OK\r\n"_s);
    if (logged) {
        m_log.appendCopy(display);
    }
    m_form.setResponseText(display);

    const int status = m_requester.reply().status;
    if (RetryAfter::appliesTo(status)) {
        if (const auto until = RetryAfter::until(m_requester.reply().retryAfter, m_clock.now())) {
            m_notBefore = *until;
            m_log.appendMessage(u"The update gateway asked to wait until "_s +
                                    m_clock.TimeText(until->toLocalTime().time()) + u"; nothing is sent before then."_s,
                                EventLog::Level::Warning);
        }
    }
    // The gateway never saw this address, or failed on it: recording it would report a failure
    // as success and keep the next scheduled update from sending again. A forced one stays forced.
    if (!answered) {
        emit requestEnded(false);
        return;
    }
    if (forced) {
        m_model.Force = 0;
        m_lastForcedAnswer = m_clock.now();
    }
    // Only an "Update Now" from the tray before any other update leaves the initial text.
    if (m_form.lastText() != u"Not Updated"_s) {
        // What the request carried: the labels may show a newer address by now, still to be sent.
        m_form.setLastIPText(m_addressInFlight);
        m_log.appendMessage(u"Completed updating."_s);
        m_model.LastIP = m_addressInFlight;
        m_form.setLastText(m_clock.NowText());
    }
    emit requestEnded(true);
}

QString UpdateExchange::currentAddress() const
{
    return m_form.routerAddressSelected() ? m_form.remoteText() : m_form.machineText();
}

bool UpdateExchange::isAnswer(PageRequester::Outcome outcome) const
{
    // A 4xx page is the gateway's own word on the request (it may refuse a host); a 5xx says
    // only that the gateway broke, whatever its page holds, and a 408 or 429 that it never got
    // to the request.
    const int status = m_requester.reply().status;
    if (status == 408 || status == 429) {
        return false;
    }
    return outcome == PageRequester::Outcome::Answered || outcome == PageRequester::Outcome::ClientError;
}

QString UpdateExchange::resultLine(const QString& answer, bool answered) const
{
    // Counted from the request itself: a ";" typed in the account name or password says nothing
    // about how many hosts were sent.
    const bool updated = answered && answer.contains(u"0="_s);
    if (m_hostsInFlight.size() > 1) {
        if (!updated) {
            return u"None of the selected domains were updated."_s;
        }
        return answer.contains(u"1="_s) ? u"Some of the selected domains were updated."_s
                                        : u"All selected domains were updated."_s;
    }
    const QString host = m_hostsInFlight.value(0);
    return updated ? u"Updated: "_s + host : u"Not Updated: "_s + host;
}
