#pragma once

#include <QString>

// "Update.ini": where the update gateway is, the latest published version, and the day of the
// last version check.
struct UpdateSettings
{
    QString gatewayUrl;
    QString latestVersion;
    QString lastCheckDate;
};
