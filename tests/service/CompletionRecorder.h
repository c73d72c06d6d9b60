#pragma once

#include "PageRequester.h"

#include <QEventLoop>
#include <QList>
#include <QString>

// Collects the completions of one requester and runs the event loop until enough have come.
class CompletionRecorder
{
public:
    struct Completion
    {
        QString url;
        QString text;
        PageRequester::Outcome outcome = PageRequester::Outcome::Answered;
    };

    explicit CompletionRecorder(PageRequester& requester);

    // Runs the event loop until count completions have arrived in all or timeoutMs has passed.
    bool waitFor(qsizetype count, int timeoutMs = 5000);
    // Runs the event loop for ms milliseconds, whatever arrives.
    static void runFor(int ms);

    const QList<Completion>& completions() const { return m_completions; }
    Completion last() const { return m_completions.isEmpty() ? Completion{} : m_completions.constLast(); }

private:
    QList<Completion> m_completions;
    QEventLoop* m_loop = nullptr;
    qsizetype m_awaited = 0;
};
