#include "PercentText.h"

#include <QStringDecoder>

static int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

QByteArray PercentText::decodeBytes(QByteArrayView raw, bool* ok)
{
    bool valid = true;
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '%') {
            const bool room = i + 2 < raw.size();
            const int high = room ? hexValue(raw[i + 1]) : -1;
            const int low = room ? hexValue(raw[i + 2]) : -1;
            if (high >= 0 && low >= 0) {
                out.append(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
            valid = false;
        }
        out.append(c);
    }
    if (ok) {
        *ok = valid;
    }
    return out;
}

QString PercentText::decode(QByteArrayView raw, bool* ok)
{
    bool valid = true;
    const QByteArray bytes = decodeBytes(raw, &valid);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        valid = false;
    }
    if (ok) {
        *ok = valid;
    }
    return text;
}
