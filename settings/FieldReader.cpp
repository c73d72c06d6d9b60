#include "FieldReader.h"

#include "NumberText.h"

#include <utility>

FieldReader::FieldReader(QString content) : m_content(std::move(content)) {}

bool FieldReader::atEnd() const
{
    return m_pos >= m_content.size();
}

bool FieldReader::atLineEnd() const
{
    return m_content[m_pos] == u'\r' || m_content[m_pos] == u'\n';
}

// Consumes up to and including the delimiter that ends the current field: a comma or a line end
// (CR LF, or a lone CR or LF, so files edited on other systems read the same).
void FieldReader::skipToNextField()
{
    while (!atEnd() && m_content[m_pos] != u',' && !atLineEnd()) {
        ++m_pos;
    }
    if (atEnd()) {
        return;
    }
    if (m_content[m_pos] == u',') {
        ++m_pos;
        return;
    }
    if (m_content[m_pos] == u'\r' && m_pos + 1 < m_content.size() && m_content[m_pos + 1] == u'\n') {
        m_pos += 2;
        return;
    }
    ++m_pos;
}

std::optional<FieldReader::Field> FieldReader::readField(bool withinLine)
{
    if (atEnd()) {
        return std::nullopt;
    }
    while (!atEnd() && (m_content[m_pos] == u' ' || m_content[m_pos] == u'\t')) {
        ++m_pos;
    }
    Field field;
    if (!atEnd() && m_content[m_pos] == u'"') {
        field.quoted = true;
        const qsizetype start = m_pos + 1;
        qsizetype close = m_content.indexOf(u'"', start);
        if (close < 0) {
            close = m_content.size();
        }
        if (withinLine) {
            for (qsizetype i = start; i < close; ++i) {
                if (m_content[i] == u'\r' || m_content[i] == u'\n') {
                    close = i;
                    break;
                }
            }
        }
        field.text = m_content.sliced(start, close - start);
        // Past the closing quote; a line end that closed the field is the delimiter skipped next.
        m_pos = close < m_content.size() && m_content[close] == u'"' ? close + 1 : close;
        skipToNextField();
        return field;
    }
    const qsizetype start = m_pos;
    while (!atEnd() && m_content[m_pos] != u',' && !atLineEnd()) {
        ++m_pos;
    }
    field.text = m_content.sliced(start, m_pos - start);
    skipToNextField();
    return field;
}

std::optional<QString> FieldReader::readText()
{
    auto field = readField();
    if (!field) {
        return std::nullopt;
    }
    return std::move(field->text);
}

std::optional<double> FieldReader::readNumber()
{
    const auto field = readField();
    if (!field) {
        return std::nullopt;
    }
    if (field->text.trimmed().isEmpty()) {
        return 0.0;
    }
    return NumberText::parse(field->text);
}

std::optional<FieldValue> FieldReader::readNumberOrText()
{
    auto field = readField();
    if (!field) {
        return std::nullopt;
    }
    if (!field->quoted) {
        if (const auto number = NumberText::parse(field->text)) {
            return FieldValue::fromNumber(*number);
        }
    }
    return FieldValue::fromText(std::move(field->text));
}

std::optional<qint16> FieldReader::readInt16()
{
    const auto number = readNumber();
    if (!number) {
        return std::nullopt;
    }
    return NumberText::toInt16(*number);
}

QStringList FieldReader::readRemainingTexts()
{
    QStringList texts;
    while (auto field = readField(true)) {
        texts.append(std::move(field->text));
    }
    return texts;
}
