#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Fills the registry template with the application directory. The template is handled as the bytes
// of its file, so nothing in it changes on the way through; the placeholders are ASCII, which every
// system code page writes as the same bytes.
class RegistryTemplate
{
public:
    static constexpr QByteArrayView applicationDirMark{"<application_dir>"};
    static constexpr QByteArrayView rootAsHexMark{"<root_as_hex>"};

    // The directory text in the system code page, or nothing when one of its characters has no
    // form there (the registry file could not name the directory).
    static std::optional<QByteArray> encodeDirectory(const QString& directoryText);

    // Every byte of the encoded directory as asctohex gives it, each followed by a comma.
    static QByteArray hexList(const QByteArray& encodedDirectory);

    // The directory with every backslash doubled, as string values in a registry file need it.
    static QString escapedDirectory(const QString& directoryText);

    // Replaces every exact, case-sensitive occurrence of the two placeholders in one pass, so text
    // put in for one placeholder is never searched for the other.
    static QByteArray replacePlaceholders(const QByteArray& text, const QByteArray& applicationDir,
                                          const QByteArray& rootAsHex);

    // The filled-in template, or nothing when the directory cannot be written in the system code page.
    static std::optional<QByteArray> fill(const QByteArray& text, const QString& directoryText);
};
