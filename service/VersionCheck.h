#pragma once

#include "PageRequester.h"

#include <QObject>
#include <QString>

class Clock;
class Desktop;
class EventLog;
class ServiceUrls;
class SettingsModel;

// Fetches the service's version page, which names the update gateway and the latest published
// version; records both with the day of the check, offers the download when the version differs
// from the program's own, and asks for the settings to be loaded again.
class VersionCheck : public QObject
{
    Q_OBJECT

public:
    VersionCheck(PageRequester& wb_updates, SettingsModel& model, EventLog& log, Desktop& desktop, const Clock& clock,
                 const ServiceUrls& urls, QObject* parent = nullptr);

    // At start-up when the check is due, and whenever the update file cannot be read.
    void requestVersionPage();
    // cmdCheckNow: a declined offer is made again, and the cache-buster fetches a fresh page.
    void CheckNow();
    // lblHyperlink: the service's home page in the user's browser.
    void openHomePage();

    // Whether this run has already rewritten the update file on that date. A page whose gateway
    // URL holds a comma shifts the fields, so the file's date line never reads as today; the
    // load sequence asks this as well, so such a page is fetched once a day, not in an endless loop.
    bool hasWrittenUpdateFileOn(const QString& date) const;

signals:
    // The update file has been rewritten (or the offer declined): the settings must be read again.
    void reloadRequested();

private:
    void onDocumentComplete(const QString& url, const QString& text, PageRequester::Outcome outcome);
    void failAndEnd(const QString& message);

    PageRequester& m_requester;
    SettingsModel& m_model;
    EventLog& m_log;
    Desktop& m_desktop;
    const Clock& m_clock;
    const ServiceUrls& m_urls;
    QString m_updateFileWrittenOn;
};
