#include "ScriptedPageRequester.h"

ScriptedPageRequester::ScriptedPageRequester(QObject* parent) : PageRequester(parent) {}

void ScriptedPageRequester::load(const QString& url)
{
    m_navigations.append(url);
    m_pending = true;
}

const QStringList& ScriptedPageRequester::navigations() const
{
    return m_navigations;
}

QString ScriptedPageRequester::lastNavigation() const
{
    return m_navigations.isEmpty() ? QString() : m_navigations.constLast();
}

bool ScriptedPageRequester::hasPending() const
{
    return m_pending;
}

void ScriptedPageRequester::clearNavigations()
{
    m_navigations.clear();
    m_pending = false;
}

void ScriptedPageRequester::completeWith(const QString& text, Outcome outcome, const Reply& reply)
{
    completeAt(lastNavigation(), text, outcome, reply);
}

void ScriptedPageRequester::completeAt(const QString& url, const QString& text, Outcome outcome, const Reply& reply)
{
    // Cleared before emitting, so a handler that navigates again leaves a new page pending.
    m_pending = false;
    complete(url, text, outcome, reply);
}

void ScriptedPageRequester::completeBlank()
{
    completeAt(QStringLiteral("about:blank"), QString(), Outcome::Answered);
}
