#include "BoundedMarkup.h"

#include <algorithm>
#include <initializer_list>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isOneOf(QByteArrayView name, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [name](const char* other) { return name == other; });
}

// Elements that never hold content.
bool isVoid(QByteArrayView name)
{
    return isOneOf(name, {"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr", "image", "img",
                          "input", "keygen", "link", "meta", "param", "source", "track", "wbr"});
}

// Whether text starts with the name of a tag, any case, ended as the parser ends a name.
bool namesTag(QByteArrayView text, QByteArrayView name)
{
    return text.size() > name.size() && qstrnicmp(text.data(), name.size(), name.data(), name.size()) == 0 &&
           (isSpace(text.at(name.size())) || text.at(name.size()) == '/' || text.at(name.size()) == '>');
}

QByteArrayView kindOf(QByteArrayView name)
{
    if (name == "th") {
        return "td";
    }
    return name == "dd" ? "dt" : name;
}

// A new paragraph, link, list item, row, cell or option ends the open one of its kind, with
// whatever is open inside it, as browsers do: within the nearest of these elements only.
bool isContainerOf(QByteArrayView kind, QByteArrayView name)
{
    if (kind == "p" || kind == "a") {
        return isOneOf(name, {"td", "th", "caption", "table", "object", "marquee", "applet", "template", "html"}) ||
               (kind == "p" && name == "button");
    }
    if (kind == "li") {
        return isOneOf(name, {"ul", "ol", "menu", "dir"});
    }
    if (kind == "dt") {
        return name == "dl";
    }
    if (kind == "option") {
        return isOneOf(name, {"select", "datalist", "optgroup"});
    }
    if (kind == "tr") {
        return isOneOf(name, {"table", "tbody", "thead", "tfoot"});
    }
    return kind == "td" && isOneOf(name, {"tr", "table", "tbody", "thead", "tfoot"});
}

} // namespace

QByteArray BoundedMarkup::of(QByteArrayView html)
{
    BoundedMarkup markup(html);
    while (markup.m_at < html.size()) {
        const qsizetype lessThan = html.indexOf('<', markup.m_at);
        const qsizetype end = lessThan < 0 ? html.size() : lessThan;
        markup.m_out += html.sliced(markup.m_at, end - markup.m_at);
        markup.m_at = end;
        if (end < html.size()) {
            markup.markup();
        }
    }
    return markup.m_out;
}

// The markup at m_at, which is "<".
void BoundedMarkup::markup()
{
    const QByteArrayView rest = m_in.sliced(m_at);
    const char next = rest.size() > 1 ? rest.at(1) : '\0';
    if (rest.startsWith("<!--")) {
        // "<!-->" and "<!--->" end where they start.
        if (rest.sliced(4).startsWith(">") || rest.sliced(4).startsWith("->")) {
            m_at += rest.at(4) == '>' ? 5 : 6;
        } else {
            const qsizetype close = rest.indexOf("-->", 4);
            m_at = close < 0 ? m_in.size() : m_at + close + 3;
        }
    } else if (next == '/' && rest.size() > 2 && isLetter(rest.at(2))) {
        endTag(readTag());
    } else if (next == '!' || next == '?' || next == '/') {
        // A declaration, a processing instruction or an end tag naming nothing shows nothing.
        const qsizetype end = rest.indexOf('>');
        m_at = end < 0 ? m_in.size() : m_at + end + 1;
    } else if (isLetter(next)) {
        startTag(readTag());
    } else {
        m_out += "&lt;";
        ++m_at;
    }
}

// The tag at m_at; m_at moves past it. Of the attributes only hidden and style are kept, the
// first of each name counting, as in browsers.
BoundedMarkup::Tag BoundedMarkup::readTag()
{
    Tag tag;
    const qsizetype size = m_in.size();
    qsizetype i = m_at + (m_in.at(m_at + 1) == '/' ? 2 : 1);
    const auto endsName = [this](qsizetype at) {
        return isSpace(m_in.at(at)) || m_in.at(at) == '/' || m_in.at(at) == '>';
    };
    const qsizetype nameStart = i;
    while (i < size && !endsName(i)) {
        ++i;
    }
    tag.name = m_in.sliced(nameStart, i - nameStart).toByteArray().toLower();
    while (i < size) {
        const char c = m_in.at(i);
        if (c == '>') {
            tag.complete = true;
            m_at = i + 1;
            return tag;
        }
        if (isSpace(c) || c == '/') {
            tag.selfClosing = c == '/' && i + 1 < size && m_in.at(i + 1) == '>';
            ++i;
            continue;
        }
        const qsizetype attributeStart = i++; // even "=" can start a name
        while (i < size && !endsName(i) && m_in.at(i) != '=') {
            ++i;
        }
        const QByteArray attribute = m_in.sliced(attributeStart, i - attributeStart).toByteArray().toLower();
        while (i < size && isSpace(m_in.at(i))) {
            ++i;
        }
        QByteArrayView value;
        if (i < size && m_in.at(i) == '=') {
            ++i;
            while (i < size && isSpace(m_in.at(i))) {
                ++i;
            }
            if (i < size && (m_in.at(i) == '"' || m_in.at(i) == '\'')) {
                const qsizetype close = m_in.indexOf(m_in.at(i), i + 1);
                if (close < 0) {
                    break;
                }
                value = m_in.sliced(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < size && !isSpace(m_in.at(i)) && m_in.at(i) != '>') {
                    ++i;
                }
                value = m_in.sliced(valueStart, i - valueStart);
            }
        }
        if (attribute == "hidden") {
            tag.hidden = true;
        } else if (attribute == "style" && !tag.hasStyle) {
            tag.hasStyle = true;
            tag.style = value.toByteArray();
        }
    }
    // The page ends inside the tag: browsers drop it.
    m_at = size;
    return tag;
}

void BoundedMarkup::startTag(const Tag& tag)
{
    if (!tag.complete) {
        return;
    }
    const QByteArrayView name = tag.name;
    if (isOneOf(name, {"script", "style", "textarea", "title", "iframe", "noembed", "noframes"})) {
        // Their text is read up to their end tag, and never shown: a script's, a style sheet's,
        // a form's value, a title, and what browsers show only when they lack a feature.
        skipTextOf(name);
    } else if (name == "xmp" || name == "plaintext") {
        const qsizetype start = m_at;
        const qsizetype end = name == "plaintext" ? m_in.size() : skipTextOf(name);
        writeLiteral(m_in.sliced(start, end - start));
        m_at = std::max(m_at, end);
    } else if (isVoid(name)) {
        write(tag);
    } else {
        endSiblingOf(name);
        if (tag.selfClosing) {
            // Only foreign elements end at "/>", but an element ended at once holds no more text.
            write(tag);
            m_out += "</" + tag.name + '>';
        } else if (m_open.size() < MaxDepth) {
            write(tag);
            m_open.append(tag.name);
        }
    }
}

void BoundedMarkup::endTag(const Tag& tag)
{
    if (!tag.complete) {
        return;
    }
    const qsizetype at = m_open.lastIndexOf(tag.name);
    if (at >= 0) {
        closeDownTo(at);
    } else {
        // Ending nothing open here, it may still mean something to the parser ("</p>", "</br>"),
        // and it can only end elements.
        m_out += "</" + tag.name + '>';
    }
}

void BoundedMarkup::write(const Tag& tag)
{
    m_out += '<' + tag.name;
    if (tag.hidden) {
        m_out += " hidden";
    }
    if (tag.hasStyle) {
        m_out += " style=\"" + QByteArray(tag.style).replace('"', "&quot;") + '"';
    }
    m_out += '>';
}

// Text shown as it stands, markup and references included, on lines of its own.
void BoundedMarkup::writeLiteral(QByteArrayView text)
{
    m_out += "<pre>";
    for (const char c : text) {
        if (c == '<') {
            m_out += "&lt;";
        } else if (c == '&') {
            m_out += "&amp;";
        } else {
            m_out += c;
        }
    }
    m_out += "</pre>";
}

// Moves m_at past the text of an element the parser reads as text up to its end tag, and past
// that tag; returns where the text ends. In a script "<!--" lets a "<script>" within keep the next
// "</script>" from ending it, as in browsers: old pages write scripts that way.
qsizetype BoundedMarkup::skipTextOf(QByteArrayView name)
{
    const bool script = name == "script";
    enum { Data, Escaped, DoubleEscaped } state = Data;
    for (qsizetype i = m_at; i < m_in.size(); ++i) {
        const QByteArrayView rest = m_in.sliced(i);
        if (script && state == Data && rest.startsWith("<!--")) {
            state = Escaped;
            ++i; // its dashes may end it too: "<!-->"
        } else if (script && state != Data && rest.startsWith("-->")) {
            state = Data;
            i += 2;
        } else if (rest.startsWith("</") && namesTag(rest.sliced(2), name)) {
            if (state != DoubleEscaped) {
                m_at = i;
                readTag();
                return i;
            }
            state = Escaped;
        } else if (state == Escaped && rest.startsWith("<") && namesTag(rest.sliced(1), name)) {
            state = DoubleEscaped;
        }
    }
    m_at = m_in.size();
    return m_at;
}

void BoundedMarkup::endSiblingOf(QByteArrayView name)
{
    const QByteArrayView kind = kindOf(name);
    if (!isOneOf(kind, {"p", "a", "li", "dt", "option", "tr", "td"})) {
        return;
    }
    for (qsizetype i = m_open.size() - 1; i >= 0 && !isContainerOf(kind, m_open.at(i)); --i) {
        if (kindOf(m_open.at(i)) == kind) {
            closeDownTo(i);
            return;
        }
    }
}

// Ends the open elements from the innermost to the one at index, that one included.
void BoundedMarkup::closeDownTo(qsizetype index)
{
    while (m_open.size() > index) {
        m_out += "</" + m_open.constLast() + '>';
        m_open.removeLast();
    }
}
