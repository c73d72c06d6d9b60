#include "StandInProgram.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

using namespace Qt::StringLiterals;

bool StandInProgram::write(const QString& path, const QString& recordPath, const QString& before)
{
    const QString record = shellQuoted(recordPath);
    const QString script = u"#!/bin/sh\n"_s + before +
                           u"\n{ for word in \"$@\"; do printf '%s\\n' \"$word\"; done; } > "_s +
                           shellQuoted(recordPath + u".part") + u" && mv "_s + shellQuoted(recordPath + u".part") +
                           u" "_s + record + u"\n"_s;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(script.toUtf8()) < 0) {
        return false;
    }
    file.close();
    return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                               QFileDevice::ReadGroup | QFileDevice::ExeGroup);
}

QString StandInProgram::shellQuoted(const QString& text)
{
    QString quoted = text;
    quoted.replace(u"'"_s, u"'\\''"_s);
    return u"'"_s + quoted + u"'"_s;
}

std::optional<QStringList> StandInProgram::waitForRecord(const QString& recordPath, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QFile file(recordPath);
        if (file.open(QIODevice::ReadOnly)) {
            QString text = QString::fromUtf8(file.readAll());
            if (text.endsWith(u'\n')) {
                text.chop(1);
            }
            return text.isEmpty() ? QStringList{} : text.split(u'\n');
        }
        QThread::msleep(20);
    }
    return std::nullopt;
}
