#include "HttpPageRequester.h"
#include "CompletionRecorder.h"
#include "ErrorPage.h"
#include "support/ClosedLoopbackPort.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>

#include <gtest/gtest.h>

using Outcome = PageRequester::Outcome;

namespace {

class HttpPageRequesterTest : public ::testing::Test
{
protected:
    HttpPageRequesterTest() { m_manager.setProxy(QNetworkProxy::NoProxy); }

    QNetworkAccessManager m_manager;
};

} // namespace

TEST_F(HttpPageRequesterTest, BlankPageCompletesLaterWithEmptyText)
{
    HttpPageRequester requester(m_manager);
    CompletionRecorder recorder(requester);
    requester.navigate(QStringLiteral("about:blank"));
    EXPECT_TRUE(recorder.completions().isEmpty()) << "completion must come from the event loop, not from navigate()";

    ASSERT_TRUE(recorder.waitFor(1));
    EXPECT_EQ(recorder.last().url, QStringLiteral("about:blank"));
    EXPECT_TRUE(recorder.last().text.isEmpty());
    EXPECT_EQ(recorder.last().outcome, Outcome::Answered);
    EXPECT_EQ(requester.url(), QStringLiteral("about:blank"));
    EXPECT_TRUE(requester.pageText().isEmpty());
    CompletionRecorder::runFor(50);
    EXPECT_EQ(recorder.completions().size(), 1);
}

TEST_F(HttpPageRequesterTest, RefusedConnectionCompletesWithAnErrorPage)
{
    const quint16 port = ClosedLoopbackPort::pick();
    ASSERT_NE(port, 0);
    const QString url =
        QStringLiteral("http://127.0.0.1:%1/ipupdate/account_validate.jsp?login=a&password=b").arg(port);

    HttpPageRequester requester(m_manager);
    CompletionRecorder recorder(requester);
    requester.navigate(url);
    ASSERT_TRUE(recorder.waitFor(1));
    EXPECT_EQ(recorder.last().outcome, Outcome::Failed);
    EXPECT_EQ(recorder.last().url, url);
    EXPECT_EQ(recorder.last().text, ErrorPage::text(ErrorPage::Reason::Refused));
    EXPECT_EQ(requester.pageText(), recorder.last().text);
}

TEST_F(HttpPageRequesterTest, AddressThatIsNoWebPageFailsWithoutARequest)
{
    HttpPageRequester requester(m_manager);
    CompletionRecorder recorder(requester);
    for (const QString& url : {QStringLiteral("ftp://127.0.0.1/x"), QStringLiteral("http://"), QString()}) {
        requester.navigate(url);
    }
    EXPECT_TRUE(recorder.completions().isEmpty());
    ASSERT_TRUE(recorder.waitFor(1));
    CompletionRecorder::runFor(50);
    // Each navigate abandoned the one before; only the last completes.
    ASSERT_EQ(recorder.completions().size(), 1);
    EXPECT_EQ(recorder.last().outcome, Outcome::Failed);
    EXPECT_TRUE(recorder.last().url.isEmpty());
    EXPECT_EQ(recorder.last().text, ErrorPage::text(ErrorPage::Reason::InvalidAddress));

    requester.navigate(QStringLiteral("ftp://127.0.0.1/x"));
    ASSERT_TRUE(recorder.waitFor(2));
    EXPECT_EQ(recorder.last().url, QStringLiteral("ftp://127.0.0.1/x"));
    EXPECT_EQ(recorder.last().text, ErrorPage::text(ErrorPage::Reason::UnsupportedAddress));
}

TEST_F(HttpPageRequesterTest, NavigatingAgainAbandonsTheBlankPage)
{
    const quint16 port = ClosedLoopbackPort::pick();
    ASSERT_NE(port, 0);
    const QString url = QStringLiteral("127.0.0.1:%1/echo1").arg(port);

    HttpPageRequester requester(m_manager);
    CompletionRecorder recorder(requester);
    requester.navigate(QStringLiteral("about:blank"));
    requester.navigate(url);
    ASSERT_TRUE(recorder.waitFor(1));
    CompletionRecorder::runFor(100);
    ASSERT_EQ(recorder.completions().size(), 1);
    // The address is reported as it was navigated, without the scheme that was added to request it.
    EXPECT_EQ(recorder.last().url, url);
    EXPECT_EQ(recorder.last().outcome, Outcome::Failed);
}

TEST_F(HttpPageRequesterTest, PageTextIsABufferHandlersMayReplace)
{
    HttpPageRequester requester(m_manager);
    QString seen;
    QObject::connect(&requester, &PageRequester::documentComplete, &requester,
                     [&](const QString&, const QString&, Outcome) {
                         requester.setPageText(QStringLiteral("cleaned"));
                         seen = requester.pageText();
                     });
    CompletionRecorder recorder(requester);
    requester.navigate(QStringLiteral("about:blank"));
    ASSERT_TRUE(recorder.waitFor(1));
    EXPECT_EQ(seen, QStringLiteral("cleaned"));
    EXPECT_EQ(requester.pageText(), QStringLiteral("cleaned"));
    // The completion itself carried the text as it arrived.
    EXPECT_TRUE(recorder.last().text.isEmpty());
}
