#include "SettingsFileName.h"

#include <QDir>
#include <QFileInfo>

QString SettingsFileName::resolve(const QString& directory, const QString& canonicalName)
{
    QString canonicalPath = directory + canonicalName;
    if (QFileInfo::exists(canonicalPath)) {
        return canonicalPath;
    }
    // Sorted, so that with several spellings present every caller settles on the same one.
    const QStringList entries = QDir(directory).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(canonicalName, Qt::CaseInsensitive) == 0) {
            return directory + entry;
        }
    }
    return canonicalPath;
}
