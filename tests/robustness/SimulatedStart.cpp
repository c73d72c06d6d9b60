#include "SimulatedStart.h"

#include "support/SimulatorProcess.h"
#include "support/TemporaryAppDirectory.h"

#include <QNetworkProxy>

using namespace Qt::StringLiterals;

SimulatedStart::SimulatedStart(SimulatorProcess& sim, TemporaryAppDirectory& dir) : m_sim(sim), m_dir(dir)
{
    m_network.setProxy(QNetworkProxy::NoProxy);
}

SimulatedStart::~SimulatedStart() = default;

void SimulatedStart::seed(const QByteArray& account)
{
    m_dir.writeBytes(u"Conf.ini"_s,
                     (u"0\r\n5\r\n 0 \r\n 1 \r\n0\r\n"_s + m_sim.hostAndPort() + u"/echo1\r\n"_s).toUtf8());
    m_dir.writeBytes(u"Update.ini"_s,
                     (m_sim.baseUrl() + u"/dyn/update\r\n1.3\r\n"_s + clock.todayText() + u"\r\n"_s).toUtf8());
    m_dir.writeBytes(u"Account.ini"_s, account);
}

MainController& SimulatedStart::load()
{
    // The simulator's port is known once it runs.
    m_urls = std::make_unique<ServiceUrls>(m_sim.hostAndPort());
    m_main = std::make_unique<MainController>(MainController::Services{
        desktop, clock, m_machine, *this, m_wizard,
        [this](const QString& name, QObject* parent) -> PageRequester* {
            auto* requester = new HttpPageRequester(m_network, parent);
            requester->setObjectName(name);
            return requester;
        },
        m_dir.path(), m_sim.hostAndPort(), m_sim.hostAndPort() + u"/keepalive"_s, m_sim.hostAndPort() + u"/echo1"_s});
    m_main->Form_Load();
    return *m_main;
}

void SimulatedStart::startCredentialCheck()
{
    RecordingWindows::startCredentialCheck();
    // A check may still be finishing; it goes with the others when the start does.
    if (m_check) {
        m_earlier.push_back(std::move(m_check));
        m_earlier.push_back(std::move(m_wb));
    }
    m_wb = std::make_unique<HttpPageRequester>(m_network);
    m_check = std::make_unique<CredentialCheck>(
        CredentialCheck::Parts{*m_wb, *m_main, *this, m_wizard, desktop, clock, *m_urls}, false);
    m_check->tmr_Timer();
}
