#pragma once

#include <QString>
#include <QStringList>

// Builds the content of a settings or temporary file, one value per line, each line ended by
// CR LF. The content is then written whole by TextFile.
class FieldWriter
{
public:
    // Written exactly as it stands, without quotes.
    void writeText(const QString& text);
    void writeTexts(const QStringList& texts);
    // Numeric print form: a blank for the plus sign (or "-"), the digits, one trailing blank.
    void writeInteger(int value);

    const QString& content() const { return m_content; }

private:
    QString m_content;
};
