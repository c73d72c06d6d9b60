#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>

// A page's markup rewritten for the HTML parser with the same visible text, in a form the parser
// takes in time in proportion to its size. gumbo looks through every open element at most tags and
// through a tag's attributes at each new one: 1 MiB of nested <div> held the one thread for
// minutes, one tag with a quarter of that in attributes for seconds. Here a start tag keeps only
// its name and the attributes that hide content (hidden, style); comments, declarations, scripts,
// style sheets and the other elements whose text is never shown go; a "<" that opens no tag is
// text; and elements nest at most MaxDepth deep, start tags deeper being dropped with their content
// kept. Every element ended here is ended by an end tag written out, so whatever the parser makes
// of the markup it never holds more than a few times MaxDepth elements open.
class BoundedMarkup
{
public:
    static constexpr qsizetype MaxDepth = 128;

    // UTF-8 in and out.
    static QByteArray of(QByteArrayView html);

private:
    struct Tag
    {
        QByteArray name; // ASCII letters in lower case
        QByteArray style;
        bool hasStyle = false;
        bool hidden = false;
        bool selfClosing = false;
        bool complete = false; // ended by ">" before the end of the page
    };

    explicit BoundedMarkup(QByteArrayView html) : m_in(html) { m_out.reserve(html.size()); }

    void markup();
    Tag readTag();
    void startTag(const Tag& tag);
    void endTag(const Tag& tag);
    void write(const Tag& tag);
    void writeLiteral(QByteArrayView text);
    qsizetype skipTextOf(QByteArrayView name);
    void endSiblingOf(QByteArrayView name);
    void closeDownTo(qsizetype index);

    QByteArrayView m_in;
    qsizetype m_at = 0;
    QByteArray m_out;
    QByteArrayList m_open;
};
