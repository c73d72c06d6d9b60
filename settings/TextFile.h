#pragma once

#include <QString>

#include <optional>

// Text files in the system's code page, read whole and written whole: a write goes to a
// temporary file in the same directory that is renamed over the old file only once everything
// is on disk, so a failed or interrupted write leaves the previous file as it was.
class TextFile
{
public:
    enum class Access {
        Default,
        // Readable and writable by the owner alone, also when an existing file is rewritten.
        OwnerOnly
    };

    static std::optional<QString> read(const QString& path);
    [[nodiscard]] static bool writeWhole(const QString& path, const QString& content, Access access = Access::Default);
};
