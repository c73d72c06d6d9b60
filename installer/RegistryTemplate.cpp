#include "RegistryTemplate.h"

#include "AscToHex.h"

#include <QStringDecoder>
#include <QStringEncoder>

std::optional<QByteArray> RegistryTemplate::encodeDirectory(const QString& directoryText)
{
    QStringEncoder encoder(QStringConverter::System);
    QByteArray bytes = encoder.encode(directoryText);
    QStringDecoder decoder(QStringConverter::System);
    const QString back = decoder.decode(bytes);
    // A code page without a character substitutes another; the round trip shows it.
    if (encoder.hasError() || decoder.hasError() || back != directoryText) {
        return std::nullopt;
    }
    return bytes;
}

QByteArray RegistryTemplate::hexList(const QByteArray& encodedDirectory)
{
    QByteArray list;
    list.reserve(encodedDirectory.size() * 3);
    for (const char byte : encodedDirectory) {
        list += asctohex(static_cast<quint8>(byte)).toLatin1();
        list += ',';
    }
    return list;
}

QString RegistryTemplate::escapedDirectory(const QString& directoryText)
{
    QString escaped = directoryText;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    return escaped;
}

QByteArray RegistryTemplate::replacePlaceholders(const QByteArray& text, const QByteArray& applicationDir,
                                                 const QByteArray& rootAsHex)
{
    QByteArray filled;
    filled.reserve(text.size());
    qsizetype from = 0;
    while (true) {
        const qsizetype dirAt = text.indexOf(applicationDirMark, from);
        const qsizetype hexAt = text.indexOf(rootAsHexMark, from);
        if (dirAt < 0 && hexAt < 0) {
            break;
        }
        const bool isDir = hexAt < 0 || (dirAt >= 0 && dirAt < hexAt);
        const qsizetype at = isDir ? dirAt : hexAt;
        filled += QByteArrayView(text).sliced(from, at - from);
        filled += isDir ? applicationDir : rootAsHex;
        from = at + (isDir ? applicationDirMark.size() : rootAsHexMark.size());
    }
    filled += QByteArrayView(text).sliced(from);
    return filled;
}

std::optional<QByteArray> RegistryTemplate::fill(const QByteArray& text, const QString& directoryText)
{
    const std::optional<QByteArray> encoded = encodeDirectory(directoryText);
    if (!encoded) {
        return std::nullopt;
    }
    // Doubling is done on the characters, not the bytes: in a double-byte code page the second byte
    // of a character may have the value of a backslash.
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray escaped = encoder.encode(escapedDirectory(directoryText));
    return replacePlaceholders(text, escaped, hexList(*encoded));
}
