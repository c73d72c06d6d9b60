#include "PageText.h"
#include "ErrorPage.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString html(const char* body)
{
    return PageText::fromHtml(QString::fromUtf8(body));
}

bool hasLoneLineFeed(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\n' && (i == 0 || text.at(i - 1) != u'\r')) {
            return true;
        }
        if (text.at(i) == u'\r' && (i + 1 == text.size() || text.at(i + 1) != u'\n')) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(PageTextTest, HtmlIsRenderedToItsVisibleText)
{
    EXPECT_EQ(html("a &amp; b &lt;c&gt; &quot;d&quot; &#65;&#x42;&nbsp;e"), QStringLiteral("a & b <c> \"d\" AB e"));
    EXPECT_EQ(html("one<br>two<br/>three"), QStringLiteral("one\r\ntwo\r\nthree"));
    EXPECT_EQ(html("<p>a</p><p>b</p><div>c</div><h1>d</h1><ul><li>e</li><li>f</li></ul>"),
              QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\nf"));
    EXPECT_EQ(html("<b>bold</b> <i>and</i> <a href=\"x\">link</a><img src=\"y\">"), QStringLiteral("bold and link"));
}

TEST(PageTextTest, HeadTitleScriptAndStyleAreNotShown)
{
    const QString text = html("<html><head><title>Secret title</title><style>p { color: red; }</style>"
                              "<script>var x = '0=OK';</script></head>"
                              "<body><script>document.write('1.2.3.4')</script>Current IP Address: 198.51.100.7"
                              "</body></html>");
    EXPECT_EQ(text, QStringLiteral("Current IP Address: 198.51.100.7"));
}

TEST(PageTextTest, VisibleTextStartsAtItsFirstCharacter)
{
    EXPECT_EQ(html("<table><tr><td>0=OK</td></tr><tr><td>1.2.3.4</td></tr></table>"),
              QStringLiteral("0=OK\r\n1.2.3.4"));
    EXPECT_EQ(html("<body>\n\n  <p>url=x</p>\n<p>&nbsp;</p></body>"), QStringLiteral("url=x"));
}

TEST(PageTextTest, LineBreaksAreAlwaysCrLf)
{
    const QString text = html("<pre>a\nb\r\nc\rd</pre><p>e</p><table><tr><td>f</td></tr><tr><td>g</td></tr></table>");
    EXPECT_FALSE(hasLoneLineFeed(text)) << text.toStdString();
    // To an HTML parser a bare CR is no line break, so "c" and "d" join.
    EXPECT_EQ(text, QStringLiteral("a\r\nb\r\ncd\r\ne\r\nf\r\ng"));
    EXPECT_EQ(PageText::withCrLf(QStringLiteral("a\nb\rc\r\nd\u2028e\u2029f\r\r\n")),
              QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n\r\n"));
}

TEST(PageTextTest, PlainTextComesThroughUnchanged)
{
    const QByteArray page = "url=http://127.0.0.1:8780/ipupdate/update.jsp\r\nversion=1.3\r\n";
    EXPECT_EQ(PageText::fromBody(page, "text/plain"), QString::fromLatin1(page));
    // Markup and bare line feeds in a plain-text answer are the answer itself.
    EXPECT_EQ(PageText::fromBody("0=<b>ok</b>\n1=x &amp;", "text/plain; charset=utf-8"),
              QStringLiteral("0=<b>ok</b>\n1=x &amp;"));
    EXPECT_EQ(PageText::fromBody("{\"a\": \"<html>\"}", "application/json"), QStringLiteral("{\"a\": \"<html>\"}"));
}

TEST(PageTextTest, TextIsDecodedByItsCharsetElseAsUtf8)
{
    EXPECT_EQ(PageText::fromBody("caf\xc3\xa9", "text/plain"), QStringLiteral("caf\u00e9"));
    EXPECT_EQ(PageText::fromBody("caf\xe9", "text/plain; charset=ISO-8859-1"), QStringLiteral("caf\u00e9"));
    EXPECT_EQ(PageText::fromBody("\x80 caf\xe9", "text/plain;charset=\"windows-1252\""),
              QStringLiteral("\u20ac caf\u00e9"));
    EXPECT_EQ(PageText::fromBody("<p>caf\xe9</p>", "text/html; charset=iso-8859-1"), QStringLiteral("caf\u00e9"));
    EXPECT_EQ(
        PageText::fromBody("<html><head><meta charset=\"iso-8859-1\"></head><body>caf\xe9</body></html>", "text/html"),
        QStringLiteral("caf\u00e9"));
    // An unknown charset does not lose the text.
    EXPECT_EQ(PageText::fromBody("caf\xc3\xa9", "text/plain; charset=no-such-charset"), QStringLiteral("caf\u00e9"));
}

TEST(PageTextTest, WithoutAContentTypeAnHtmlDocumentIsRecognised)
{
    EXPECT_TRUE(PageText::isHtml("<HTML><body>x</body></HTML>", QByteArray()));
    EXPECT_TRUE(PageText::isHtml("\r\n<!DOCTYPE html><p>x", QByteArray()));
    EXPECT_FALSE(PageText::isHtml("0=OK <b>", QByteArray()));
    EXPECT_FALSE(PageText::isHtml("<html>", "text/plain"));
    EXPECT_TRUE(PageText::isHtml("x", "Text/HTML; charset=utf-8"));
    EXPECT_EQ(PageText::fromBody("<html><body>1.2.3.4<br>x</body></html>", QByteArray()),
              QStringLiteral("1.2.3.4\r\nx"));
    EXPECT_EQ(PageText::fromBody("0=OK <b>", QByteArray()), QStringLiteral("0=OK <b>"));
}

TEST(ErrorPageTest, NoErrorPageCanBeTakenForAnAnswer)
{
    static const QRegularExpression digitDotDigit(QStringLiteral("\\d\\.\\d"));
    for (int i = 0; i <= static_cast<int>(ErrorPage::Reason::Other); ++i) {
        const QString text = ErrorPage::text(static_cast<ErrorPage::Reason>(i));
        EXPECT_TRUE(text.startsWith(QStringLiteral("The page cannot be displayed\r\n"))) << i;
        EXPECT_TRUE(text.endsWith(QStringLiteral(".\r\n"))) << i;
        EXPECT_FALSE(text.startsWith(QStringLiteral("url"), Qt::CaseInsensitive)) << i;
        EXPECT_FALSE(text.contains(u'=')) << i;
        EXPECT_FALSE(text.contains(digitDotDigit)) << i;
        EXPECT_FALSE(text.contains(QStringLiteral("Hostname"))) << i;
        EXPECT_FALSE(text.contains(QStringLiteral("no domains"))) << i;
        EXPECT_FALSE(text.contains(QStringLiteral("no hosts"))) << i;
    }
}

TEST(ErrorPageTest, NetworkErrorsAreNamed)
{
    EXPECT_EQ(ErrorPage::reasonFor(QNetworkReply::ConnectionRefusedError), ErrorPage::Reason::Refused);
    EXPECT_EQ(ErrorPage::reasonFor(QNetworkReply::HostNotFoundError), ErrorPage::Reason::HostNotFound);
    EXPECT_EQ(ErrorPage::reasonFor(QNetworkReply::RemoteHostClosedError), ErrorPage::Reason::ConnectionLost);
    EXPECT_EQ(ErrorPage::reasonFor(QNetworkReply::ContentNotFoundError), ErrorPage::Reason::HttpError);
    EXPECT_EQ(ErrorPage::reasonFor(QNetworkReply::InternalServerError), ErrorPage::Reason::HttpError);
    EXPECT_EQ(ErrorPage::reasonFor(QNetworkReply::UnknownNetworkError), ErrorPage::Reason::Other);
    EXPECT_NE(ErrorPage::text(ErrorPage::Reason::Refused), ErrorPage::text(ErrorPage::Reason::TimedOut));
}
