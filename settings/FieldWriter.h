#pragma once

#include <QString>

// Builds the content of a settings or temporary file, one value per line, each line ended by
// CR LF. The content is then written whole by TextFile.
class FieldWriter
{
public:
    // Written exactly as it stands, without quotes.
    void writeText(const QString& text);
    // A text the readers give back as written: in double quotes when it holds a comma or a line
    // end, starts or ends with a blank, starts with a double quote or reads as a number (a
    // password "pa,ss" would read back as "pa", an account "007" as 7). Ordinary text is written
    // as writeText writes it. A text holding a double quote cannot be quoted and is written as it
    // stands; it is refused where it is typed.
    void writeField(const QString& text);
    // Numeric print form: a blank for the plus sign (or "-"), the digits, one trailing blank.
    void writeInteger(int value);

    const QString& content() const { return m_content; }

private:
    QString m_content;
};
