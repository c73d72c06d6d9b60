#pragma once

#include "ErrorPage.h"
#include "PageRequester.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <chrono>

class QNetworkAccessManager;
class QNetworkReply;

// A page requester on a network manager that its owner passes in. Every request ends in exactly
// one completion unless a later Navigate() abandons it: the page's text when the server
// answered, an error page (Outcome::Failed) when it did not, took too long, sent too much, or
// sent nothing to show.
class HttpPageRequester : public PageRequester
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds defaultTimeout{60000};
    static constexpr qint64 defaultSizeLimit = qint64{1024} * 1024;

    explicit HttpPageRequester(QNetworkAccessManager& manager, QObject* parent = nullptr);
    ~HttpPageRequester() override;

    // The requester of the exchange named (its object name: "wb_external", "wb_setip", ...),
    // naming the program as product/version, e.g. "Quorvex/1.3". The router's address is an IPv4
    // address, so the locator lookup alone connects over IPv4 only.
    static HttpPageRequester* forExchange(QNetworkAccessManager& manager, const QString& name, const QString& product,
                                          QObject* parent);

    // The longest a request may take from Navigate() to its last byte.
    void setTimeout(std::chrono::milliseconds timeout);
    std::chrono::milliseconds timeout() const;
    // The largest body, counted after decompression, that is still shown.
    void setSizeLimit(qint64 bytes);
    qint64 sizeLimit() const;

    // Every request names the program, e.g. "Quorvex/1.3", in place of the toolkit's own agent.
    void setUserAgent(const QByteArray& agent);
    // Connect over IPv4 only, redirects included: a page that prints its caller's address then
    // prints the IPv4 one. A host with no IPv4 address fails as one that cannot be found.
    void setIpv4Only(bool ipv4Only);

    // The address an IPv4-only request connects to: the first IPv4 one the resolver gave, an
    // IPv4-mapped IPv6 address counted as the IPv4 one it carries. Null when there is none.
    static QHostAddress firstIpv4(const QList<QHostAddress>& addresses);

    // The URL that Navigate() requests for a given text: a text without a scheme is taken as
    // "http://" followed by it. Invalid when the text names no web page.
    static QUrl requestUrl(const QString& url);

protected:
    void load(const QString& url) override;
    void stopLoading() override;

private:
    // Requests one hop of the navigation: the page named at first, or a redirect's target.
    void request(const QUrl& url);
    void requestAt(const QUrl& url, const QHostAddress& address);
    void send(const QNetworkRequest& request);
    // Follows a redirect by hand, as an IPv4-only request must; false when the answer is none.
    bool followedRedirect(int status);
    void dropReply();
    void abandon();
    void onReadyRead();
    void onFinished();
    void onTimeout();
    bool takeBody();
    // A body shorter than the length its header announced.
    bool isTruncated() const;
    void fail(ErrorPage::Reason reason);
    void completeLater(const QString& url, const QString& text, Outcome outcome);
    QString completionUrl() const;

    QNetworkAccessManager& m_manager;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timer;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    qint64 m_sizeLimit = defaultSizeLimit;
    QByteArray m_userAgent;
    bool m_ipv4Only = false;
    QString m_navigated;
    QUrl m_requested;
    // The page of the hop in flight, by name, when redirects are followed by hand.
    QUrl m_current;
    int m_redirects = 0;
    int m_lookupId = -1;
    QByteArray m_body;
    // Counts navigations, so that a completion queued for an abandoned page is dropped.
    quint64 m_generation = 0;
};
