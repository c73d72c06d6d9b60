#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh application directory for one test, removed afterwards. path() ends with the separator,
// as the program's ConfigPath does.
class TemporaryAppDirectory
{
public:
    TemporaryAppDirectory();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const;
    QString filePath(const QString& name) const;

    void writeBytes(const QString& name, const QByteArray& bytes) const;
    QByteArray readBytes(const QString& name) const;
    bool exists(const QString& name) const;
    QStringList fileNames() const;

private:
    QTemporaryDir m_dir;
};
