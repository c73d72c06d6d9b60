#include "ServiceSimulator.h"

#include <utility>

static QByteArray crLf()
{
    return QByteArrayLiteral("\r\n");
}

static QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

static HttpResponse plain(const QString& text)
{
    return HttpResponse::text(200, text.toUtf8());
}

// An error page as a stock web server writes it, its footer naming the server's own address.
static HttpResponse serverErrorPage(int status, const QByteArray& title, const QByteArray& sentence)
{
    return HttpResponse(status, "text/html; charset=iso-8859-1",
                        "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 2.0//EN\">\n<html><head><title>" + title +
                            "</title></head><body>\n<h1>" + title.mid(4) + "</h1>\n<p>" + sentence +
                            "</p>\n<hr>\n<address>Apache/2.4.57 (Debian) Server at 10.0.0.5 Port 80</address>\n"
                            "</body></html>\n");
}

// The sign-in page a hotel or guest network shows in place of any page until one signs in. Its one
// address is the portal's private one, and nothing in it has an "=", so it reads as no answer.
static HttpResponse portalPage()
{
    return HttpResponse(200, "text/html",
                        "<!DOCTYPE html>\n<html><head><title>Network sign-in</title></head><body>\n"
                        "<h1>Network sign-in required</h1>\n"
                        "<p>Welcome to the guest network. Please sign in to use the Internet.</p>\n"
                        "<p>Open http://192.168.100.1/login to continue.</p>\n"
                        "</body></html>\n");
}

static HttpResponse badControl(const QString& reason)
{
    return HttpResponse::text(400, reason.toUtf8());
}

static bool isControlPath(const QString& path)
{
    return path == u"/control" || path.startsWith(u"/control/");
}

ServiceSimulator::ServiceSimulator(SimulatorData data, QObject* parent)
    : QObject(parent), m_data(std::move(data)), m_clock([] { return QDateTime::currentDateTime(); })
{}

QString ServiceSimulator::recordTime(const QDateTime& when)
{
    return when.isValid() ? when.toString(u"yyyy-MM-dd HH:mm:ss") : QStringLiteral("never");
}

ServiceSimulator::Answer ServiceSimulator::handle(const HttpRequest& request, bool fromLoopback, bool overIpv6)
{
    const QString path = request.path();
    if (isControlPath(path)) {
        if (!fromLoopback) {
            return {HttpResponse::text(403, "control pages answer only to loopback peers"), {}};
        }
        return {control(request), {}};
    }

    const QString line = QString::fromUtf8(request.method() + ' ' + request.rawTarget());
    m_log.append(line);
    emit requestLogged(line);

    const FaultPlan::Fault fault = m_faults.take(path);
    switch (fault.kind) {
    case FaultPlan::Kind::None:
    case FaultPlan::Kind::Slow:
    case FaultPlan::Kind::Reset:
        // The service did its work; only the way the answer travels is spoiled.
        return {route(request, overIpv6), fault};
    case FaultPlan::Kind::Status500:
        return {HttpResponse::text(500, "Internal Server Error"), fault};
    case FaultPlan::Kind::Status500Empty:
        return {HttpResponse(500, QByteArray(), QByteArray()), fault};
    case FaultPlan::Kind::Status500Html:
        return {serverErrorPage(500, "500 Internal Server Error",
                                "The server encountered an internal error and was unable to complete your request."),
                fault};
    case FaultPlan::Kind::Status404Footer:
        return {serverErrorPage(404, "404 Not Found", "The requested URL was not found on this server."), fault};
    case FaultPlan::Kind::Status429: {
        HttpResponse response = HttpResponse::text(429, "Too Many Requests");
        response.addHeader("Retry-After", QByteArray::number(fault.retryAfterS));
        return {response, fault};
    }
    case FaultPlan::Kind::Portal:
        return {portalPage(), fault};
    case FaultPlan::Kind::Empty:
        return {HttpResponse::text(200, QByteArray()), fault};
    case FaultPlan::Kind::Huge: {
        // Long lines with no digits, so nothing in it reads as a status code or an address.
        const QByteArray line64 = QByteArray(63, 'x') + '\n';
        QByteArray body = line64.repeated(HugeBodySize / line64.size() + 1);
        body.truncate(HugeBodySize);
        return {HttpResponse::text(200, body), fault};
    }
    case FaultPlan::Kind::Drop:
    case FaultPlan::Kind::Hang:
    case FaultPlan::Kind::Garbage:
        // Nothing reaches the service: it never sees the request.
        return {HttpResponse(), fault};
    }
    return {route(request, overIpv6), fault};
}

HttpResponse ServiceSimulator::route(const HttpRequest& request, bool overIpv6)
{
    if (request.method() != "GET") {
        HttpResponse response = HttpResponse::text(405, "only GET is served");
        response.addHeader("Allow", "GET");
        return response;
    }
    const QString path = request.path();
    if (path == u"/ipupdate/account_validate.jsp") {
        return validateAccount(request);
    }
    if (path == u"/ipupdate/domains.jsp") {
        return listDomains(request);
    }
    if (path == u"/ipupdate/hosts.jsp") {
        return listHosts(request);
    }
    if (path == u"/ipupdate/dyndata.txt") {
        return versionPage();
    }
    if (path == u"/dyn/update") {
        return updateGateway(request);
    }
    if (path == u"/whatismyip" || path == u"/echo1" || path == u"/echo2" || path == u"/echo3") {
        return echoPage(path, overIpv6);
    }
    if (path == u"/keepalive") {
        return staticPage(QStringLiteral("Keep-alive"), QStringLiteral("Connection kept alive."));
    }
    if (path == u"/") {
        return staticPage(QStringLiteral("Quorvex dynamic DNS"),
                          QStringLiteral("Welcome to the Quorvex dynamic DNS service (simulated). "
                                         "<a href=\"/Direct.sv?cmd=signup\">Sign up</a> or "
                                         "<a href=\"/Direct.sv?cmd=ipClients\">download the client</a>."));
    }
    if (path == u"/Direct.sv") {
        const QString command = request.queryValue(QStringLiteral("cmd")).value_or(QString());
        if (command == u"signup") {
            return staticPage(QStringLiteral("Sign up"), QStringLiteral("Create your free dynamic DNS account here."));
        }
        if (command == u"ipClients") {
            return staticPage(QStringLiteral("Download"),
                              u"Download the Quorvex IP updater, version " + escaped(m_data.version()) + u'.');
        }
    }
    if (path == u"/records") {
        return recordsPage();
    }
    if (path == u"/redirect") {
        return redirectPage(request);
    }
    return HttpResponse::text(404, "404 Not Found: " + path.toUtf8());
}

HttpResponse ServiceSimulator::answer(const QString& text) const
{
    return plain(m_data.lineEnds() ? text + u"\r\n" : text);
}

HttpResponse ServiceSimulator::validateAccount(const HttpRequest& request) const
{
    const std::optional<QString> login = request.queryValue(QStringLiteral("login"));
    const std::optional<QString> password = request.queryValue(QStringLiteral("password"));
    const SimulatorData::Account* account = login ? m_data.account(*login) : nullptr;
    if (account && password && account->password == *password) {
        return answer(QStringLiteral("0=Account validated"));
    }
    return answer(QStringLiteral("1=Invalid login"));
}

HttpResponse ServiceSimulator::listDomains(const HttpRequest& request) const
{
    const SimulatorData::Account* account =
        m_data.account(request.queryValue(QStringLiteral("login")).value_or(QString()));
    if (!account) {
        return answer(QStringLiteral("2=Invalid login"));
    }
    if (account->domains.isEmpty()) {
        return answer(QStringLiteral("1=no domains"));
    }
    return answer(u"0=" + account->domains.join(u' '));
}

HttpResponse ServiceSimulator::listHosts(const HttpRequest& request) const
{
    const SimulatorData::Account* account =
        m_data.account(request.queryValue(QStringLiteral("login")).value_or(QString()));
    if (!account) {
        return answer(QStringLiteral("2=Invalid login"));
    }
    const SimulatorData::Domain* domain =
        m_data.domain(request.queryValue(QStringLiteral("domain")).value_or(QString()));
    if (!domain || domain->account != account->name) {
        return answer(QStringLiteral("3=Unknown domain"));
    }
    if (domain->hosts.isEmpty()) {
        return answer(QStringLiteral("1=no hosts/subdomain"));
    }
    return answer(u"0=" + domain->hosts.join(u' '));
}

HttpResponse ServiceSimulator::versionPage() const
{
    const QByteArray gateway = "http://127.0.0.1:" + QByteArray::number(m_port) + "/dyn/update";
    return HttpResponse::text(200, "url=" + gateway + crLf() + "version=" + m_data.version().toUtf8() + crLf());
}

HttpResponse ServiceSimulator::updateGateway(const HttpRequest& request)
{
    const std::optional<QString> login = request.queryValue(QStringLiteral("login"));
    const std::optional<QString> password = request.queryValue(QStringLiteral("password"));
    const SimulatorData::Account* account = login ? m_data.account(*login) : nullptr;
    const bool loginValid = account && password && account->password == *password;
    // Without an address the update takes the caller's public one, as a live gateway does.
    const QString myip = request.queryValue(QStringLiteral("myip")).value_or(QString());
    const QString address = myip.isEmpty() ? m_data.publicIp() : myip;

    QByteArray body = m_statusLine ? QByteArray("HTTP/1.1 200 OK") + crLf() : QByteArray();
    const QStringList hosts = request.queryList(QStringLiteral("host"));
    if (hosts.isEmpty() || (hosts.size() == 1 && hosts.first().isEmpty())) {
        body += "1=no host given" + crLf();
        return HttpResponse::text(200, body);
    }
    const QDateTime now = m_clock();
    for (const QString& name : hosts) {
        QString line;
        if (!loginValid) {
            line = u"1=" + name + u" invalid login";
        } else if (!SimulatorData::isIpv4Address(address)) {
            line = u"1=" + name + u" bad address " + address;
        } else {
            const SimulatorData::Host* host = m_data.host(name);
            const SimulatorData::Domain* domain = host ? m_data.domain(host->domain) : nullptr;
            if (!domain || domain->account != account->name) {
                line = u"1=" + name + u" unknown host";
            } else {
                m_data.updateHost(name, address, now);
                line = u"0=" + name + u" updated to " + address;
            }
        }
        body += line.toUtf8() + crLf();
    }
    return HttpResponse::text(200, body);
}

HttpResponse ServiceSimulator::echoPage(const QString& path, bool overIpv6) const
{
    // As a dual-stack echo page does: the address of the family the caller came over.
    const QString ip = escaped(overIpv6 ? m_data.publicIp6() : m_data.publicIp());
    QString page;
    if (path == u"/whatismyip") {
        page = u"<html><head><title>What is my IP</title></head><body><h1>Your IP address</h1>"
               u"<p>Current IP Address: " +
               ip + u"</p></body></html>";
    } else if (path == u"/echo1") {
        page = u"<html><head><title>IP echo</title></head><body><p>Your IP is " + ip + u"</p></body></html>";
    } else if (path == u"/echo2") {
        page = u"<html><head><title>Address check</title></head><body><table><tr><th>Your address</th></tr>"
               u"<tr><td>" +
               ip + u"</td></tr></table></body></html>";
    } else {
        page = u"<html><head><title>Remote address</title></head><body><div>Remote address: <b>" + ip +
               u"</b></div><div>Served by the third echo host.</div></body></html>";
    }
    return HttpResponse::html(page.toUtf8());
}

HttpResponse ServiceSimulator::staticPage(const QString& title, const QString& text) const
{
    const QString page = u"<html><head><title>" + title + u"</title></head><body><h1>" + title + u"</h1><p>" + text +
                         u"</p></body></html>";
    return HttpResponse::html(page.toUtf8());
}

HttpResponse ServiceSimulator::recordsPage() const
{
    QString rows;
    for (const SimulatorData::Host& host : m_data.hosts()) {
        const SimulatorData::Domain* domain = m_data.domain(host.domain);
        rows += u"<tr><td>" + escaped(host.name) + u"</td><td>" + escaped(host.domain) + u"</td><td>" +
                escaped(domain ? domain->account : QString()) + u"</td><td>" + escaped(host.address) + u"</td><td>" +
                recordTime(host.lastUpdate) + u"</td></tr>";
    }
    const QString page = u"<html><head><title>Records</title></head><body><h1>Records</h1><table>"
                         u"<tr><th>Host</th><th>Domain</th><th>Account</th><th>Address</th><th>Last update</th></tr>" +
                         rows + u"</table></body></html>";
    return HttpResponse::html(page.toUtf8());
}

HttpResponse ServiceSimulator::redirectPage(const HttpRequest& request) const
{
    const QString target = request.queryValue(QStringLiteral("to")).value_or(QString());
    // Only a path on this server: a redirect must never lead a client off loopback.
    if (!target.startsWith(u'/') || target.startsWith(u"//")) {
        return HttpResponse::text(400, "to= must be a path on this server");
    }
    for (const QChar c : target) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f) {
            return HttpResponse::text(400, "to= must be a percent-encoded path");
        }
    }
    return HttpResponse::redirect(target.toLatin1());
}

HttpResponse ServiceSimulator::control(const HttpRequest& request)
{
    const QString path = request.path();
    const std::optional<QString> value = request.queryValue(QStringLiteral("value"));
    if (path == u"/control/public-ip") {
        if (!value || !SimulatorData::isIpv4Address(*value)) {
            return badControl(QStringLiteral("value must be an IPv4 address"));
        }
        m_data.setPublicIp(*value);
        return plain(QStringLiteral("ok"));
    }
    if (path == u"/control/public-ip6") {
        if (!value || !SimulatorData::isIpv6Address(*value)) {
            return badControl(QStringLiteral("value must be an IPv6 address (hex groups only, no zone)"));
        }
        m_data.setPublicIp6(*value);
        return plain(QStringLiteral("ok"));
    }
    if (path == u"/control/version") {
        if (!value || value->isEmpty() || value->contains(u'\r') || value->contains(u'\n')) {
            return badControl(QStringLiteral("value must be a version text without line breaks"));
        }
        m_data.setVersion(*value);
        return plain(QStringLiteral("ok"));
    }
    if (path == u"/control/line-ends") {
        if (value != u"on" && value != u"off") {
            return badControl(QStringLiteral("value must be on or off"));
        }
        m_data.setLineEnds(*value == u"on");
        return plain(QStringLiteral("ok"));
    }
    if (path == u"/control/status-line") {
        if (value != u"on" && value != u"off") {
            return badControl(QStringLiteral("value must be on or off"));
        }
        m_statusLine = *value == u"on";
        return plain(QStringLiteral("ok"));
    }
    if (path == u"/control/fault") {
        return setFault(request);
    }
    if (path == u"/control/log") {
        QByteArray text;
        for (const QString& line : std::as_const(m_log)) {
            text += line.toUtf8() + '\n';
        }
        return HttpResponse::text(200, text);
    }
    if (path == u"/control/log/clear") {
        m_log.clear();
        return plain(QStringLiteral("ok"));
    }
    if (path == u"/control/records") {
        return HttpResponse::text(200, recordsText());
    }
    return HttpResponse::text(404, "unknown control page " + path.toUtf8());
}

HttpResponse ServiceSimulator::setFault(const HttpRequest& request)
{
    const QString path = request.queryValue(QStringLiteral("path")).value_or(QString());
    if (!path.startsWith(u'/')) {
        return badControl(QStringLiteral("path must be a path such as /echo1"));
    }
    if (isControlPath(path)) {
        return badControl(QStringLiteral("control pages cannot be given faults"));
    }
    const std::optional<FaultPlan::Kind> kind =
        FaultPlan::kindFromName(request.queryValue(QStringLiteral("kind")).value_or(QString()));
    if (!kind) {
        return badControl(QStringLiteral("kind must be one of none, drop, hang, 500, 500-empty, 500-html, "
                                         "404-footer, 429, portal, empty, garbage, huge, slow, reset"));
    }
    int times = FaultPlan::Unlimited;
    if (const std::optional<QString> timesText = request.queryValue(QStringLiteral("times"))) {
        bool ok = false;
        times = timesText->toInt(&ok);
        if (!ok || times < 1) {
            return badControl(QStringLiteral("times must be a whole number of 1 or more"));
        }
    }
    int delayMs = FaultPlan::DefaultDelayMs;
    if (const std::optional<QString> delayText = request.queryValue(QStringLiteral("delay-ms"))) {
        bool ok = false;
        delayMs = delayText->toInt(&ok);
        if (!ok || delayMs < 0 || delayMs > 60000) {
            return badControl(QStringLiteral("delay-ms must be a whole number from 0 to 60000"));
        }
    }
    int retryAfterS = FaultPlan::DefaultRetryAfterS;
    if (const std::optional<QString> retryText = request.queryValue(QStringLiteral("retry-after"))) {
        // Digits only, as a Retry-After header in seconds is written.
        bool ok = !retryText->isEmpty();
        for (const QChar c : *retryText) {
            ok = ok && c >= u'0' && c <= u'9';
        }
        retryAfterS = ok ? retryText->toInt(&ok) : 0;
        if (!ok) {
            return badControl(QStringLiteral("retry-after must be a whole number of seconds, 0 or more"));
        }
    }
    m_faults.set(path, *kind, times, delayMs, retryAfterS);
    return plain(QStringLiteral("ok"));
}

QByteArray ServiceSimulator::recordsText() const
{
    QByteArray text;
    for (const SimulatorData::Host& host : m_data.hosts()) {
        text += (host.name + u'\t' + host.address + u'\t' + recordTime(host.lastUpdate)).toUtf8() + '\n';
    }
    return text;
}
