#include "PageRequester.h"

PageRequester::PageRequester(QObject* parent) : QObject(parent) {}

QString PageRequester::url() const
{
    return m_url;
}

QString PageRequester::pageText() const
{
    return m_pageText;
}

void PageRequester::setPageText(const QString& text)
{
    m_pageText = text;
}

void PageRequester::complete(const QString& url, const QString& text, Outcome outcome)
{
    m_url = url;
    m_pageText = text;
    emit documentComplete(url, text, outcome);
}
