#include "FieldValue.h"

#include "NumberText.h"

#include <utility>

FieldValue FieldValue::fromNumber(double number)
{
    FieldValue value;
    value.m_isNumber = true;
    value.m_number = number;
    return value;
}

FieldValue FieldValue::fromText(QString text)
{
    FieldValue value;
    value.m_text = std::move(text);
    return value;
}

QString FieldValue::toText() const
{
    return m_isNumber ? NumberText::plainDecimal(m_number) : m_text;
}

std::optional<double> FieldValue::toNumber() const
{
    if (m_isNumber) {
        return m_number;
    }
    if (m_text.trimmed().isEmpty()) {
        return 0.0;
    }
    return NumberText::parse(m_text);
}
