#include "ReachabilityNetworkWatch.h"

#include <QNetworkInformation>

ReachabilityNetworkWatch::ReachabilityNetworkWatch(QObject* parent) : NetworkWatch(parent)
{
    if (!QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
        return;
    }
    QNetworkInformation* information = QNetworkInformation::instance();
    m_watching = information != nullptr;
    if (m_watching) {
        connect(information, &QNetworkInformation::reachabilityChanged, this, &NetworkWatch::changed);
    }
}

bool ReachabilityNetworkWatch::isOnline() const
{
    const QNetworkInformation* information = QNetworkInformation::instance();
    return !m_watching || information == nullptr ||
           information->reachability() != QNetworkInformation::Reachability::Disconnected;
}
