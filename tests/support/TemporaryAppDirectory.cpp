#include "TemporaryAppDirectory.h"

#include <QDir>
#include <QFile>

TemporaryAppDirectory::TemporaryAppDirectory() = default;

QString TemporaryAppDirectory::path() const
{
    return m_dir.path() + QDir::separator();
}

QString TemporaryAppDirectory::filePath(const QString& name) const
{
    return path() + name;
}

void TemporaryAppDirectory::writeBytes(const QString& name, const QByteArray& bytes) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write test file");
    }
}

QByteArray TemporaryAppDirectory::readBytes(const QString& name) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

bool TemporaryAppDirectory::exists(const QString& name) const
{
    return QFile::exists(filePath(name));
}

QStringList TemporaryAppDirectory::fileNames() const
{
    return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}
