#pragma once

#include <QString>

#include <optional>

// One field read as "number or text": a number when the field is an unquoted decimal number,
// text otherwise (a quoted field is always text). An empty field is empty text.
class FieldValue
{
public:
    static FieldValue fromNumber(double number);
    static FieldValue fromText(QString text);

    bool isNumber() const { return m_isNumber; }
    bool isEmpty() const { return !m_isNumber && m_text.isEmpty(); }

    // What a text box shows for it: the number in plain decimal form, or the text as it stands.
    QString toText() const;

    // The value used in arithmetic: the number, or text that reads as one; empty counts as 0.
    std::optional<double> toNumber() const;

private:
    bool m_isNumber = false;
    double m_number = 0.0;
    QString m_text;
};
