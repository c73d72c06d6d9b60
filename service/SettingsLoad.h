#pragma once

#include "GeneralSettings.h"

#include <QString>

#include <optional>

class Clock;
class EventLog;
class SettingsModel;
class VersionCheck;

// The part of the load sequence that the window program and the headless one share: the update
// file and the general settings into the model, and the start-up version check when it is due.
// What the settings then show, and what runs next, is each program's own.
class SettingsLoad
{
public:
    SettingsLoad(SettingsModel& model, VersionCheck& versionCheck, EventLog& log, const Clock& clock);

    // The update file into the model, from ConfigPath. False when it cannot be read: the version
    // page has been requested instead, and its answer asks for the load to start again.
    bool readUpdateFile();
    // "Conf.ini" with its interval and keep-alive minutes put into the model; nothing when it
    // cannot be read (only the setup wizard can write it).
    std::optional<GeneralSettings> readGeneralSettings();
    // Fetches the version page when checking at start-up is on and no check has been made
    // today; otherwise says that the program is up to date.
    void checkVersion(bool checkAtStartUp);

private:
    SettingsModel& m_model;
    VersionCheck& m_versionCheck;
    EventLog& m_log;
    const Clock& m_clock;
};
