#include "HttpPageRequester.h"

#include "PageText.h"
#include "ProjConf.h"

#include <QHostInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>

namespace {

bool hasScheme(const QString& url)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.\\-]*://"));
    return scheme.match(url).hasMatch();
}

bool isHttpStatusError(int status)
{
    return status >= 400 && status <= 599;
}

PageRequester::Outcome outcomeOf(int status)
{
    if (status >= 500 && status <= 599) {
        return PageRequester::Outcome::ServerError;
    }
    return status >= 400 && status <= 499 ? PageRequester::Outcome::ClientError : PageRequester::Outcome::Answered;
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// As many hops as the toolkit follows by itself.
constexpr int maximumRedirects = 50;

} // namespace

HttpPageRequester::HttpPageRequester(QNetworkAccessManager& manager, QObject* parent)
    : PageRequester(parent), m_manager(manager)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &HttpPageRequester::onTimeout);
}

HttpPageRequester::~HttpPageRequester()
{
    abandon();
}

HttpPageRequester* HttpPageRequester::forExchange(QNetworkAccessManager& manager, const QString& name,
                                                  const QString& product, QObject* parent)
{
    auto* requester = new HttpPageRequester(manager, parent);
    requester->setObjectName(name);
    ProjConf conf;
    conf.Initialize();
    requester->setUserAgent((product + u'/' + conf.Version).toUtf8());
    requester->setIpv4Only(name == u"wb_external");
    return requester;
}

void HttpPageRequester::setTimeout(std::chrono::milliseconds timeout)
{
    m_timeout = timeout;
}

std::chrono::milliseconds HttpPageRequester::timeout() const
{
    return m_timeout;
}

void HttpPageRequester::setSizeLimit(qint64 bytes)
{
    m_sizeLimit = bytes;
}

qint64 HttpPageRequester::sizeLimit() const
{
    return m_sizeLimit;
}

void HttpPageRequester::setUserAgent(const QByteArray& agent)
{
    m_userAgent = agent;
}

void HttpPageRequester::setIpv4Only(bool ipv4Only)
{
    m_ipv4Only = ipv4Only;
}

QHostAddress HttpPageRequester::firstIpv4(const QList<QHostAddress>& addresses)
{
    for (const QHostAddress& address : addresses) {
        bool isIpv4 = false;
        const quint32 ipv4 = address.toIPv4Address(&isIpv4);
        if (isIpv4) {
            return QHostAddress(ipv4);
        }
    }
    return {};
}

QUrl HttpPageRequester::requestUrl(const QString& url)
{
    const QString trimmed = url.trimmed();
    if (trimmed.isEmpty()) {
        return {};
    }
    // Locators and the keep-alive site are given as "host[:port][/path]"; QUrl alone would read
    // "localhost:8780" as a scheme.
    QUrl result(hasScheme(trimmed) ? trimmed : QStringLiteral("http://") + trimmed, QUrl::TolerantMode);
    const QString scheme = result.scheme().toLower();
    if (!result.isValid() || result.host().isEmpty() || (scheme != u"http" && scheme != u"https")) {
        return {};
    }
    return result;
}

void HttpPageRequester::load(const QString& url)
{
    abandon();
    m_navigated = url;

    if (url.trimmed().compare(u"about:blank", Qt::CaseInsensitive) == 0) {
        completeLater(url, QString(), Outcome::Answered);
        return;
    }
    m_requested = requestUrl(url);
    if (!m_requested.isValid()) {
        const bool named = hasScheme(url.trimmed()) || url.trimmed().startsWith(u"about:", Qt::CaseInsensitive);
        completeLater(
            url, ErrorPage::text(named ? ErrorPage::Reason::UnsupportedAddress : ErrorPage::Reason::InvalidAddress),
            Outcome::Failed);
        return;
    }

    m_redirects = 0;
    m_timer.start(m_timeout);
    request(m_requested);
}

void HttpPageRequester::stopLoading()
{
    abandon();
}

void HttpPageRequester::request(const QUrl& url)
{
    m_current = url;
    if (!m_ipv4Only) {
        QNetworkRequest request(url);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
        send(request);
        return;
    }
    const QHostAddress literal(url.host());
    if (!literal.isNull()) {
        requestAt(url, firstIpv4({literal}));
        return;
    }
    const quint64 generation = m_generation;
    m_lookupId = QHostInfo::lookupHost(url.host(), this, [this, generation, url](const QHostInfo& info) {
        if (generation == m_generation) {
            m_lookupId = -1;
            requestAt(url, firstIpv4(info.addresses()));
        }
    });
}

void HttpPageRequester::requestAt(const QUrl& url, const QHostAddress& address)
{
    if (address.isNull()) {
        fail(ErrorPage::Reason::HostNotFound);
        return;
    }
    QUrl byAddress = url;
    byAddress.setHost(address.toString());
    QNetworkRequest request(byAddress);
    // The server and its certificate still go by the name.
    const int port = url.port();
    request.setRawHeader("Host", url.host(QUrl::FullyEncoded).toUtf8() +
                                     (port < 0 ? QByteArray() : ':' + QByteArray::number(port)));
    request.setPeerVerifyName(url.host());
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    send(request);
}

void HttpPageRequester::send(const QNetworkRequest& request)
{
    QNetworkRequest named = request;
    if (!m_userAgent.isEmpty()) {
        named.setHeader(QNetworkRequest::UserAgentHeader, m_userAgent);
    }
    QNetworkReply* reply = m_manager.get(named);
    m_reply = reply;
    // Only the reply in flight may speak. An abandoned reply is disconnected as well, but a signal
    // already being delivered when a handler navigates again must not reach the newer request.
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        if (reply == m_reply) {
            onReadyRead();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        if (reply == m_reply) {
            onFinished();
        }
    });
}

bool HttpPageRequester::followedRedirect(int status)
{
    if (!m_ipv4Only || !isRedirect(status)) {
        return false;
    }
    const QUrl location = m_reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    if (location.isEmpty()) {
        return false;
    }
    const QUrl target = m_current.resolved(location);
    const QString scheme = target.scheme().toLower();
    if (!target.isValid() || target.host().isEmpty() || (scheme != u"http" && scheme != u"https")) {
        fail(ErrorPage::Reason::UnsupportedAddress);
    } else if (m_current.scheme().toLower() == u"https" && scheme == u"http") {
        fail(ErrorPage::Reason::InsecureRedirect);
    } else if (++m_redirects > maximumRedirects) {
        fail(ErrorPage::Reason::TooManyRedirects);
    } else {
        dropReply();
        m_body.clear();
        request(target);
    }
    return true;
}

void HttpPageRequester::dropReply()
{
    if (m_reply) {
        // Disconnect first: abort() reports the reply finished, and nobody must hear it.
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void HttpPageRequester::abandon()
{
    ++m_generation;
    m_timer.stop();
    m_body.clear();
    if (m_lookupId >= 0) {
        QHostInfo::abortHostLookup(m_lookupId);
        m_lookupId = -1;
    }
    dropReply();
}

bool HttpPageRequester::takeBody()
{
    m_body += m_reply->readAll();
    return m_body.size() <= m_sizeLimit;
}

void HttpPageRequester::onReadyRead()
{
    if (!takeBody()) {
        fail(ErrorPage::Reason::TooLarge);
    }
}

void HttpPageRequester::onTimeout()
{
    // The timer runs only while a page is on its way, the host lookup included.
    fail(ErrorPage::Reason::TimedOut);
}

void HttpPageRequester::onFinished()
{
    if (!takeBody()) {
        fail(ErrorPage::Reason::TooLarge);
        return;
    }
    const QNetworkReply::NetworkError error = m_reply->error();
    const QVariant statusAttribute = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int status = statusAttribute.isValid() ? statusAttribute.toInt() : 0;
    const QByteArray contentType = m_reply->rawHeader("Content-Type");
    if (followedRedirect(status)) {
        return;
    }

    if (error != QNetworkReply::NoError && !(isHttpStatusError(status) && !m_body.isEmpty())) {
        // An error status with a page is shown as the page, as a browser would; without one
        // there is nothing to show.
        fail(isHttpStatusError(status) ? ErrorPage::Reason::HttpError : ErrorPage::reasonFor(error));
        return;
    }
    if (isTruncated()) {
        // The network layer can report a connection lost mid-body as a finished page; half a
        // host list or half an update answer must not pass for the whole one.
        fail(ErrorPage::Reason::ConnectionLost);
        return;
    }
    const QString text = PageText::fromBody(m_body, contentType);
    if (PageRequester::answerText(text).isEmpty()) {
        // An empty body, a 204 or a page of markup alone: only the blank page completes empty,
        // and an exchange would wait for ever on an answer it takes for the blank page.
        fail(isHttpStatusError(status) ? ErrorPage::Reason::HttpError : ErrorPage::Reason::EmptyPage);
        return;
    }
    const QString url = completionUrl();
    const Reply reply{status, m_reply->rawHeader("Retry-After")};
    abandon();
    complete(url, text, outcomeOf(status), reply);
}

bool HttpPageRequester::isTruncated() const
{
    // A body the network layer decompressed no longer carries the length the server sent, so
    // the check applies only where the header survives.
    const QVariant announced = m_reply->header(QNetworkRequest::ContentLengthHeader);
    return announced.isValid() && m_body.size() < announced.toLongLong();
}

void HttpPageRequester::fail(ErrorPage::Reason reason)
{
    const QString url = completionUrl();
    abandon();
    // Later, as every completion: a host with no IPv4 address fails inside Navigate().
    completeLater(url, ErrorPage::text(reason), Outcome::Failed);
}

void HttpPageRequester::completeLater(const QString& url, const QString& text, Outcome outcome)
{
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation, url, text, outcome] {
            if (generation == m_generation) {
                complete(url, text, outcome);
            }
        },
        Qt::QueuedConnection);
}

QString HttpPageRequester::completionUrl() const
{
    // Redirects followed by hand leave the reply at an address, so the page goes by its name.
    const QUrl completed = m_ipv4Only || !m_reply ? m_current : m_reply->url();
    return completed.isValid() && completed != m_requested ? completed.toString(QUrl::FullyEncoded) : m_navigated;
}
