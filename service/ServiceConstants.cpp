#include "ServiceConstants.h"

QString ServiceConstants::serviceHost()
{
    return QString::fromUtf8(m_serviceHost);
}

QStringList ServiceConstants::defaultLocators()
{
    return QString::fromUtf8(m_defaultLocators).split(u';', Qt::SkipEmptyParts);
}

QString ServiceConstants::keepAliveSite()
{
    return QString::fromUtf8(m_keepAliveSite);
}
