#include "FuzzCheck.h"
#include "PageText.h"

#include <QByteArray>
#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

// Any body as an answer of any type: rendering ends (libFuzzer's time-out catches a page that
// takes too long), plain text comes through unchanged, and the text of an HTML page has only
// CR LF line breaks, no object placeholders, no surrounding blanks and no half surrogate pairs.

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Rendering HTML needs the GUI application's fonts; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication* const application = new QGuiApplication(*argc, *argv);
    (void)application;
    return 0;
}

namespace {

bool hasOnlyCrLfBreaks(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && (i + 1 == text.size() || text.at(i + 1) != u'\n')) {
            return false;
        }
        if (c == u'\n' && (i == 0 || text.at(i - 1) != u'\r')) {
            return false;
        }
        if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            return false;
        }
    }
    return true;
}

bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (text.at(i).isSurrogate()) {
            return true;
        }
    }
    return false;
}

void checkRendered(const QString& text, const QString& source)
{
    FuzzCheck::require(hasOnlyCrLfBreaks(text), "HTML text has CR LF line breaks only", source);
    FuzzCheck::require(!text.contains(QChar::ObjectReplacementCharacter), "HTML text has no object placeholder",
                       source);
    FuzzCheck::require(text.isEmpty() || (!text.front().isSpace() && !text.back().isSpace()),
                       "HTML text starts and ends with a visible character", source);
    FuzzCheck::require(!hasLoneSurrogate(text), "HTML text has no half surrogate pair", source);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    static const QByteArray types[] = {"text/html",
                                       "text/plain",
                                       "",
                                       "text/html; charset=iso-8859-1",
                                       "text/plain; charset=utf-16le",
                                       "text/html; charset=utf-16"};
    const QByteArray type = types[data[0] % std::size(types)];
    const QByteArray body(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    const QString text = PageText::fromBody(body, type);
    FuzzCheck::require(!hasLoneSurrogate(text), "page text has no half surrogate pair", QString::fromLatin1(type));
    if (type == "text/plain") {
        FuzzCheck::require(text == QString::fromUtf8(body), "plain text comes through unchanged");
    }
    if (PageText::isHtml(body, type)) {
        checkRendered(text, QString::fromUtf8(body));
    }
    // The same bytes as markup, whatever the type said.
    checkRendered(PageText::fromHtml(QString::fromUtf8(body)), QString::fromUtf8(body));
    return 0;
}
