#include "AscToHex.h"

QString asctohex(quint8 code)
{
    // A byte never reaches 256, so the high part is always a single digit and the table covers every code.
    static constexpr char16_t digits[] = u"0123456789abcdef";
    const int high = code / 16;
    const int low = code - 16 * high;
    const QChar pair[] = {QChar(digits[high]), QChar(digits[low])};
    return QString(pair, 2);
}
