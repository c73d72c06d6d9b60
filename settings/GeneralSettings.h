#pragma once

#include <QString>
#include <QStringList>

// "Conf.ini" as start-up loads it.
struct GeneralSettings
{
    QString hoursText; // as the hours box shows it: "05" in the file shows as "5"
    QString minutesText;
    qint16 intervalMinutes = 0;
    bool useRouterAddress = true; // address source 0
    bool checkVersionAtStartUp = true;
    qint16 pingMinutes = 0; // 0 = no keep-alive ping
    QStringList locators;
};
