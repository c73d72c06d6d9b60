#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// The bytes of the settings files of an application directory at one moment, to tell afterwards
// whether any of them changed, appeared or went. Every spelling of the three names counts: the
// program matches them without regard to case.
class SettingsSnapshot
{
public:
    // directory ends with a separator.
    explicit SettingsSnapshot(const QString& directory);

    // The files that differ now from the moment of the snapshot, by their names on disk; empty
    // when none does.
    QStringList changedFiles() const;

private:
    static QMap<QString, QByteArray> read(const QString& directory);

    QString m_directory;
    QMap<QString, QByteArray> m_files;
};
