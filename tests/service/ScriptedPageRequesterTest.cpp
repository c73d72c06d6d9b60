#include "support/ScriptedPageRequester.h"

#include <gtest/gtest.h>

using Outcome = PageRequester::Outcome;

TEST(ScriptedPageRequesterTest, CompletesTheLastNavigationWhenTheTestSays)
{
    ScriptedPageRequester requester;
    QStringList seen;
    QObject::connect(&requester, &PageRequester::documentComplete, &requester,
                     [&](const QString& url, const QString& text, Outcome outcome) {
                         seen << url + u'|' + text + u'|' + (outcome == Outcome::Failed ? u'F' : u'A');
                     });

    requester.navigate(QStringLiteral("about:blank"));
    requester.navigate(QStringLiteral("http://127.0.0.1:8780/a"));
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_TRUE(requester.hasPending());
    EXPECT_EQ(requester.navigations(),
              (QStringList{QStringLiteral("about:blank"), QStringLiteral("http://127.0.0.1:8780/a")}));

    requester.completeWith(QStringLiteral("0=OK"));
    EXPECT_FALSE(requester.hasPending());
    requester.completeWith(QStringLiteral("error"), Outcome::Failed);
    requester.completeBlank();
    requester.completeAt(QStringLiteral("http://127.0.0.1:8780/b"), QStringLiteral("10=Hostname"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("http://127.0.0.1:8780/a|0=OK|A"),
                                 QStringLiteral("http://127.0.0.1:8780/a|error|F"), QStringLiteral("about:blank||A"),
                                 QStringLiteral("http://127.0.0.1:8780/b|10=Hostname|A")}));
    EXPECT_EQ(requester.url(), QStringLiteral("http://127.0.0.1:8780/b"));
    EXPECT_EQ(requester.pageText(), QStringLiteral("10=Hostname"));
}

TEST(ScriptedPageRequesterTest, AHandlerThatNavigatesLeavesANewPagePending)
{
    ScriptedPageRequester requester;
    QObject::connect(&requester, &PageRequester::documentComplete, &requester,
                     [&](const QString&, const QString&, Outcome) { requester.navigate(QStringLiteral("next")); });
    requester.navigate(QStringLiteral("first"));
    requester.completeWith(QStringLiteral("x"));
    EXPECT_TRUE(requester.hasPending());
    EXPECT_EQ(requester.lastNavigation(), QStringLiteral("next"));
}
