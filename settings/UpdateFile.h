#pragma once

#include "UpdateSettings.h"

#include <QString>

#include <optional>

// The update file "Update.ini" and its scratch copy "update.tmp": gateway URL, latest published
// version, date of the last version check.
class UpdateFile
{
public:
    static QString canonicalName();
    static QString scratchName();

    // Nothing when the file is missing or holds fewer than three fields.
    static std::optional<UpdateSettings> read(const QString& configPath, const QString& fileName = canonicalName());

    // The placeholders the setup wizard writes: no gateway yet, version "1.0", date "0" (never
    // a date, so the next start checks for a newer version).
    [[nodiscard]] static bool writePlaceholders(const QString& configPath);

    // The version check: the version page's text with its "url=" and "version=" prefixes removed
    // (normally two lines), then the day of the check.
    [[nodiscard]] static bool writeFromVersionPage(const QString& configPath, const QString& cleanedPageText,
                                                   const QString& todayText, const QString& fileName = canonicalName());
};
