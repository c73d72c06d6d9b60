#pragma once

// How the headless program ends, for the service manager: 77 and 78 are the two endings that
// trying again cannot mend, so the unit keeps them from restarting it.
enum class ExitStatus : int {
    Stopped = 0,            // SIGTERM or SIGINT
    Failure = 1,            // a fault that a restart may clear
    Usage = 64,             // an argument it does not know
    LoginRefused = 77,      // the service refused the account's name or password
    SettingsUnreadable = 78 // a settings file is missing or unreadable, or the settings directory unusable
};
