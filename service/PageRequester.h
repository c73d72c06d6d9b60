#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class ModalGate;

// One page request at a time: Navigate() starts loading a page, DocumentComplete() delivers the
// URL of the completed document and its visible text. One instance per exchange, never shared;
// a new Navigate() abandons the page in flight, which then never completes.
class PageRequester : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        // The server answered with a page (a success or a redirect's target).
        Answered,
        // The server answered with an error status (4xx or 5xx) and a page: the text is that page,
        // shown as a browser shows it, but it is no answer to the request.
        ClientError,
        ServerError,
        // The text is an error page standing in for a request that got no usable answer.
        Failed
    };
    Q_ENUM(Outcome)

    // What the server said beside the page: its status code (0 when no server answered) and its
    // Retry-After header as sent (empty when it sent none).
    // (No member initializers: a default argument of the class below needs the type complete.)
    struct Reply
    {
        int status;
        QByteArray retryAfter;
    };

    explicit PageRequester(QObject* parent = nullptr);

    // Returns at once; the answer comes through DocumentComplete(), always later on the event loop.
    void Navigate(const QString& url);

    // Abandons the page in flight: it never completes, not even one already held behind a
    // message box. For a window that is going away.
    void stop();

    // Completions wait while a message box of the gate's desktop is open; none by default.
    void setGate(ModalGate* gate);

    // The URL of the document that completed last.
    QString url() const;
    // The visible text of the last completed page. Handlers may replace it with a cleaned copy
    // and read it back.
    QString pageText() const;
    void setPageText(const QString& text);
    // The status and headers that came with the last completed page.
    const Reply& reply() const;

    // The text as the exchanges read it: servers end a plain-text answer with a line break and
    // pad it with blanks, which must not read as an empty name or field.
    static QString answerText(const QString& text);

signals:
    void DocumentComplete(const QString& url, const QString& text, PageRequester::Outcome outcome);

protected:
    virtual void load(const QString& url) = 0;
    // Drops the request in flight, if any, so that it never completes.
    virtual void stopLoading() {}
    // Stores the document's URL and text, then announces it.
    void complete(const QString& url, const QString& text, Outcome outcome, const Reply& reply = {});

private:
    void publish(const QString& url, const QString& text, Outcome outcome, const Reply& reply);

    QString m_url;
    QString m_pageText;
    Reply m_reply{};
    ModalGate* m_gate = nullptr;
    // Counts navigations, so that a completion held behind a message box for an abandoned page is dropped.
    quint64 m_navigations = 0;
};
