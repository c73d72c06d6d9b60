#pragma once

#include "FaultPlan.h"
#include "HttpRequest.h"
#include "HttpResponse.h"
#include "SimulatorData.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

#include <functional>

// The service's pages and the control pages that steer the simulator, without any sockets:
// a request goes in, the answer and the fault to apply to it come out.
class ServiceSimulator : public QObject
{
    Q_OBJECT

public:
    struct Answer
    {
        HttpResponse response;
        FaultPlan::Fault fault;
    };

    static constexpr qsizetype HugeBodySize = qsizetype{5} * 1024 * 1024;

    explicit ServiceSimulator(SimulatorData data, QObject* parent = nullptr);

    // The port the gateway URL of the version page names.
    void setPort(quint16 port) { m_port = port; }
    quint16 port() const { return m_port; }
    // Where update times come from; the local clock unless a test fixes it.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // fromLoopback: whether the peer is on this machine; control pages answer only then.
    // overIpv6: whether the peer is connected over IPv6; the echo pages show it the IPv6 address.
    Answer handle(const HttpRequest& request, bool fromLoopback, bool overIpv6 = false);

    QStringList requestLog() const { return m_log; }
    const SimulatorData& data() const { return m_data; }
    const FaultPlan& faults() const { return m_faults; }

    static QString recordTime(const QDateTime& when);

signals:
    // One line per logged request: the method, a space and the raw target.
    void requestLogged(const QString& line);

private:
    HttpResponse route(const HttpRequest& request, bool overIpv6);
    HttpResponse control(const HttpRequest& request);
    HttpResponse validateAccount(const HttpRequest& request) const;
    HttpResponse listDomains(const HttpRequest& request) const;
    HttpResponse listHosts(const HttpRequest& request) const;
    HttpResponse versionPage() const;
    // A plain-text service answer, ended by CR LF when the line-end variant is on.
    HttpResponse answer(const QString& text) const;
    HttpResponse updateGateway(const HttpRequest& request);
    HttpResponse echoPage(const QString& path, bool overIpv6) const;
    HttpResponse recordsPage() const;
    HttpResponse staticPage(const QString& title, const QString& text) const;
    HttpResponse redirectPage(const HttpRequest& request) const;
    HttpResponse setFault(const HttpRequest& request);
    QByteArray recordsText() const;

    SimulatorData m_data;
    FaultPlan m_faults;
    QStringList m_log;
    quint16 m_port = 0;
    bool m_statusLine = false;
    std::function<QDateTime()> m_clock;
};
