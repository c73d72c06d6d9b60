#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// What the fuzz targets share: turning an input into texts, a fast scratch directory, and the
// stop that makes a broken property a finding.
class FuzzCheck
{
public:
    // The input's bytes as UTF-8 text cut at every NUL byte, at most maxPieces pieces (the last
    // one keeps the rest).
    static QStringList pieces(const std::uint8_t* data, std::size_t size, qsizetype maxPieces);
    // A directory for the whole run, ending with a separator; in memory where the system has it.
    static QString scratchDirectory();
    static QByteArray readFile(const QString& path);
    static void writeFile(const QString& path, const QByteArray& bytes);
    // Reports the broken property with the texts involved and aborts, so libFuzzer keeps the input.
    [[noreturn]] static void fail(const char* property, const QString& detail = QString());
    static void require(bool holds, const char* property, const QString& detail = QString())
    {
        if (!holds) {
            fail(property, detail);
        }
    }
};
