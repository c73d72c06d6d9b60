#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// How one interval box steps under the arrow keys and the arrow buttons beside it. The box holds
// free text, read as its leading number; Up adds one and Down takes one away, except that Up never
// writes the ceiling and Down never writes -1. These are tests for one exact value, so stepping
// from a value in range stays in range, with no wrap-around, while a typed value outside the range
// moves on away from it.
class IntervalEditor
{
public:
    static constexpr int HoursCeiling = 100;
    static constexpr int MinutesCeiling = 60;

    explicit IntervalEditor(int ceiling);
    static IntervalEditor hours();
    static IntervalEditor minutes();

    // Qt::Key_Up and Qt::Key_Down; every other key belongs to the box.
    static bool isStepKey(int key);

    // The box's new text after key, in plain decimal; nothing when the box is to stay as it is
    // (not a step key, a step onto a bound, or a value too large to step).
    std::optional<QString> stepped(QStringView text, int key) const;

    // The number at the start of text: blanks skipped, then an optional sign, digits, a decimal
    // point and an exponent, up to the first character that cannot continue it. 0 when there is no
    // number there ("abc", "", "-"); an infinity when it is too large for a double.
    static double leadingNumber(QStringView text);

private:
    int m_ceiling;
};
