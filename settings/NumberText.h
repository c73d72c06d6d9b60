#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The number rules of the settings files: what counts as a decimal number, how a number is shown
// in plain decimal form, and the rounding (a half goes to the even neighbour) used wherever a
// number becomes an integer.
class NumberText
{
public:
    // A decimal number with optional sign, fraction and exponent, blanks around it allowed.
    // Blank or empty text is not a number here; callers decide what an empty field means.
    static std::optional<double> parse(QStringView text);

    // "5", "1.5", "-3", "1000": no exponent, no trailing zeros, no blanks.
    static QString plainDecimal(double value);

    static double roundHalfEven(double value);

    // The value rounded half to even, if it fits a 16-bit signed integer.
    static std::optional<qint16> toInt16(double value);
};
