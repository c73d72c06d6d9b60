#include "CompletionRecorder.h"
#include "ErrorPage.h"
#include "HttpPageRequester.h"
#include "ServiceUrls.h"
#include "support/SimulatorProcess.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Outcome = PageRequester::Outcome;

namespace {

class HttpPageRequesterSimulatorTest : public ::testing::Test
{
protected:
    HttpPageRequesterSimulatorTest()
    {
        m_manager.setProxy(QNetworkProxy::NoProxy);
        m_requester.setTimeout(2s);
    }

    void SetUp() override { ASSERT_TRUE(m_sim.start()) << m_sim.errorString().toStdString(); }

    QString url(const QString& path) const { return m_sim.baseUrl() + path; }

    void fault(const QString& path, const QString& kind)
    {
        ASSERT_TRUE(m_sim.control(QStringLiteral("/control/fault?path=") + path + QStringLiteral("&kind=") + kind));
    }

    // Navigates and waits for the one completion; a later one would be a fault of its own.
    CompletionRecorder::Completion load(const QString& pageUrl)
    {
        const qsizetype before = m_recorder.completions().size();
        m_requester.navigate(pageUrl);
        EXPECT_TRUE(m_recorder.waitFor(before + 1, 10000)) << "no completion for " << pageUrl.toStdString();
        return m_recorder.last();
    }

    void expectFailure(const CompletionRecorder::Completion& completion, const QString& pageUrl,
                       ErrorPage::Reason reason)
    {
        EXPECT_EQ(completion.outcome, Outcome::Failed);
        EXPECT_EQ(completion.url, pageUrl);
        EXPECT_EQ(completion.text, ErrorPage::text(reason)) << completion.text.toStdString();
    }

    QString versionPageText() const
    {
        return QStringLiteral("url=http://127.0.0.1:%1/dyn/update\r\nversion=1.3\r\n").arg(m_sim.port());
    }

    SimulatorProcess m_sim;
    QNetworkAccessManager m_manager;
    HttpPageRequester m_requester{m_manager};
    CompletionRecorder m_recorder{m_requester};
};

} // namespace

TEST_F(HttpPageRequesterSimulatorTest, PlainTextComesThroughByteForByte)
{
    const QString page = url(QStringLiteral("/ipupdate/dyndata.txt"));
    const CompletionRecorder::Completion completion = load(page);
    EXPECT_EQ(completion.outcome, Outcome::Answered);
    EXPECT_EQ(completion.url, page);
    EXPECT_EQ(completion.text, versionPageText());
    EXPECT_EQ(m_requester.pageText(), versionPageText());
    EXPECT_EQ(m_requester.url(), page);
}

TEST_F(HttpPageRequesterSimulatorTest, HtmlIsRenderedAndAnAddressWithoutSchemeIsRequestedOverHttp)
{
    const QString locator = m_sim.hostAndPort() + QStringLiteral("/whatismyip");
    const CompletionRecorder::Completion completion = load(locator);
    EXPECT_EQ(completion.outcome, Outcome::Answered);
    EXPECT_EQ(completion.url, locator);
    EXPECT_EQ(completion.text, QStringLiteral("Your IP address\r\nCurrent IP Address: 203.0.113.7"));

    EXPECT_EQ(load(url(QStringLiteral("/echo2"))).text, QStringLiteral("Your address\r\n203.0.113.7"));
}

TEST_F(HttpPageRequesterSimulatorTest, QueryValuesReachTheServiceExactlyAsEncoded)
{
    // An account whose name and password hold & = # % + ; a space and non-ASCII letters.
    const ServiceUrls urls(m_sim.hostAndPort());
    const QString validation = urls.validation(QStringLiteral("o&d=d#%+; \u00fc"), QStringLiteral("p&w=#%+; \u00e9"));
    m_sim.clearLog();
    const CompletionRecorder::Completion completion = load(validation);
    EXPECT_EQ(completion.outcome, Outcome::Answered);
    EXPECT_TRUE(completion.text.startsWith(QStringLiteral("0="))) << completion.text.toStdString();

    const QStringList log = m_sim.requestLog();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log.first(), QStringLiteral("GET ") + validation.mid(m_sim.baseUrl().size()));
}

TEST_F(HttpPageRequesterSimulatorTest, ErrorStatusWithABodyShowsTheBody)
{
    fault(QStringLiteral("/echo1"), QStringLiteral("500"));
    const CompletionRecorder::Completion completion = load(url(QStringLiteral("/echo1")));
    EXPECT_EQ(completion.outcome, Outcome::Answered);
    int status = 0;
    const QByteArray body = m_sim.get(QStringLiteral("/echo1"), &status);
    EXPECT_EQ(status, 500);
    EXPECT_FALSE(body.isEmpty());
    EXPECT_EQ(completion.text, QString::fromUtf8(body));
}

TEST_F(HttpPageRequesterSimulatorTest, ErrorStatusWithoutABodyFails)
{
    fault(QStringLiteral("/echo1"), QStringLiteral("500-empty"));
    const QString page = url(QStringLiteral("/echo1"));
    expectFailure(load(page), page, ErrorPage::Reason::HttpError);
}

TEST_F(HttpPageRequesterSimulatorTest, GarbageDroppedAndResetConnectionsFail)
{
    fault(QStringLiteral("/echo1"), QStringLiteral("garbage"));
    fault(QStringLiteral("/echo2"), QStringLiteral("drop"));
    fault(QStringLiteral("/echo3"), QStringLiteral("reset"));

    const CompletionRecorder::Completion garbage = load(url(QStringLiteral("/echo1")));
    EXPECT_EQ(garbage.outcome, Outcome::Failed);
    EXPECT_EQ(garbage.url, url(QStringLiteral("/echo1")));
    EXPECT_TRUE(garbage.text.startsWith(QStringLiteral("The page cannot be displayed\r\n")));

    expectFailure(load(url(QStringLiteral("/echo2"))), url(QStringLiteral("/echo2")),
                  ErrorPage::Reason::ConnectionLost);
    expectFailure(load(url(QStringLiteral("/echo3"))), url(QStringLiteral("/echo3")),
                  ErrorPage::Reason::ConnectionLost);
}

TEST_F(HttpPageRequesterSimulatorTest, HangingServerTimesOutAndTheNextRequestWorks)
{
    ASSERT_TRUE(m_sim.control(QStringLiteral("/control/fault?path=/ipupdate/dyndata.txt&kind=hang&times=1")));
    m_requester.setTimeout(500ms);
    const QString page = url(QStringLiteral("/ipupdate/dyndata.txt"));

    QElapsedTimer elapsed;
    elapsed.start();
    expectFailure(load(page), page, ErrorPage::Reason::TimedOut);
    EXPECT_GE(elapsed.elapsed(), 450);
    EXPECT_LT(elapsed.elapsed(), 3000);

    const CompletionRecorder::Completion next = load(page);
    EXPECT_EQ(next.outcome, Outcome::Answered);
    EXPECT_EQ(next.text, versionPageText());
    CompletionRecorder::runFor(700);
    EXPECT_EQ(m_recorder.completions().size(), 2) << "a finished request must not time out later";
}

TEST_F(HttpPageRequesterSimulatorTest, TheTimeLimitCoversTheWholeAnswerNotJustItsStart)
{
    // One byte every 200 ms keeps the connection busy but never finishes within the limit.
    fault(QStringLiteral("/echo1"), QStringLiteral("slow"));
    m_requester.setTimeout(500ms);
    const QString page = url(QStringLiteral("/echo1"));
    expectFailure(load(page), page, ErrorPage::Reason::TimedOut);
}

TEST_F(HttpPageRequesterSimulatorTest, AnswersOverTheSizeLimitFail)
{
    fault(QStringLiteral("/echo1"), QStringLiteral("huge"));
    const QString page = url(QStringLiteral("/echo1"));
    QElapsedTimer elapsed;
    elapsed.start();
    expectFailure(load(page), page, ErrorPage::Reason::TooLarge);
    EXPECT_LT(elapsed.elapsed(), 2000);

    // The limit is inclusive: an answer of exactly the limit is shown.
    const QString version = url(QStringLiteral("/ipupdate/dyndata.txt"));
    m_requester.setSizeLimit(versionPageText().toUtf8().size());
    EXPECT_EQ(load(version).outcome, Outcome::Answered);
    m_requester.setSizeLimit(versionPageText().toUtf8().size() - 1);
    expectFailure(load(version), version, ErrorPage::Reason::TooLarge);
}

TEST_F(HttpPageRequesterSimulatorTest, RedirectsAreFollowedAndTheFinalAddressReported)
{
    const CompletionRecorder::Completion completion = load(url(QStringLiteral("/redirect?to=/ipupdate/dyndata.txt")));
    EXPECT_EQ(completion.outcome, Outcome::Answered);
    EXPECT_EQ(completion.url, url(QStringLiteral("/ipupdate/dyndata.txt")));
    EXPECT_EQ(completion.text, versionPageText());
}

TEST_F(HttpPageRequesterSimulatorTest, SecondNavigateWinsOverAPageStillLoading)
{
    fault(QStringLiteral("/echo1"), QStringLiteral("slow"));
    m_requester.navigate(url(QStringLiteral("/echo1")));
    CompletionRecorder::runFor(100);
    m_requester.navigate(url(QStringLiteral("/echo2")));
    ASSERT_TRUE(m_recorder.waitFor(1));
    CompletionRecorder::runFor(300);
    ASSERT_EQ(m_recorder.completions().size(), 1);
    EXPECT_EQ(m_recorder.last().url, url(QStringLiteral("/echo2")));
    EXPECT_EQ(m_recorder.last().text, QStringLiteral("Your address\r\n203.0.113.7"));
}

TEST_F(HttpPageRequesterSimulatorTest, SecondNavigateWinsOverAPageAlreadyFinished)
{
    // Navigate again at the moment the first reply has finished, before the requester has heard.
    const QString first = url(QStringLiteral("/ipupdate/dyndata.txt"));
    const QString second = url(QStringLiteral("/echo2"));
    bool navigated = false;
    QObject::connect(&m_manager, &QNetworkAccessManager::finished, &m_manager, [&](QNetworkReply* reply) {
        if (!navigated && reply->url().toString() == first) {
            navigated = true;
            m_requester.navigate(second);
        }
    });
    m_requester.navigate(first);
    ASSERT_TRUE(m_recorder.waitFor(1));
    CompletionRecorder::runFor(200);
    EXPECT_TRUE(navigated);
    ASSERT_EQ(m_recorder.completions().size(), 1);
    EXPECT_EQ(m_recorder.last().url, second);
}

TEST_F(HttpPageRequesterSimulatorTest, AHandlerMayStartTheNextRequest)
{
    const QString first = url(QStringLiteral("/ipupdate/dyndata.txt"));
    const QString second = m_sim.hostAndPort() + QStringLiteral("/echo1");
    QObject::connect(&m_requester, &PageRequester::documentComplete, &m_requester,
                     [&](const QString& completedUrl, const QString&, Outcome) {
                         if (completedUrl == first) {
                             m_requester.navigate(second);
                         }
                     });
    m_requester.navigate(first);
    ASSERT_TRUE(m_recorder.waitFor(2));
    CompletionRecorder::runFor(100);
    ASSERT_EQ(m_recorder.completions().size(), 2);
    EXPECT_EQ(m_recorder.completions().at(0).text, versionPageText());
    EXPECT_EQ(m_recorder.completions().at(1).url, second);
    EXPECT_EQ(m_recorder.completions().at(1).text, QStringLiteral("Your IP is 203.0.113.7"));
}
