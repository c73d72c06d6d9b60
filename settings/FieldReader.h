#pragma once

#include "FieldValue.h"

#include <QString>
#include <QStringList>

#include <optional>

// Reads a settings or temporary file field by field. Blanks before a field are skipped; a field
// ends at a comma or at the end of its line; a field that begins with a double quote runs to the
// next double quote (across line ends, or to the end of the text), and whatever follows it up to
// the next comma or line end is dropped. An empty line is one empty field. Every read returns
// nothing once the text is used up, or when the field is not of the asked kind.
class FieldReader
{
public:
    explicit FieldReader(QString content);

    // No more data: the next read would fail.
    bool atEnd() const;

    std::optional<QString> readText();
    // A decimal number; an empty field reads as 0.
    std::optional<double> readNumber();
    std::optional<FieldValue> readNumberOrText();
    // A number rounded half to even that fits a 16-bit signed integer; an empty field reads as 0.
    std::optional<qint16> readInt16();
    // Every field left, as text, empty ones included: the entries of a list, one a line. A double
    // quote with no closing one on its line ends there, so that no entry swallows the ones after it.
    QStringList readRemainingTexts();

private:
    struct Field
    {
        QString text;
        bool quoted = false;
    };

    std::optional<Field> readField(bool withinLine = false);
    void skipToNextField();
    bool atLineEnd() const;

    QString m_content;
    qsizetype m_pos = 0;
};
