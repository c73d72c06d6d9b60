#pragma once

#include <QObject>
#include <QString>

// One page request at a time: navigate() starts loading a page, documentComplete() delivers the
// URL of the completed document and its visible text. One instance per exchange, never shared;
// a new navigate() abandons the page in flight, which then never completes.
class PageRequester : public QObject
{
    Q_OBJECT

public:
    // Failed: the text is an error page standing in for a request that got no usable answer.
    enum class Outcome { Answered, Failed };
    Q_ENUM(Outcome)

    explicit PageRequester(QObject* parent = nullptr);

    // Returns at once; the answer comes through documentComplete(), always later on the event loop.
    virtual void navigate(const QString& url) = 0;

    // The URL of the document that completed last.
    QString url() const;
    // The visible text of the last completed page. Handlers may replace it with a cleaned copy
    // and read it back.
    QString pageText() const;
    void setPageText(const QString& text);

signals:
    void documentComplete(const QString& url, const QString& text, PageRequester::Outcome outcome);

protected:
    // Stores the document's URL and text, then announces it.
    void complete(const QString& url, const QString& text, Outcome outcome);

private:
    QString m_url;
    QString m_pageText;
};
