#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Percent-decoding as the simulator applies it to query pieces and data-file fields.
// A "+" is an ordinary character here, never a space.
class PercentText
{
public:
    // Decodes every "%XY"; a "%" not followed by two hex digits is kept as it is and clears *ok.
    static QByteArray decodeBytes(QByteArrayView raw, bool* ok = nullptr);
    // Decodes and reads the bytes as UTF-8; invalid UTF-8 also clears *ok.
    static QString decode(QByteArrayView raw, bool* ok = nullptr);
};
