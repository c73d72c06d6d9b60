#include "SettingsModel.h"

#include "NumberText.h"

std::optional<qint16> SettingsModel::intervalMinutes(double hours, double minutes)
{
    return NumberText::toInt16(hours * 60.0 + minutes);
}

QString SettingsModel::nextUpdateText(int minutes)
{
    const int hours = minutes / 60;
    return QString::number(hours) + QStringLiteral(" Hours ") + QString::number(minutes - 60 * hours) +
           QStringLiteral(" Minutes");
}
