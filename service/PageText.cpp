#include "PageText.h"

#include "BoundedMarkup.h"

#include <QStringDecoder>

#include <gumbo.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

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

// Elements that start and end on lines of their own.
bool isBlock(GumboTag tag)
{
    static constexpr std::array blocks{
        GUMBO_TAG_ADDRESS, GUMBO_TAG_ARTICLE, GUMBO_TAG_ASIDE,   GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_BODY,
        GUMBO_TAG_CAPTION, GUMBO_TAG_CENTER,  GUMBO_TAG_DD,      GUMBO_TAG_DETAILS,    GUMBO_TAG_DIR,
        GUMBO_TAG_DIV,     GUMBO_TAG_DL,      GUMBO_TAG_DT,      GUMBO_TAG_FIELDSET,   GUMBO_TAG_FIGCAPTION,
        GUMBO_TAG_FIGURE,  GUMBO_TAG_FOOTER,  GUMBO_TAG_FORM,    GUMBO_TAG_H1,         GUMBO_TAG_H2,
        GUMBO_TAG_H3,      GUMBO_TAG_H4,      GUMBO_TAG_H5,      GUMBO_TAG_H6,         GUMBO_TAG_HEADER,
        GUMBO_TAG_HGROUP,  GUMBO_TAG_HR,      GUMBO_TAG_HTML,    GUMBO_TAG_LEGEND,     GUMBO_TAG_LI,
        GUMBO_TAG_LISTING, GUMBO_TAG_MAIN,    GUMBO_TAG_MENU,    GUMBO_TAG_NAV,        GUMBO_TAG_OL,
        GUMBO_TAG_P,       GUMBO_TAG_PRE,     GUMBO_TAG_SECTION, GUMBO_TAG_SUMMARY,    GUMBO_TAG_TABLE,
        GUMBO_TAG_TBODY,   GUMBO_TAG_TFOOT,   GUMBO_TAG_THEAD,   GUMBO_TAG_TR,         GUMBO_TAG_UL};
    return std::find(blocks.begin(), blocks.end(), tag) != blocks.end();
}

// Whether an inline style sets display to none, as routers' status pages hide the blocks of the
// connection types not in use. The last declaration counts, unless an earlier one is !important.
bool styleHides(const QByteArray& style)
{
    bool hides = false;
    bool important = false;
    for (const QByteArray& declaration : style.split(';')) {
        const qsizetype colon = declaration.indexOf(':');
        if (colon < 0 || declaration.left(colon).trimmed().toLower() != "display") {
            continue;
        }
        QByteArray value = declaration.mid(colon + 1).trimmed().toLower();
        const bool isImportant = value.endsWith("important") && value.chopped(9).trimmed().endsWith('!');
        if (isImportant) {
            value = value.chopped(9).trimmed().chopped(1).trimmed();
        }
        if (!important || isImportant) {
            hides = value == "none";
            important = isImportant;
        }
    }
    return hides;
}

// Whether an element and its content are shown. We run no scripts, so a page shows as to a
// browser with scripting off: what it says in <noscript> is shown (gumbo parses it so too).
// Form controls show values, not the page's text: a select lists every address a router's form
// could take. Scripts, style sheets, titles and text areas never reach the parser.
bool isShown(const GumboElement& element)
{
    const GumboTag tag = element.tag;
    if (tag == GUMBO_TAG_HEAD || tag == GUMBO_TAG_TEMPLATE || tag == GUMBO_TAG_SELECT || tag == GUMBO_TAG_DATALIST) {
        return false;
    }
    const GumboAttribute* style = gumbo_get_attribute(&element.attributes, "style");
    return gumbo_get_attribute(&element.attributes, "hidden") == nullptr &&
           (style == nullptr || !styleHides(QByteArray(style->value)));
}

// The text as a browser lays it out: a run of white space is one space, blocks and <br> end
// lines, and no line is empty or has blanks at its ends. Line breaks are CR LF.
class Lines
{
public:
    void add(QStringView text, bool preformatted)
    {
        for (const QChar c : text) {
            const bool whiteSpace = c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
            if ((c == u'\n' && preformatted) || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
                endLine();
            } else if (whiteSpace) {
                blank(preformatted ? c : QChar(u' '), !preformatted);
            } else if (c == QChar::Nbsp) {
                blank(u' ', false);
            } else {
                put(c);
            }
        }
    }

    void endLine() { m_break = true; }

    // A browser puts a tab between the cells of a row; a cell's own blanks at its ends go.
    void startCell()
    {
        if (m_collapsed && m_blanks.endsWith(u' ')) {
            m_blanks.chop(1);
        }
        m_blanks += u'\t';
        m_collapsed = true;
    }

    const QString& text() const { return m_text; }

private:
    void blank(QChar c, bool collapsible)
    {
        if (!collapsible || !m_collapsed) {
            m_blanks += c;
        }
        m_collapsed = collapsible;
    }

    void put(QChar c)
    {
        if (m_break && !m_text.isEmpty()) {
            m_text += u"\r\n";
        } else if (!m_text.isEmpty()) {
            m_text += m_blanks;
        }
        m_text += c;
        m_blanks.clear();
        m_break = false;
        m_collapsed = false;
    }

    QString m_text;
    QString m_blanks; // since the last character; written only before a next one on its line
    bool m_break = false;
    bool m_collapsed = true; // collapsible blank space came last: more adds nothing
};

// Walked with a stack of its own, not the call stack.
QString visibleText(const GumboNode* document)
{
    struct Open
    {
        const GumboNode* node;
        unsigned next;
    };
    Lines lines;
    int preformatted = 0;
    std::vector<Open> open{{document, 0}};
    while (!open.empty()) {
        Open& top = open.back();
        const GumboVector& children =
            top.node->type == GUMBO_NODE_DOCUMENT ? top.node->v.document.children : top.node->v.element.children;
        if (top.next == children.length) {
            if (top.node->type == GUMBO_NODE_ELEMENT) {
                const GumboTag tag = top.node->v.element.tag;
                preformatted -= tag == GUMBO_TAG_PRE || tag == GUMBO_TAG_LISTING ? 1 : 0;
                if (isBlock(tag)) {
                    lines.endLine();
                }
            }
            open.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(children.data[top.next++]);
        if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_CDATA || child->type == GUMBO_NODE_WHITESPACE) {
            lines.add(QString::fromUtf8(child->v.text.text), preformatted > 0);
        } else if (child->type == GUMBO_NODE_ELEMENT && isShown(child->v.element)) {
            const GumboTag tag = child->v.element.tag;
            preformatted += tag == GUMBO_TAG_PRE || tag == GUMBO_TAG_LISTING ? 1 : 0;
            if (isBlock(tag) || tag == GUMBO_TAG_BR) {
                lines.endLine();
            } else if (tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH) {
                lines.startCell();
            }
            open.push_back({child, 0});
        }
    }
    return lines.text();
}

struct ParseEnd
{
    void operator()(GumboOutput* output) const { gumbo_destroy_output(&kGumboDefaultOptions, output); }
};

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
    const QByteArray markup = BoundedMarkup::of(withoutLoneSurrogates(html).toUtf8());
    GumboOptions options = kGumboDefaultOptions;
    // The parse errors are of no use here, and a broken page has one at every tag.
    options.max_errors = 0;
    const std::unique_ptr<GumboOutput, ParseEnd> page(
        gumbo_parse_with_options(&options, markup.constData(), static_cast<size_t>(markup.size())));
    return visibleText(page->document);
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
