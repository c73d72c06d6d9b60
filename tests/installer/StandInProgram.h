#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Small shell scripts that stand in for the outside programs and record the arguments they get.
class StandInProgram
{
public:
    // Writes an executable script at `path` that runs `before` (shell lines, may be empty) and then
    // writes its arguments, one a line, to `recordPath`. The record appears whole, or not at all.
    static bool write(const QString& path, const QString& recordPath, const QString& before = {});

    // A path as one shell word.
    static QString shellQuoted(const QString& text);

    // The recorded arguments, once the record appears within `timeoutMs`.
    static std::optional<QStringList> waitForRecord(const QString& recordPath, int timeoutMs = 15000);
};
