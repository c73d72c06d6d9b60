#include "HttpRequest.h"
#include "PercentText.h"

#include <gtest/gtest.h>

static HttpRequest parsed(const QByteArray& bytes)
{
    HttpRequest request;
    QString error;
    EXPECT_EQ(HttpRequest::parse(bytes, &request, &error), HttpRequest::Status::Complete) << error.toStdString();
    return request;
}

TEST(HttpRequest, ParsesRequestLineAndHeaders)
{
    const HttpRequest request = parsed("GET /ipupdate/hosts.jsp?login=demo&domain=example.com HTTP/1.1\r\n"
                                       "Host: 127.0.0.1\r\nUser-Agent:  test agent \r\n\r\n");
    EXPECT_EQ(request.method(), "GET");
    EXPECT_EQ(request.rawTarget(), "/ipupdate/hosts.jsp?login=demo&domain=example.com");
    EXPECT_EQ(request.path(), QStringLiteral("/ipupdate/hosts.jsp"));
    EXPECT_EQ(request.rawQuery(), "login=demo&domain=example.com");
    EXPECT_EQ(request.version(), "HTTP/1.1");
    EXPECT_EQ(request.header("user-agent").value_or(QByteArray()), "test agent");
    EXPECT_FALSE(request.header("Cookie").has_value());

    // Bare line feeds and the absolute form a proxy would get are accepted too.
    const HttpRequest absolute = parsed("GET http://127.0.0.1:8/echo1?x=1 HTTP/1.0\n\n");
    EXPECT_EQ(absolute.path(), QStringLiteral("/echo1"));
    EXPECT_EQ(absolute.rawTarget(), "http://127.0.0.1:8/echo1?x=1");
    EXPECT_EQ(absolute.queryValue(QStringLiteral("x")), QStringLiteral("1"));
}

TEST(HttpRequest, WaitsForTheWholeHead)
{
    HttpRequest request;
    EXPECT_EQ(HttpRequest::parse("", &request), HttpRequest::Status::Incomplete);
    EXPECT_EQ(HttpRequest::parse("GET / HT", &request), HttpRequest::Status::Incomplete);
    EXPECT_EQ(HttpRequest::parse("GET / HTTP/1.1\r\nHost: x\r\n", &request), HttpRequest::Status::Incomplete);
    EXPECT_EQ(HttpRequest::parse("GET / HTTP/1.1\r\nHost: x\r\n\r", &request), HttpRequest::Status::Incomplete);
    EXPECT_EQ(HttpRequest::parse("GET / HTTP/1.1\r\nHost: x\r\n\r\n", &request), HttpRequest::Status::Complete);
}

TEST(HttpRequest, RefusesWhatIsNotHttp)
{
    HttpRequest request;
    for (const char* bad :
         {"\x16\x03\x01\r\n\r\n", "hello\r\n", "GET /\r\n\r\n", "GET / HTTP/2\r\n\r\n", "GET  / HTTP/1.1\r\n\r\n",
          "GET x HTTP/1.1\r\n\r\n", "GET / HTTP/1.1\r\nno colon\r\n\r\n", "G(T / HTTP/1.1\r\n\r\n"}) {
        EXPECT_EQ(HttpRequest::parse(QByteArray(bad), &request), HttpRequest::Status::Invalid) << bad;
    }
    EXPECT_EQ(HttpRequest::parse("GET /" + QByteArray(HttpRequest::MaxHeadSize, 'a'), &request),
              HttpRequest::Status::Invalid);
    // Binary bytes are refused before any line end comes.
    EXPECT_EQ(HttpRequest::parse(QByteArray("\x00\x01", 2), &request), HttpRequest::Status::Invalid);
    EXPECT_EQ(HttpRequest::parse("GE\xff", &request), HttpRequest::Status::Invalid);
}

TEST(HttpRequest, QueryValuesArePercentDecodedAndPlusStaysPlus)
{
    const HttpRequest request = HttpRequest::get("/x?login=a%26b%3Dc&password=p+q%2Br%20s%25&empty=&flag"
                                                 "&name=%C3%BC&login=second&bad=%zz");
    EXPECT_EQ(request.queryValue(QStringLiteral("login")), QStringLiteral("a&b=c")); // first one counts
    EXPECT_EQ(request.queryValue(QStringLiteral("password")), QStringLiteral("p+q+r s%"));
    EXPECT_EQ(request.rawQueryValue(QStringLiteral("password")), QByteArray("p+q%2Br%20s%25"));
    EXPECT_EQ(request.queryValue(QStringLiteral("empty")), QString());
    EXPECT_EQ(request.queryValue(QStringLiteral("flag")), QString());
    EXPECT_EQ(request.queryValue(QStringLiteral("name")), QStringLiteral("\u00fc"));
    EXPECT_EQ(request.queryValue(QStringLiteral("bad")), QStringLiteral("%zz"));
    EXPECT_FALSE(request.queryValue(QStringLiteral("missing")).has_value());
    EXPECT_FALSE(HttpRequest::get("/x").queryValue(QStringLiteral("login")).has_value());
}

TEST(HttpRequest, ListValuesSplitAtLiteralSemicolonBeforeDecoding)
{
    const HttpRequest request = HttpRequest::get("/dyn/update?host=a.example.com;b%3Bc.example.com;;d%20e");
    EXPECT_EQ(request.queryList(QStringLiteral("host")),
              QStringList({QStringLiteral("a.example.com"), QStringLiteral("b;c.example.com"), QString(),
                           QStringLiteral("d e")}));
    EXPECT_TRUE(request.queryList(QStringLiteral("other")).isEmpty());
}

TEST(PercentText, DecodesAndFlagsBadEscapes)
{
    bool ok = false;
    EXPECT_EQ(PercentText::decode("%41%2b%2B+%25", &ok), QStringLiteral("A+++%"));
    EXPECT_TRUE(ok);
    EXPECT_EQ(PercentText::decode("50%", &ok), QStringLiteral("50%"));
    EXPECT_FALSE(ok);
    EXPECT_EQ(PercentText::decode("%4", &ok), QStringLiteral("%4"));
    EXPECT_FALSE(ok);
    PercentText::decode("%C3", &ok);
    EXPECT_FALSE(ok);
}
