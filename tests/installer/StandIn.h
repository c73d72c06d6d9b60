#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QStringList>
#include <QThread>

// A shell script standing in for an outside program: it records its arguments, one a line, in
// `record`, whole or not at all. Paths are single-quoted (temporary paths hold no quote).
inline bool writeStandIn(const QString& path, const QString& record)
{
    const QString part = u"'" + record + u".part'";
    const QString script = u"#!/bin/sh\nprintf '%s\\n' \"$@\" > " + part + u" && mv " + part + u" '" + record + u"'\n";
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(script.toUtf8()) > 0 &&
           file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// The arguments a stand-in recorded, once the record appears (the program is not waited for).
inline QStringList waitForRecord(const QString& record)
{
    for (const QDeadlineTimer deadline(15000); !QFile::exists(record) && !deadline.hasExpired();) {
        QThread::msleep(20);
    }
    QFile file(record);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
                                          : QStringList{QStringLiteral("<never ran>")};
}
