#pragma once

#include <QObject>
#include <QString>

class Clock;

// The program's log: appended at the end, never trimmed (or not kept at all). Each append adds only its own text
// (amortized constant cost), so a log of a year of updates stays as quick as a fresh one.
// The log window mirrors it through appended().
class EventLog : public QObject
{
    Q_OBJECT

public:
    // How much an entry matters to someone reading a journal for problems: a fault the program
    // waits out, or the reason it ends. The window shows every entry alike.
    enum class Level { Info, Warning, Error };

    explicit EventLog(const Clock& clock, QObject* parent = nullptr);

    // NowText, " - ", the message, CR LF.
    void appendMessage(const QString& message, Level level = Level::Info);
    // NowText, the entry, CR LF: for entries that carry their own " - ".
    void appendEntry(const QString& entry);
    // A copy of a request or an answer: TAB, ">> ", the text, without a time stamp. The text
    // brings its own line end where it has one.
    void appendCopy(const QString& text);

    // The text appended so far; empty when it is not kept.
    const QString& text() const { return m_text; }
    // A program whose log is its standard output keeps no copy, which would grow for as long
    // as it runs.
    void setKeepsText(bool keeps) { m_keepsText = keeps; }

signals:
    void appended(const QString& chunk, EventLog::Level level);

private:
    void append(const QString& chunk, Level level = Level::Info);

    const Clock& m_clock;
    QString m_text;
    bool m_keepsText = true;
};
