#include "SettingsSnapshot.h"

#include <QDir>
#include <QFile>
#include <QSet>

SettingsSnapshot::SettingsSnapshot(const QString& directory) : m_directory(directory), m_files(read(directory)) {}

QStringList SettingsSnapshot::changedFiles() const
{
    const QMap<QString, QByteArray> now = read(m_directory);
    QSet<QString> names;
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it) {
        names.insert(it.key());
    }
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        names.insert(it.key());
    }
    QStringList changed;
    for (const QString& name : names) {
        if (m_files.contains(name) != now.contains(name) || m_files.value(name) != now.value(name)) {
            changed.append(name);
        }
    }
    changed.sort();
    return changed;
}

QMap<QString, QByteArray> SettingsSnapshot::read(const QString& directory)
{
    QMap<QString, QByteArray> files;
    const QStringList present = QDir(directory).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : present) {
        const QString lower = name.toLower();
        if (lower != u"conf.ini" && lower != u"account.ini" && lower != u"update.ini") {
            continue;
        }
        QFile file(directory + name);
        files.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<unreadable>"));
    }
    return files;
}
