#pragma once

#include <QString>
#include <QStringList>

// The two contents the write-under-a-kill test alternates, written through the program's own
// writers. Large enough that a write takes a while, different in size and in every line.
class SettingsWriterContents
{
public:
    // kind: "conf", "account" or "update"; first picks one of the two contents.
    static bool write(const QString& directory, const QString& kind, bool first);
    // The file the kind writes.
    static QString fileName(const QString& kind);
    static QStringList kinds();
};
