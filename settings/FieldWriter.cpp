#include "FieldWriter.h"

#include "NumberText.h"

namespace {
constexpr QLatin1StringView lineEnd("\r\n");
}

void FieldWriter::writeText(const QString& text)
{
    m_content += text + lineEnd;
}

void FieldWriter::writeField(const QString& text)
{
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    const bool needsQuotes = !text.isEmpty() && !text.contains(u'"') &&
                             (text.contains(u',') || text.contains(u'\r') || text.contains(u'\n') ||
                              isBlank(text.front()) || isBlank(text.back()) || NumberText::parse(text).has_value());
    m_content += (needsQuotes ? u'"' + text + u'"' : text) + lineEnd;
}

void FieldWriter::writeInteger(int value)
{
    const QString sign = value < 0 ? QStringLiteral("-") : QStringLiteral(" ");
    // Widened first so that the lowest int still prints its digits.
    const qint64 magnitude = value < 0 ? -static_cast<qint64>(value) : value;
    m_content += sign + QString::number(magnitude) + u' ' + lineEnd;
}
