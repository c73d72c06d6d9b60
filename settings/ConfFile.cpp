#include "ConfFile.h"

#include "FieldReader.h"
#include "FieldWriter.h"
#include "NumberText.h"
#include "SettingsFileName.h"
#include "SettingsModel.h"
#include "TextFile.h"

namespace {

// Lines 1 to 4 are read as number or text but must hold a number (an empty line counts as 0).
std::optional<double> readNumeric(FieldReader& reader)
{
    const auto value = reader.readNumberOrText();
    if (!value) {
        return std::nullopt;
    }
    return value->toNumber();
}

} // namespace

QString ConfFile::canonicalName()
{
    return QStringLiteral("Conf.ini");
}

std::optional<GeneralSettings> ConfFile::read(const QString& configPath)
{
    const auto content = TextFile::read(SettingsFileName::resolve(configPath, canonicalName()));
    if (!content) {
        return std::nullopt;
    }
    FieldReader reader(*content);
    const auto hours = reader.readNumberOrText();
    const auto minutes = reader.readNumberOrText();
    if (!hours || !minutes) {
        return std::nullopt;
    }
    const auto hoursValue = hours->toNumber();
    const auto minutesValue = minutes->toNumber();
    const auto addressSource = readNumeric(reader);
    const auto versionCheck = readNumeric(reader);
    const auto ping = reader.readInt16();
    if (!hoursValue || !minutesValue || !addressSource || !versionCheck || !ping) {
        return std::nullopt;
    }
    const auto interval = SettingsModel::intervalMinutes(*hoursValue, *minutesValue);
    if (!interval) {
        return std::nullopt;
    }

    GeneralSettings settings;
    // An empty line shows as an empty box; the interval counts it as 0 either way.
    settings.hoursText = hours->toText();
    settings.minutesText = minutes->toText();
    settings.intervalMinutes = *interval;
    settings.useRouterAddress = *addressSource == 0.0;
    settings.checkVersionAtStartUp = *versionCheck != 0.0;
    settings.pingMinutes = *ping;
    settings.locators = reader.readRemainingTexts();
    return settings;
}

bool ConfFile::writeFromSettingsTab(const QString& configPath, const QString& hoursText, const QString& minutesText,
                                    bool useRouterAddress, int checkVersionValue, const QString& pingText,
                                    const QStringList& locators)
{
    const auto ping = NumberText::parse(pingText);
    if (!ping) {
        return false;
    }
    FieldWriter writer;
    writer.writeText(hoursText);
    writer.writeText(minutesText);
    writer.writeInteger(useRouterAddress ? 0 : 1);
    writer.writeInteger(checkVersionValue);
    writer.writeText(*ping != 0.0 ? pingText : QStringLiteral("0"));
    // A locator typed with a comma or blanks around it must come back as one locator.
    for (const QString& locator : locators) {
        writer.writeField(locator);
    }
    return TextFile::writeWhole(SettingsFileName::resolve(configPath, canonicalName()), writer.content());
}

bool ConfFile::writeFromWizard(const QString& configPath, const QString& hoursText, const QString& minutesText,
                               bool useRouterAddress, const QString& pingText, const QStringList& defaultLocators)
{
    FieldWriter writer;
    writer.writeText(hoursText);
    writer.writeText(minutesText);
    writer.writeInteger(useRouterAddress ? 0 : 1);
    writer.writeText(QStringLiteral("1"));
    writer.writeText(pingText);
    for (const QString& locator : defaultLocators) {
        writer.writeField(locator);
    }
    return TextFile::writeWhole(SettingsFileName::resolve(configPath, canonicalName()), writer.content());
}
