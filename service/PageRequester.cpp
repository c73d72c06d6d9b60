#include "PageRequester.h"

#include "ModalGate.h"

#include <QPointer>

PageRequester::PageRequester(QObject* parent) : QObject(parent) {}

void PageRequester::Navigate(const QString& url)
{
    ++m_navigations;
    load(url);
}

void PageRequester::stop()
{
    ++m_navigations;
    stopLoading();
}

void PageRequester::setGate(ModalGate* gate)
{
    m_gate = gate;
}

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

const PageRequester::Reply& PageRequester::reply() const
{
    return m_reply;
}

QString PageRequester::answerText(const QString& text)
{
    return text.trimmed();
}

void PageRequester::complete(const QString& url, const QString& text, Outcome outcome, const Reply& reply)
{
    if (m_gate == nullptr) {
        publish(url, text, outcome, reply);
        return;
    }
    const QPointer<PageRequester> self(this);
    const quint64 navigation = m_navigations;
    m_gate->deliver([self, navigation, url, text, outcome, reply] {
        if (self && self->m_navigations == navigation) {
            self->publish(url, text, outcome, reply);
        }
    });
}

void PageRequester::publish(const QString& url, const QString& text, Outcome outcome, const Reply& reply)
{
    m_url = url;
    m_reply = reply;
    m_pageText = answerText(text);
    emit DocumentComplete(url, m_pageText, outcome);
}
