#pragma once

#include "PageRequester.h"

#include <QStringList>

// A page requester that only records: each Navigate() is remembered, and the test decides when
// and how the page in flight completes. Completions are delivered at once, inside the call.
class ScriptedPageRequester : public PageRequester
{
    Q_OBJECT

public:
    explicit ScriptedPageRequester(QObject* parent = nullptr);

    // Every URL navigated to, in order, "about:blank" included.
    const QStringList& navigations() const;
    // The URL of the last Navigate(); empty before the first.
    QString lastNavigation() const;
    // Whether a navigated page has not completed yet.
    bool hasPending() const;
    void clearNavigations();

    // Completes the page in flight (the last navigated URL) with the given text.
    void completeWith(const QString& text, Outcome outcome = Outcome::Answered, const Reply& reply = {});
    // Completes with a document URL of the test's choice, as after a redirect or an error page.
    void completeAt(const QString& url, const QString& text, Outcome outcome = Outcome::Answered,
                    const Reply& reply = {});
    // Completes the blank page: "about:blank" with empty text.
    void completeBlank();

protected:
    void load(const QString& url) override;

private:
    QStringList m_navigations;
    bool m_pending = false;
};
