#include "SettingsDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

QString withTrailingSeparator(const QString& directory)
{
    QString native = QDir::toNativeSeparators(directory);
    if (!native.endsWith(QDir::separator())) {
        native += QDir::separator();
    }
    return native;
}

// Each missing level for the owner alone: QDir::mkpath would open the new parents to everyone
// the umask lets in, and ~/.config may be made here for the first time.
bool makePrivately(const QString& directory)
{
    QStringList missing;
    for (QString level = QDir::cleanPath(directory); !QFileInfo::exists(level);) {
        missing.prepend(level);
        const QString parent = QFileInfo(level).path();
        if (parent == level) {
            break;
        }
        level = parent;
    }
    const QDir root;
    for (const QString& level : std::as_const(missing)) {
        if (!root.mkdir(level, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
            return false;
        }
    }
    return QFileInfo(directory).isDir();
}

} // namespace

SettingsDirectory::Location SettingsDirectory::builtLocation()
{
    return QUORVEX_SETTINGS_IN_USER_DIRECTORY ? Location::User : Location::Application;
}

SettingsDirectory SettingsDirectory::ofThisBuild()
{
    return resolve(builtLocation(), QCoreApplication::applicationDirPath(), qEnvironmentVariable("XDG_CONFIG_HOME"),
                   QDir::homePath());
}

SettingsDirectory SettingsDirectory::resolve(Location location, const QString& applicationDirectory,
                                             const QString& xdgConfigHome, const QString& home)
{
    if (location == Location::Application) {
        return SettingsDirectory(applicationDirectory);
    }
    const QString configHome = QDir::isAbsolutePath(xdgConfigHome) ? xdgConfigHome : QDir(home).filePath(u".config"_s);
    const QString directory = QDir::cleanPath(QDir(configHome).filePath(u"quorvex"_s));
    SettingsDirectory settings(Location::User, directory);
    if (!makePrivately(directory)) {
        settings.m_problem = u"Cannot create the settings directory "_s + QDir::toNativeSeparators(directory);
    } else if (const QFileInfo info(directory); !info.isWritable() || !info.isExecutable()) {
        settings.m_problem = u"Cannot write to the settings directory "_s + QDir::toNativeSeparators(directory);
    }
    return settings;
}

SettingsDirectory::SettingsDirectory(const QString& directory) : SettingsDirectory(Location::Application, directory) {}

SettingsDirectory::SettingsDirectory(Location location, const QString& directory)
    : m_location(location), m_path(withTrailingSeparator(directory))
{}
