#include "PageText.h"

#include <QStringDecoder>
#include <QTextDocumentFragment>

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
    return html ? fromHtml(text) : text;
}

QString PageText::fromHtml(const QString& html)
{
    QString text = QTextDocumentFragment::fromHtml(html).toPlainText();
    // Images and other embedded objects show as the object replacement character; a page's
    // visible text has nothing there.
    text.remove(QChar::ObjectReplacementCharacter);
    // A table or frame opens and closes with an empty line; the visible text starts at its first
    // visible character, so that an answer's first characters can be tested on an HTML page too.
    return withCrLf(text.trimmed());
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
