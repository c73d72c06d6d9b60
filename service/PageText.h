#pragma once

#include <QByteArray>
#include <QString>

// The visible text of an answer, as a browser would show it: HTML parsed and laid out as lines
// with CR LF breaks, plain text exactly as it came.
class PageText
{
public:
    // Decides between HTML and plain text by the Content-Type header value, or, when there is
    // none, by whether the body looks like an HTML document.
    static QString fromBody(const QByteArray& body, const QByteArray& contentType);
    static bool isHtml(const QByteArray& body, const QByteArray& contentType);
    static QString fromHtml(const QString& html);
    // Every line break (LF, CR, CR LF, Unicode line and paragraph separators) becomes CR LF.
    static QString withCrLf(const QString& text);
};
