#include "FuzzCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

QStringList FuzzCheck::pieces(const std::uint8_t* data, std::size_t size, qsizetype maxPieces)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList result;
    qsizetype start = 0;
    while (result.size() + 1 < maxPieces) {
        const qsizetype nul = bytes.indexOf('\0', start);
        if (nul < 0) {
            break;
        }
        result.append(QString::fromUtf8(bytes.mid(start, nul - start)));
        start = nul + 1;
    }
    result.append(QString::fromUtf8(bytes.mid(start)));
    return result;
}

QString FuzzCheck::scratchDirectory()
{
    // Every input writes files; memory keeps the run quick.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/quorvex-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/quorvex-fuzz-XXXXXX"));
    if (!dir.isValid()) {
        fail("a scratch directory can be made");
    }
    return dir.path() + QDir::separator();
}

QByteArray FuzzCheck::readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void FuzzCheck::writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        fail("the scratch directory can be written", path);
    }
}

void FuzzCheck::fail(const char* property, const QString& detail)
{
    std::fprintf(stderr, "property broken: %s\n%s\n", property, detail.toUtf8().constData());
    std::abort();
}
