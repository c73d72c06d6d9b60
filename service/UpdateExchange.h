#pragma once

#include "PageRequester.h"

#include <QObject>
#include <QString>
#include <QStringList>

class Clock;
class EventLog;
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

    // Sends the hosts of the account file when the address changed or Force is 1; otherwise
    // reports that nothing changed.
    void UpdateIP();

    // The hosts that the last request sent carried; they name the host in a one-host answer.
    const QStringList& hostsInFlight() const { return m_hostsInFlight; }

signals:
    // The account file cannot be read or names no host: only the setup wizard can mend that.
    void wizardNeeded();

private:
    void onDocumentComplete(const QString& url, const QString& text, PageRequester::Outcome outcome);
    QString currentAddress() const;
    static bool isAnswer(PageRequester::Outcome outcome);
    QString resultLine(const QString& answer, bool answered) const;

    PageRequester& m_requester;
    SettingsModel& m_model;
    MainForm& m_form;
    EventLog& m_log;
    const Clock& m_clock;
    QStringList m_hostsInFlight;
};
