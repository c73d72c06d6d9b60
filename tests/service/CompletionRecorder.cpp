#include "CompletionRecorder.h"

#include <QTimer>

CompletionRecorder::CompletionRecorder(PageRequester& requester)
{
    QObject::connect(&requester, &PageRequester::documentComplete, &requester,
                     [this](const QString& url, const QString& text, PageRequester::Outcome outcome) {
                         m_completions.append(Completion{url, text, outcome});
                         if (m_loop != nullptr && m_completions.size() >= m_awaited) {
                             m_loop->quit();
                         }
                     });
}

bool CompletionRecorder::waitFor(qsizetype count, int timeoutMs)
{
    if (m_completions.size() < count) {
        QEventLoop loop;
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        m_loop = &loop;
        m_awaited = count;
        loop.exec();
        m_loop = nullptr;
    }
    return m_completions.size() >= count;
}

void CompletionRecorder::runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
