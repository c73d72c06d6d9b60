#pragma once

#include "ErrorPage.h"
#include "PageRequester.h"

#include <QByteArray>
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

    // The longest a request may take from Navigate() to its last byte.
    void setTimeout(std::chrono::milliseconds timeout);
    std::chrono::milliseconds timeout() const;
    // The largest body, counted after decompression, that is still shown.
    void setSizeLimit(qint64 bytes);
    qint64 sizeLimit() const;

    // The URL that Navigate() requests for a given text: a text without a scheme is taken as
    // "http://" followed by it. Invalid when the text names no web page.
    static QUrl requestUrl(const QString& url);

protected:
    void load(const QString& url) override;

private:
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
    QString m_navigated;
    QUrl m_requested;
    QByteArray m_body;
    // Counts navigations, so that a completion queued for an abandoned page is dropped.
    quint64 m_generation = 0;
};
