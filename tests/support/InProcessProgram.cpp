#include "InProcessProgram.h"

#include "MainController.h"
#include "QuorvexApp.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QNetworkProxy>

InProcessProgram::InProcessProgram(const QString& serviceHost)
    : m_host(serviceHost.isEmpty() ? QStringLiteral("127.0.0.1:8780") : serviceHost), m_real(!serviceHost.isEmpty())
{
    m_network.setProxy(QNetworkProxy::NoProxy);
}

InProcessProgram::~InProcessProgram() = default;

void InProcessProgram::seed(const QByteArray& conf, const QByteArray& account, const QString& checkedOn)
{
    const QString date = checkedOn.isEmpty() ? clock.todayText() : checkedOn;
    dir.writeBytes(QStringLiteral("Update.ini"),
                   QStringLiteral("http://%1/dyn/update\r\n1.3\r\n%2\r\n").arg(m_host, date).toUtf8());
    dir.writeBytes(QStringLiteral("Conf.ini"), conf);
    dir.writeBytes(QStringLiteral("Account.ini"), account);
}

MainController& InProcessProgram::load()
{
    if (!m_real) {
        main().Form_Load();
    } else if (!m_app) {
        m_app = std::make_unique<QuorvexApp>(
            QuorvexApp::Environment{desktop, clock, machine, watch, m_network, SettingsDirectory(dir.path()), m_host,
                                    m_host + QStringLiteral("/keepalive"), defaultLocators()});
        waitFor([this] { return m_app->main() != nullptr; });
    }
    return main();
}

MainController& InProcessProgram::main()
{
    if (m_real) {
        return *m_app->main();
    }
    if (!m_main) {
        const auto makeRequester = [this](const QString& name, QObject* parent) -> PageRequester* {
            return m_requesters[name] = new ScriptedPageRequester(parent);
        };
        m_main = std::make_unique<MainController>(MainController::Services{
            desktop, clock, machine, watch, *this, wizard, makeRequester, SettingsDirectory(dir.path()), m_host,
            m_host + QStringLiteral("/keepalive"), defaultLocators().constFirst()});
    }
    return *m_main;
}

QStringList InProcessProgram::logEntries()
{
    return QString(main().log().text()).remove(clock.NowText()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

bool InProcessProgram::waitFor(const std::function<bool()>& condition, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
