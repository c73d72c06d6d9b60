#pragma once

#include "GeneralSettings.h"

#include <QString>
#include <QStringList>

#include <optional>

// The settings file "Conf.ini": interval hours and minutes, address source, version check flag,
// keep-alive minutes, then one IP locator per line.
class ConfFile
{
public:
    static QString canonicalName();

    // Nothing when the file is missing or short, a value is of the wrong kind, the ping minutes
    // are outside 16 bits, or the interval comes to more minutes than 16 bits hold.
    static std::optional<GeneralSettings> read(const QString& configPath);

    // The Settings tab's Apply. The ping text is saved as it stands when it reads as a number
    // other than 0, else as "0"; when it is empty or no number at all nothing is written.
    [[nodiscard]] static bool writeFromSettingsTab(const QString& configPath, const QString& hoursText,
                                                   const QString& minutesText, bool useRouterAddress,
                                                   int checkVersionValue, const QString& pingText,
                                                   const QStringList& locators);

    // The setup wizard: the version check is switched on and the default locators are written.
    [[nodiscard]] static bool writeFromWizard(const QString& configPath, const QString& hoursText,
                                              const QString& minutesText, bool useRouterAddress,
                                              const QString& pingText, const QStringList& defaultLocators);
};
