#include "PageText.h"

#include <QStringDecoder>
#include <QStringList>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QVariant>

namespace {

// The renderer's time grows with the square of the nesting depth; no real page comes near this.
constexpr qsizetype MaxDepth = 128;

// A page is rendered without loading anything it names: a style sheet import or a background
// image naming a local file (a device that never ends, a pipe nobody writes to) would be read
// whole, on the one thread, before the page could be shown.
class NoResources : public QTextDocument
{
protected:
    QVariant loadResource(int /*type*/, const QUrl& /*name*/) override { return {}; }
};

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isHtmlSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isPlainName(QStringView name)
{
    if (name.isEmpty() || !isAsciiLetter(name.front())) {
        return false;
    }
    for (const QChar c : name) {
        if (!isAsciiLetter(c) && !(c >= u'0' && c <= u'9')) {
            return false;
        }
    }
    return true;
}

// Elements that never hold content and show no text. The renderer would nest everything that
// follows one of them inside it, and it lays out every image of a paragraph again for each new one.
bool isEmptyAndInvisible(QStringView name)
{
    for (const char16_t* voidName : {u"area", u"base", u"basefont", u"bgsound", u"col", u"embed", u"frame", u"img",
                                     u"input", u"keygen", u"link", u"meta", u"param", u"source", u"track", u"wbr"}) {
        if (name == voidName) {
            return true;
        }
    }
    return false;
}

// The next element of the same kind ends one of these, with whatever is still open inside it,
// as browsers do; the containers are the elements within which it does so. A paragraph ends only
// where it is innermost.
QStringList containersOf(QStringView name)
{
    if (name == u"td" || name == u"th") {
        return {QStringLiteral("tr"), QStringLiteral("table"), QStringLiteral("tbody"), QStringLiteral("thead"),
                QStringLiteral("tfoot")};
    }
    if (name == u"tr") {
        return {QStringLiteral("table"), QStringLiteral("tbody"), QStringLiteral("thead"), QStringLiteral("tfoot")};
    }
    if (name == u"li") {
        return {QStringLiteral("ul"), QStringLiteral("ol"), QStringLiteral("menu"), QStringLiteral("dir")};
    }
    if (name == u"dt" || name == u"dd") {
        return {QStringLiteral("dl")};
    }
    if (name == u"option") {
        return {QStringLiteral("select"), QStringLiteral("datalist"), QStringLiteral("optgroup")};
    }
    return {};
}

// The levels an element needs before text can go in: text placed in a table outside its cells is
// not shown, so a table is only opened where its row and cell still fit.
qsizetype depthToHoldText(QStringView name)
{
    if (name == u"table" || name == u"tbody" || name == u"thead" || name == u"tfoot") {
        return 3;
    }
    return name == u"tr" ? 2 : 1;
}

struct Tag
{
    QString name; // lower case
    bool end = false;
    bool selfClosing = false;
    bool complete = false; // ended by ">" before the end of the text
    qsizetype next = 0;    // the index after the tag
};

// The tag at html[start] == '<'. Attributes are passed over; a quoted value may hold ">".
Tag readTag(const QString& html, qsizetype start)
{
    Tag tag;
    const qsizetype size = html.size();
    qsizetype i = start + 1;
    if (i < size && html.at(i) == u'/') {
        tag.end = true;
        ++i;
    }
    const qsizetype nameStart = i;
    while (i < size && !isHtmlSpace(html.at(i)) && html.at(i) != u'/' && html.at(i) != u'>') {
        ++i;
    }
    tag.name = html.mid(nameStart, i - nameStart).toLower();
    bool valueMayStart = false;
    QChar previous;
    while (i < size) {
        const QChar c = html.at(i);
        if (c == u'>') {
            tag.complete = true;
            tag.selfClosing = previous == u'/';
            tag.next = i + 1;
            return tag;
        }
        if (valueMayStart && (c == u'"' || c == u'\'')) {
            const qsizetype close = html.indexOf(c, i + 1);
            if (close < 0) {
                break;
            }
            i = close + 1;
            valueMayStart = false;
            previous = c;
            continue;
        }
        if (c == u'=') {
            valueMayStart = true;
        } else if (!isHtmlSpace(c)) {
            valueMayStart = false;
        }
        previous = c;
        ++i;
    }
    tag.next = size;
    return tag;
}

// The page rewritten with the same visible text in a form the renderer takes in time in proportion
// to its size: every tag keeps only its name (spans, sizes, styles and image sources change no
// text), comments, scripts, style sheets and images go, a "<" that opens no tag is text, and
// elements nest at most MaxDepth deep, start tags below that depth being dropped with their
// content kept. The elements this rewriting ends are ended by end tags written out, never left to
// the renderer, so the depth it counts is never less than the renderer's own.
class TamedMarkup
{
public:
    explicit TamedMarkup(qsizetype size) { m_out.reserve(size); }

    void text(QStringView text) { m_out += text; }

    void endTag(const QString& name)
    {
        const qsizetype at = m_open.lastIndexOf(name);
        if (at < 0) {
            m_out += u"</" + name + u'>';
            return;
        }
        closeDownTo(at);
    }

    void emptyTag(const QString& name) { m_out += u'<' + name + u'>'; }

    void startTag(const QString& name, bool selfClosing)
    {
        const QStringList containers = containersOf(name);
        for (qsizetype i = containers.isEmpty() ? -1 : m_open.size() - 1; i >= 0; --i) {
            if (containers.contains(m_open.at(i))) {
                closeDownTo(i + 1);
                break;
            }
        }
        if (!m_open.isEmpty() && m_open.constLast() == name && name == u"p") {
            closeDownTo(m_open.size() - 1);
        }
        if (m_open.size() + depthToHoldText(name) > MaxDepth) {
            return;
        }
        m_out += u'<' + name + u'>';
        if (selfClosing) {
            m_out += u"</" + name + u'>';
        } else {
            m_open.append(name);
        }
    }

    const QString& markup() const { return m_out; }

private:
    // Ends the open elements from the innermost to the one at index, that one included.
    void closeDownTo(qsizetype index)
    {
        while (m_open.size() > index) {
            m_out += u"</" + m_open.constLast() + u'>';
            m_open.removeLast();
        }
    }

    QString m_out;
    QStringList m_open;
};

QString tamed(const QString& html)
{
    TamedMarkup markup(html.size());
    const qsizetype size = html.size();
    qsizetype i = 0;
    while (i < size) {
        const qsizetype lessThan = html.indexOf(u'<', i);
        if (lessThan < 0) {
            markup.text(QStringView(html).mid(i));
            break;
        }
        markup.text(QStringView(html).mid(i, lessThan - i));
        i = lessThan;
        const QChar next = i + 1 < size ? html.at(i + 1) : QChar();
        if (QStringView(html).mid(i, 4) == u"<!--") {
            const qsizetype end = html.indexOf(u"-->", i + 4);
            i = end < 0 ? size : end + 3;
            continue;
        }
        const bool endTag = next == u'/' && i + 2 < size && isAsciiLetter(html.at(i + 2));
        if (next == u'!' || next == u'?' || (next == u'/' && !endTag)) {
            // Declarations, processing instructions and stray "</" show nothing.
            const qsizetype end = html.indexOf(u'>', i);
            i = end < 0 ? size : end + 1;
            continue;
        }
        if (!isAsciiLetter(next) && !endTag) {
            markup.text(u"&lt;");
            ++i;
            continue;
        }
        const Tag tag = readTag(html, i);
        i = tag.next;
        if (!tag.complete || !isPlainName(tag.name) || isEmptyAndInvisible(tag.name)) {
            continue;
        }
        if (tag.end) {
            markup.endTag(tag.name);
        } else if (tag.name == u"script" || tag.name == u"style") {
            const qsizetype end = html.indexOf(u"</" + tag.name, i, Qt::CaseInsensitive);
            i = end < 0 ? size : readTag(html, end).next;
        } else if (tag.name == u"br" || tag.name == u"hr") {
            markup.emptyTag(tag.name);
        } else {
            markup.startTag(tag.name, tag.selfClosing);
        }
    }
    return markup.markup();
}

struct ContentType
{
    QByteArray mimeType;
    QByteArray charset;
};

ContentType parseContentType(const QByteArray& header)
{
    ContentType result;
    const QList<QByteArray> parts = header.split(';');
    result.mimeType = parts.value(0).trimmed().toLower();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray parameter = parts.at(i).trimmed();
        const qsizetype equals = parameter.indexOf('=');
        if (equals < 0 || parameter.left(equals).trimmed().toLower() != "charset") {
            continue;
        }
        QByteArray value = parameter.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) {
            value = value.mid(1, value.size() - 2);
        }
        result.charset = value;
    }
    return result;
}

QString decode(const QByteArray& body, const QByteArray& charset, bool html)
{
    if (!charset.isEmpty()) {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid()) {
            return decoder.decode(body);
        }
    }
    if (html) {
        // Looks at a byte-order mark and a <meta charset>; UTF-8 when it finds neither.
        QStringDecoder decoder = QStringDecoder::decoderForHtml(body);
        if (decoder.isValid()) {
            return decoder.decode(body);
        }
    }
    return QString::fromUtf8(body);
}

// Half of a surrogate pair stands for no character: a browser shows the replacement character
// for it, as it does for a character reference to one ("&#xD800;"). No text file can hold it, so
// a name or an address with one could never be written.
QString withoutLoneSurrogates(const QString& text)
{
    QString result = text;
    for (qsizetype i = 0; i < result.size(); ++i) {
        const QChar c = result.at(i);
        if (c.isHighSurrogate() && i + 1 < result.size() && result.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            result[i] = QChar::ReplacementCharacter;
        }
    }
    return result;
}

} // namespace

bool PageText::isHtml(const QByteArray& body, const QByteArray& contentType)
{
    const QByteArray mimeType = parseContentType(contentType).mimeType;
    if (!mimeType.isEmpty()) {
        return mimeType == "text/html" || mimeType == "application/xhtml+xml";
    }
    const QByteArray head = body.left(1024).toLower();
    return head.contains("<html") || head.contains("<!doctype html");
}

QString PageText::fromBody(const QByteArray& body, const QByteArray& contentType)
{
    const bool html = isHtml(body, contentType);
    const QString text = decode(body, parseContentType(contentType).charset, html);
    return html ? fromHtml(text) : withoutLoneSurrogates(text);
}

QString PageText::fromHtml(const QString& html)
{
    const NoResources nothingToLoad;
    QString text = QTextDocumentFragment::fromHtml(tamed(html), &nothingToLoad).toPlainText();
    // Images and other embedded objects show as the object replacement character; a page's
    // visible text has nothing there.
    text.remove(QChar::ObjectReplacementCharacter);
    // A table or frame opens and closes with an empty line; the visible text starts at its first
    // visible character, so that an answer's first characters can be tested on an HTML page too.
    return withCrLf(withoutLoneSurrogates(text.trimmed()));
}

QString PageText::withCrLf(const QString& text)
{
    QString result;
    result.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n') {
                ++i;
            }
            result += u"\r\n";
        } else if (c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
            result += u"\r\n";
        } else {
            result += c;
        }
    }
    return result;
}
