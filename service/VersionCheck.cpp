#include "VersionCheck.h"

#include "Clock.h"
#include "Desktop.h"
#include "EventLog.h"
#include "ProjConf.h"
#include "ServiceUrls.h"
#include "SettingsModel.h"
#include "UpdateFile.h"

using namespace Qt::StringLiterals;

VersionCheck::VersionCheck(PageRequester& wb_updates, SettingsModel& model, EventLog& log, Desktop& desktop,
                           const Clock& clock, const ServiceUrls& urls, QObject* parent)
    : QObject(parent), m_requester(wb_updates), m_model(model), m_log(log), m_desktop(desktop), m_clock(clock),
      m_urls(urls)
{
    connect(&m_requester, &PageRequester::DocumentComplete, this, &VersionCheck::onDocumentComplete);
}

void VersionCheck::requestVersionPage()
{
    m_requester.Navigate(m_urls.versionPage());
}

void VersionCheck::CheckNow()
{
    m_model.AskedNewVersion = false;
    m_requester.Navigate(m_urls.versionPageOnDemand(m_clock.NowText()));
}

void VersionCheck::openHomePage()
{
    m_desktop.openUrl(m_urls.homePage());
}

void VersionCheck::onDocumentComplete(const QString& /*url*/, const QString& text, PageRequester::Outcome /*outcome*/)
{
    if (text.isEmpty()) {
        return;
    }
    if (!text.startsWith(u"url"_s)) {
        failAndEnd(u"Error checking for updates. Please ensure you are online."_s);
        return;
    }

    QString cleaned = text;
    cleaned.remove(u"url="_s);
    cleaned.remove(u"version="_s);

    const QString writeFailed = u"Failed to write the update configuration file.\r\n"
                                u"Please ensure you have permission to read and write to the application directory"_s;
    // One date for both files, so that they cannot differ across midnight.
    const QString today = m_clock.todayText();
    // Read back through the settings reader, so that the values are exactly those the next load
    // will find in the update file.
    if (!UpdateFile::writeFromVersionPage(m_model.ConfigPath, cleaned, today, UpdateFile::scratchName())) {
        failAndEnd(writeFailed);
        return;
    }
    const auto page = UpdateFile::read(m_model.ConfigPath, UpdateFile::scratchName());
    if (!page) {
        failAndEnd(u"Failed to read the update configuration file.\r\nPlease reinstall this application"_s);
        return;
    }
    m_model.GatewayURL = page->gatewayUrl;
    m_model.LastUpdate = page->lastCheckDate;
    const QString latestVersion = page->latestVersion;

    ProjConf conf;
    conf.Initialize();
    // Any difference counts: the service may withdraw a release as well as publish one.
    const bool differs = latestVersion != conf.Version;

    if (differs && !m_model.AskedNewVersion) {
        const auto answer = m_desktop.message(u"Update"_s,
                                              u"A new version "_s + latestVersion +
                                                  u" of this application is available\r\nDo you wish to download it"_s,
                                              Desktop::Icon::None, Desktop::Buttons::YesNo);
        if (answer == Desktop::Answer::Yes) {
            m_desktop.openUrl(m_urls.downloadPage());
            // The user chose to fetch the new version: an ending of their own, not a failure.
            m_desktop.endProgram(Desktop::Ending::Exit);
            return;
        }
        // The update file keeps its old date, so the reload checks once more and offers nothing.
        m_model.AskedNewVersion = true;
    } else if (!UpdateFile::writeFromVersionPage(m_model.ConfigPath, cleaned, today)) {
        failAndEnd(writeFailed);
        return;
    } else {
        m_updateFileWrittenOn = today;
    }

    if (differs) {
        m_log.appendEntry(u" - Quorvex IP Updater needs updated."_s);
        m_log.appendEntry(u" - Current Version: "_s + m_model.Version);
        m_log.appendEntry(u" - Latest Version: "_s + latestVersion);
    }
    emit reloadRequested();
}

bool VersionCheck::hasWrittenUpdateFileOn(const QString& date) const
{
    return m_updateFileWrittenOn == date;
}

void VersionCheck::failAndEnd(const QString& message)
{
    m_desktop.message(u"Error"_s, message, Desktop::Icon::Critical, Desktop::Buttons::Ok);
    m_desktop.endProgram(Desktop::Ending::Failure);
}
