#include "CannedHttpServer.h"
#include "ErrorPage.h"
#include "EventLoopWait.h"
#include "HttpPageRequester.h"
#include "support/QtPrinters.h"
#include "support/SimulatorProcess.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype MiB = qsizetype{1024} * 1024;

struct Completion
{
    QString text;
    PageRequester::Outcome outcome = PageRequester::Outcome::Answered;
    qint64 milliseconds = 0;
};

// Loads the canned answer through a requester as the program makes them (nothing lowered but
// the time-out, which none of these answers should need).
Completion loadUrl(const QString& url)
{
    QNetworkAccessManager network;
    network.setProxy(QNetworkProxy::NoProxy);
    HttpPageRequester requester(network);
    requester.setTimeout(std::chrono::seconds(20));
    Completion completion;
    bool done = false;
    QObject::connect(&requester, &PageRequester::documentComplete, &requester,
                     [&](const QString&, const QString& text, PageRequester::Outcome outcome) {
                         completion.text = text;
                         completion.outcome = outcome;
                         done = true;
                     });
    QElapsedTimer elapsed;
    elapsed.start();
    requester.navigate(url);
    EXPECT_TRUE(EventLoopWait::until([&] { return done; }, 20000));
    completion.milliseconds = elapsed.elapsed();
    return completion;
}

Completion load(const QByteArray& response)
{
    CannedHttpServer server(response);
    EXPECT_TRUE(server.listen());
    return loadUrl(server.url(u"/page"_s));
}

QByteArray chunked(const QByteArray& body, qsizetype chunk)
{
    QByteArray encoded;
    for (qsizetype at = 0; at < body.size(); at += chunk) {
        const QByteArray piece = body.mid(at, chunk);
        encoded += QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
    }
    return encoded + "0\r\n\r\n";
}

void expectTooLarge(const Completion& completion)
{
    EXPECT_EQ(completion.outcome, PageRequester::Outcome::Failed);
    EXPECT_EQ(completion.text, ErrorPage::text(ErrorPage::Reason::TooLarge));
}

} // namespace

TEST(ResponseLimit, TheCapIsOneMebibyteAsTheProgramMakesItsRequesters)
{
    QNetworkAccessManager network;
    EXPECT_EQ(HttpPageRequester(network).sizeLimit(), MiB);

    const QByteArray exactly(MiB, 'a');
    const Completion fits = load(CannedHttpServer::plain(exactly));
    EXPECT_EQ(fits.outcome, PageRequester::Outcome::Answered);
    EXPECT_EQ(fits.text.size(), MiB);

    expectTooLarge(load(CannedHttpServer::plain(exactly + 'a')));
}

// However the body comes, its size is counted as it arrives, not taken from the headers.
TEST(ResponseLimit, TheCapHoldsWithoutALengthAndInChunks)
{
    const QByteArray over(MiB + 1, 'a');
    expectTooLarge(load("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n" + over));
    expectTooLarge(
        load("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n" +
             chunked(over, 4096)));
    // A length that understates the body is no way round it either.
    const Completion understated =
        load("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 10\r\nConnection: close\r\n\r\n" + over);
    EXPECT_EQ(understated.text, u"aaaaaaaaaa"_s);
}

// A compressed answer is counted as it unpacks: under a mebibyte on the wire, over it unpacked,
// it fails as too large.
TEST(ResponseLimit, ACompressedAnswerIsCountedUnpacked)
{
    // Text that packs about four to one, which the network layer's own bomb check lets pass.
    QByteArray text;
    quint32 state = 12345;
    while (text.size() < 3 * MiB / 2) {
        state = state * 1103515245U + 12345U;
        text += QByteArray::number((state >> 16) % 10000) + ' ';
    }
    // qCompress gives a zlib stream behind a four-byte length: "deflate" as HTTP means it.
    const QByteArray packed = qCompress(text, 9).mid(4);
    ASSERT_LT(packed.size(), MiB);
    expectTooLarge(load(CannedHttpServer::plain(packed, "Content-Encoding: deflate\r\n")));

    // Below the cap, the same encoding comes through unpacked.
    const QByteArray small = qCompress(QByteArray("0=Account validated"), 9).mid(4);
    const Completion fits = load(CannedHttpServer::plain(small, "Content-Encoding: deflate\r\n"));
    EXPECT_EQ(fits.outcome, PageRequester::Outcome::Answered);
    EXPECT_EQ(fits.text, u"0=Account validated"_s);

    // 64 KiB that would unpack to 64 MiB fail at once, unpacked no further.
    const QByteArray bomb = qCompress(QByteArray(64 * MiB, 'a'), 9).mid(4);
    ASSERT_LT(bomb.size(), 256 * 1024);
    const Completion refused = load(CannedHttpServer::plain(bomb, "Content-Encoding: deflate\r\n"));
    EXPECT_EQ(refused.outcome, PageRequester::Outcome::Failed);
    EXPECT_TRUE(refused.text.startsWith(u"The page cannot be displayed\r\n"_s));
    EXPECT_LT(refused.milliseconds, 5000);
}

// A connection that ends before the announced length is a lost page, not a short one: half a
// host list would list hosts that do not exist, half an update answer would read as an answer.
TEST(ResponseLimit, ABodyShorterThanItsLengthIsALostConnection)
{
    const Completion closed =
        load("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: 40\r\n\r\nhome.ex");
    EXPECT_EQ(closed.outcome, PageRequester::Outcome::Failed);
    EXPECT_EQ(closed.text, ErrorPage::text(ErrorPage::Reason::ConnectionLost));

    // After a reset the network layer now and then reports the half body as the whole page,
    // depending on when the reset arrives; enough requests that one such turn comes up.
    SimulatorProcess sim;
    ASSERT_TRUE(sim.start()) << sim.errorString().toStdString();
    ASSERT_TRUE(sim.control(u"/control/fault?path=/ipupdate/hosts.jsp&kind=reset"_s));
    for (int attempt = 0; attempt < 40; ++attempt) {
        const Completion reset = loadUrl(sim.baseUrl() + u"/ipupdate/hosts.jsp?login=demo&password=demo123"_s);
        ASSERT_EQ(reset.outcome, PageRequester::Outcome::Failed)
            << "attempt " << attempt << ": " << reset.text.toStdString();
        ASSERT_EQ(reset.text, ErrorPage::text(ErrorPage::Reason::ConnectionLost));
    }
}
