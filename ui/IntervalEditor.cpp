#include "IntervalEditor.h"

#include "NumberText.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qsizetype skipDigits(QStringView text, qsizetype i)
{
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    return i;
}

} // namespace

IntervalEditor::IntervalEditor(int ceiling) : m_ceiling(ceiling) {}

IntervalEditor IntervalEditor::hours()
{
    return IntervalEditor(HoursCeiling);
}

IntervalEditor IntervalEditor::minutes()
{
    return IntervalEditor(MinutesCeiling);
}

bool IntervalEditor::isStepKey(int key)
{
    return key == Qt::Key_Up || key == Qt::Key_Down;
}

std::optional<QString> IntervalEditor::stepped(QStringView text, int key) const
{
    if (!isStepKey(key)) {
        return std::nullopt;
    }
    const bool up = key == Qt::Key_Up;
    const double next = leadingNumber(text) + (up ? 1.0 : -1.0);
    const double bound = up ? m_ceiling : -1.0;
    if (next == bound || !std::isfinite(next)) {
        return std::nullopt;
    }
    return NumberText::plainDecimal(next);
}

double IntervalEditor::leadingNumber(QStringView text)
{
    qsizetype begin = 0;
    while (begin < text.size() && (text[begin] == u' ' || text[begin] == u'\t')) {
        ++begin;
    }
    qsizetype i = begin;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    const qsizetype integerEnd = skipDigits(text, i);
    qsizetype end = integerEnd;
    bool hasDigits = integerEnd > i;
    if (end < text.size() && text[end] == u'.') {
        const qsizetype fractionEnd = skipDigits(text, end + 1);
        hasDigits = hasDigits || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!hasDigits) {
        return 0.0;
    }
    // An exponent counts only when digits follow it: "2e" and "2e+" are 2.
    if (end < text.size() && (text[end] == u'e' || text[end] == u'E')) {
        qsizetype exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == u'+' || text[exponent] == u'-')) {
            ++exponent;
        }
        const qsizetype exponentEnd = skipDigits(text, exponent);
        if (exponentEnd > exponent) {
            end = exponentEnd;
        }
    }
    const QStringView number = text.sliced(begin, end - begin);
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    if (ok) {
        return value;
    }
    // The text is a well-formed number, so only its size can have failed the conversion.
    const bool negative = number.startsWith(u'-');
    const qsizetype exponentAt = number.indexOf(u'e', 0, Qt::CaseInsensitive);
    if (exponentAt >= 0 && number.sliced(exponentAt + 1).startsWith(u'-')) {
        return negative ? -0.0 : 0.0;
    }
    const double infinity = std::numeric_limits<double>::infinity();
    return negative ? -infinity : infinity;
}
