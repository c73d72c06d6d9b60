#include "SettingsLoad.h"

#include "Clock.h"
#include "ConfFile.h"
#include "EventLog.h"
#include "SettingsModel.h"
#include "UpdateFile.h"
#include "VersionCheck.h"

SettingsLoad::SettingsLoad(SettingsModel& model, VersionCheck& versionCheck, EventLog& log, const Clock& clock)
    : m_model(model), m_versionCheck(versionCheck), m_log(log), m_clock(clock)
{}

bool SettingsLoad::readUpdateFile()
{
    const auto update = UpdateFile::read(m_model.ConfigPath);
    if (!update) {
        m_versionCheck.requestVersionPage();
        return false;
    }
    m_model.GatewayURL = update->gatewayUrl;
    m_model.Version = update->latestVersion;
    m_model.LastUpdate = update->lastCheckDate;
    return true;
}

std::optional<GeneralSettings> SettingsLoad::readGeneralSettings()
{
    auto settings = ConfFile::read(m_model.ConfigPath);
    if (settings) {
        m_model.Interval = settings->intervalMinutes;
        m_model.PingInterval = settings->pingMinutes;
    }
    return settings;
}

void SettingsLoad::checkVersion(bool checkAtStartUp)
{
    if (!checkAtStartUp) {
        return;
    }
    const QString today = m_clock.todayText();
    // A page whose date never reads as today is fetched once a run and day, not in a loop.
    if (m_model.LastUpdate != today && !m_versionCheck.hasWrittenUpdateFileOn(today)) {
        m_versionCheck.requestVersionPage();
    } else {
        m_log.appendEntry(QStringLiteral(" - Quorvex IP Updater is up to date."));
        m_log.appendEntry(QStringLiteral(" - Version: ") + m_model.Version);
    }
}
