#pragma once

#include "AccountSettings.h"

#include <QString>
#include <QStringList>

#include <optional>

// The account file "Account.ini": account name, password (in plain text, so the file is kept
// readable by its owner alone), then one host to update per line.
class AccountFile
{
public:
    static QString canonicalName();

    // Nothing when the file is missing or short, or the name or the password is empty.
    static std::optional<AccountSettings> read(const QString& configPath);

    // The hosts to update: every non-empty field after the name and the password, in file order.
    // Nothing when the file is missing or holds fewer than two fields; an empty list is possible.
    static std::optional<QStringList> readHosts(const QString& configPath);

    // Every field of the file in order, empty ones included, the name and the password first.
    static std::optional<QStringList> readItems(const QString& configPath);

    [[nodiscard]] static bool write(const QString& configPath, const QString& userName, const QString& password,
                                    const QStringList& hosts);
};
