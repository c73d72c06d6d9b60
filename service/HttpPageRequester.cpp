#include "HttpPageRequester.h"

#include "PageText.h"

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

    QNetworkRequest request(m_requested);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = m_manager.get(request);
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
    m_timer.start(m_timeout);
}

void HttpPageRequester::abandon()
{
    ++m_generation;
    m_timer.stop();
    m_body.clear();
    if (m_reply) {
        // Disconnect first: abort() reports the reply finished, and nobody must hear it.
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
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
    if (m_reply) {
        fail(ErrorPage::Reason::TimedOut);
    }
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
    abandon();
    complete(url, text, outcomeOf(status));
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
    complete(url, ErrorPage::text(reason), Outcome::Failed);
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
    if (m_reply && m_reply->url() != m_requested) {
        return m_reply->url().toString(QUrl::FullyEncoded);
    }
    return m_navigated;
}
