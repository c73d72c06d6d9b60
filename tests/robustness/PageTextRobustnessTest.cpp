#include "PageText.h"
#include "support/QtPrinters.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A named pipe that tells whether anyone opened it for reading while it was watched. Opening it
// blocks a reader until a writer comes, so the watch writes a line and closes at once; a page
// that made the renderer read it would thus still end.
class FifoWatch
{
public:
    explicit FifoWatch(const QString& path) : m_path(QFile::encodeName(path))
    {
        m_made = ::mkfifo(m_path.constData(), 0600) == 0;
        if (m_made) {
            m_writer = std::thread([this] {
                const int fd = ::open(m_path.constData(), O_WRONLY);
                m_openedWhileWatched = !m_stopped.load();
                if (fd >= 0) {
                    (void)::write(fd, "p { white-space: pre }\n", 23);
                    ::close(fd);
                }
            });
        }
    }

    ~FifoWatch() { stop(); }
    FifoWatch(const FifoWatch&) = delete;
    FifoWatch& operator=(const FifoWatch&) = delete;

    bool made() const { return m_made; }

    // Ends the watch; whether the pipe was opened before.
    bool stop()
    {
        if (m_writer.joinable()) {
            m_stopped = true;
            // A reader of our own releases the writer if nobody else did.
            const int fd = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK);
            m_writer.join();
            if (fd >= 0) {
                ::close(fd);
            }
        }
        return m_openedWhileWatched;
    }

private:
    QByteArray m_path;
    bool m_made = false;
    std::atomic<bool> m_stopped{false};
    std::atomic<bool> m_openedWhileWatched{false};
    std::thread m_writer;
};

qint64 millisecondsToRender(const QString& html)
{
    QElapsedTimer elapsed;
    elapsed.start();
    (void)PageText::fromHtml(html);
    return elapsed.elapsed();
}

} // namespace

// A page on the network names local files at will. Rendering it once read them: a background
// of /dev/zero ran the program out of memory, a pipe held it for ever.
TEST(PageTextRobustness, NothingAPageNamesIsReadFromTheDisk)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fifo = dir.filePath(u"named-pipe"_s);
    const QStringList pages = {
        u"<body background=\"%1\">a   b</body>"_s,        u"<table background=\"%1\"><tr><td>a   b</td></tr></table>"_s,
        u"<style>@import url(%1);</style><p>a   b</p>"_s, u"<link rel=\"stylesheet\" href=\"%1\"><p>a   b</p>"_s,
        u"<img src=\"%1\" width=\"10\"><p>a   b</p>"_s,   u"<p style=\"background-image: url(%1)\">a   b</p>"_s,
    };
    for (const QString& page : pages) {
        FifoWatch watch(fifo);
        ASSERT_TRUE(watch.made());
        const QString text = PageText::fromHtml(page.arg(fifo));
        EXPECT_FALSE(watch.stop()) << page.toStdString();
        EXPECT_EQ(text, u"a b"_s) << page.toStdString();
        QFile::remove(fifo);
    }
}

// Pages of a quarter of the size cap, built to make the renderer work in proportion to the
// square of their size (nesting, images in one paragraph, spans of a million columns). Each took
// minutes; now each is rendered in well under a second.
TEST(PageTextRobustness, HostilePagesRenderInTimeInProportionToTheirSize)
{
    constexpr qsizetype size = qsizetype{256} * 1024;
    const struct
    {
        const char* name;
        QString unit;
    } pages[] = {
        {"nested divisions", u"<div>"_s},
        {"nested lists", u"<ul><li>"_s},
        {"nested tables", u"<table><tr><td>"_s},
        {"a million columns", u"<table><tr><td colspan=1000000 rowspan=1000000>x</td></tr></table>"_s},
        {"images in one paragraph", u"<img>"_s},
        {"unclosed inputs", u"<input>"_s},
        {"unclosed options", u"<option>"_s},
    };
    for (const auto& page : pages) {
        const QString html = page.unit.repeated(size / page.unit.size()) + u"Your IP is 203.0.113.7"_s;
        const qint64 took = millisecondsToRender(html);
        // Generous for the sanitizer build; the pages took minutes before.
        EXPECT_LT(took, 8000) << page.name;
        EXPECT_TRUE(PageText::fromHtml(html).contains(u"Your IP is 203.0.113.7"_s)) << page.name;
    }
}

// Markup deeper than the renderer is given still shows all of its text.
TEST(PageTextRobustness, TextDeeperThanTheNestingLimitIsKept)
{
    const QString deep = u"<div>"_s.repeated(1000) + u"Your IP is <b>203.0.113.7</b>"_s + u"</div>"_s.repeated(1000);
    EXPECT_EQ(PageText::fromHtml(deep), u"Your IP is 203.0.113.7"_s);

    // Paragraphs, rows and cells left open close themselves, so a long page of them keeps its lines.
    QString paragraphs;
    QString cells = u"<table>"_s;
    QStringList lines;
    for (int i = 0; i < 1000; ++i) {
        paragraphs += u"<p>line "_s + QString::number(i);
        cells += u"<tr><td>line "_s + QString::number(i);
        lines.append(u"line "_s + QString::number(i));
    }
    EXPECT_EQ(PageText::fromHtml(paragraphs), lines.join(u"\r\n"_s));
    const QString table = PageText::fromHtml(cells);
    EXPECT_TRUE(table.startsWith(u"line 0\r\nline 1\r\nline 2\r\n"_s)) << table.left(100).toStdString();
    EXPECT_TRUE(table.endsWith(u"line 998\r\nline 999"_s)) << table.right(100).toStdString();
}

// The text of a page is what a browser shows: nothing inside tags, comments or scripts, and a
// "<" that opens no tag is a character of the text.
TEST(PageTextRobustness, OnlyVisibleTextComesThrough)
{
    EXPECT_EQ(PageText::fromHtml(u"<a title=\"x > 192.0.2.1\" href='a>b'>link</a>"_s), u"link"_s);
    EXPECT_EQ(PageText::fromHtml(u"<!-- <p>192.0.2.1</p> -->ok<!-- unclosed 192.0.2.2"_s), u"ok"_s);
    EXPECT_EQ(PageText::fromHtml(u"<script>if (a < b) document.write('<p>192.0.2.1</p>')</script>ok"_s), u"ok"_s);
    EXPECT_EQ(PageText::fromHtml(u"<STYLE type=text/css>p > b { }</STYLE>ok<SCRIPT>x</SCRIPT >"_s), u"ok"_s);
    EXPECT_EQ(PageText::fromHtml(u"a < b and 1<2, 3 > 2"_s), u"a < b and 1<2, 3 > 2"_s);
    EXPECT_EQ(PageText::fromHtml(u"<!DOCTYPE html><?xml version=\"1.0\"?><p>x</p></ >y<p"_s), u"x\r\ny"_s);
    EXPECT_EQ(PageText::fromHtml(u"<P>a<BR/>b<Br>c<hr>d</P><div/>e"_s), u"a\r\nb\r\nc\r\n\r\nd\r\ne"_s);
    EXPECT_EQ(PageText::fromHtml(u"<o:p>a</o:p><my-tag>b</my-tag>&lt;c&gt;&amp;"_s), u"ab<c>&"_s);
}
