#include "AccountFile.h"

#include "FieldReader.h"
#include "FieldWriter.h"
#include "SettingsFileName.h"
#include "TextFile.h"

namespace {

std::optional<QString> readContent(const QString& configPath)
{
    return TextFile::read(SettingsFileName::resolve(configPath, AccountFile::canonicalName()));
}

} // namespace

QString AccountFile::canonicalName()
{
    return QStringLiteral("Account.ini");
}

std::optional<AccountSettings> AccountFile::read(const QString& configPath)
{
    const auto content = readContent(configPath);
    if (!content) {
        return std::nullopt;
    }
    FieldReader reader(*content);
    // The name is text: an account "007" keeps its zeros.
    const auto name = reader.readText();
    const auto password = reader.readText();
    if (!name || !password) {
        return std::nullopt;
    }
    AccountSettings account{*name, *password};
    if (account.userName.isEmpty() || account.password.isEmpty()) {
        return std::nullopt;
    }
    return account;
}

std::optional<QStringList> AccountFile::readItems(const QString& configPath)
{
    const auto content = readContent(configPath);
    if (!content) {
        return std::nullopt;
    }
    return FieldReader(*content).readRemainingTexts();
}

std::optional<QStringList> AccountFile::readHosts(const QString& configPath)
{
    const auto items = readItems(configPath);
    if (!items || items->size() < 2) {
        return std::nullopt;
    }
    QStringList hosts;
    for (qsizetype i = 2; i < items->size(); ++i) {
        if (!items->at(i).isEmpty()) {
            hosts.append(items->at(i));
        }
    }
    return hosts;
}

bool AccountFile::write(const QString& configPath, const QString& userName, const QString& password,
                        const QStringList& hosts)
{
    FieldWriter writer;
    writer.writeField(userName);
    writer.writeField(password);
    for (const QString& host : hosts) {
        writer.writeField(host);
    }
    return TextFile::writeWhole(SettingsFileName::resolve(configPath, canonicalName()), writer.content(),
                                TextFile::Access::OwnerOnly);
}
