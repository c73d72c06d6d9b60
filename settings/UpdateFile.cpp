#include "UpdateFile.h"

#include "FieldReader.h"
#include "FieldWriter.h"
#include "SettingsFileName.h"
#include "TextFile.h"

QString UpdateFile::canonicalName()
{
    return QStringLiteral("Update.ini");
}

QString UpdateFile::scratchName()
{
    return QStringLiteral("update.tmp");
}

std::optional<UpdateSettings> UpdateFile::read(const QString& configPath, const QString& fileName)
{
    const auto content = TextFile::read(SettingsFileName::resolve(configPath, fileName));
    if (!content) {
        return std::nullopt;
    }
    FieldReader reader(*content);
    auto gateway = reader.readText();
    auto version = reader.readText();
    auto date = reader.readText();
    if (!gateway || !version || !date) {
        return std::nullopt;
    }
    return UpdateSettings{std::move(*gateway), std::move(*version), std::move(*date)};
}

bool UpdateFile::writePlaceholders(const QString& configPath)
{
    FieldWriter writer;
    writer.writeText(QStringLiteral("0"));
    writer.writeText(QStringLiteral("1.0"));
    writer.writeText(QStringLiteral("0"));
    return TextFile::writeWhole(SettingsFileName::resolve(configPath, canonicalName()), writer.content());
}

bool UpdateFile::writeFromVersionPage(const QString& configPath, const QString& cleanedPageText,
                                      const QString& todayText, const QString& fileName)
{
    // The page text comes without the line break a server ends it with (PageRequester::answerText):
    // one left in would make an empty third line, the date would read back as empty, never
    // today's, and every reload would check the version again.
    FieldWriter writer;
    writer.writeText(cleanedPageText);
    writer.writeText(todayText);
    return TextFile::writeWhole(SettingsFileName::resolve(configPath, fileName), writer.content());
}
