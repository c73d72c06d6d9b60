#pragma once

#include "EventLog.h"
#include "PageRequester.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

class Clock;
class MainForm;
class SettingsModel;

// Tells the update gateway the address that the selected hosts should point at, and reports its
// answer on the Status tab and in the log. The requester wb_setip carries this exchange alone.
class UpdateExchange : public QObject
{
    Q_OBJECT

public:
    UpdateExchange(PageRequester& wb_setip, SettingsModel& model, MainForm& form, EventLog& log, const Clock& clock,
                   QObject* parent = nullptr);

    // A record left alone this long may be deleted by a service, or changed from elsewhere: the
    // next update is forced.
    static constexpr qint64 forcedEveryDays = 25;

    // Sends the hosts of the account file when the address changed or Force is 1; otherwise
    // reports that nothing changed. Nothing is sent while the gateway asked to be left alone.
    void UpdateIP();

    // The hosts that the last request sent carried; they name the host in a one-host answer.
    const QStringList& hostsInFlight() const { return m_hostsInFlight; }
    // Whether the last UpdateIP() sent a request.
    bool lastCallSent() const { return m_lastCallSent; }
    // While quiet, an attempt that sends nothing or fails leaves nothing in the log (whoever tries
    // it again every minute reports the outage once); one that is answered logs its request with
    // its answer.
    void setQuiet(bool quiet) { m_quiet = quiet; }
    // Until when the gateway asked not to be sent to; invalid when it did not.
    const QDateTime& notBefore() const { return m_notBefore; }

signals:
    // The account file cannot be read or names no host: only the setup wizard can mend that.
    void wizardNeeded();
    // The request sent got its outcome: answered (the address recorded) or not.
    void requestEnded(bool answered);

private:
    void onDocumentComplete(const QString& url, const QString& text, PageRequester::Outcome outcome);
    QString currentAddress() const;
    bool isAnswer(PageRequester::Outcome outcome) const;
    QString resultLine(const QString& answer, bool answered) const;
    // A cycle that falls while the gateway asked to wait; false when it may be sent to.
    bool waitsForGateway();
    // A line of an attempt, left out while quiet.
    void note(const QString& message, EventLog::Level level = EventLog::Level::Info);

    PageRequester& m_requester;
    SettingsModel& m_model;
    MainForm& m_form;
    EventLog& m_log;
    const Clock& m_clock;
    QStringList m_hostsInFlight;
    // What the request in flight carried: only its answer may record it.
    QString m_addressInFlight;
    bool m_forcedInFlight = false;
    bool m_lastCallSent = false;
    bool m_quiet = false;
    // A quiet attempt's request lines, written only when it is answered.
    QString m_quietCopy;
    QDateTime m_notBefore;
    // When the last forced update was answered; every start forces one, so it is set soon.
    QDateTime m_lastForcedAnswer;
};
