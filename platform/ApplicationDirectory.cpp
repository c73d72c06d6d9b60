#include "ApplicationDirectory.h"

#include <QCoreApplication>
#include <QDir>

QString ApplicationDirectory::path()
{
    return withTrailingSeparator(QCoreApplication::applicationDirPath());
}

QString ApplicationDirectory::withTrailingSeparator(const QString& directory)
{
    QString native = QDir::toNativeSeparators(directory);
    if (!native.endsWith(QDir::separator())) {
        native += QDir::separator();
    }
    return native;
}
