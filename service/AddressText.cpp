#include "AddressText.h"

#include <QRegularExpression>

QString AddressText::ExtractIP(const QString& text)
{
    // ASCII digits only: a browser's "\d" would not take other scripts' digits either.
    static const QRegularExpression dottedQuad(QStringLiteral("[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+"));
    return dottedQuad.match(text).captured(0);
}
