#include "StandardOutputLog.h"

#include <QByteArray>
#include <QList>

#include <sys/stat.h>

namespace {

// JOURNAL_STREAM is "<device>:<inode>" of the stream systemd connected to the journal; a stream
// redirected elsewhere since has another.
bool isJournal(std::FILE* stream)
{
    const QList<QByteArray> ids = qgetenv("JOURNAL_STREAM").split(':');
    struct stat status = {};
    if (ids.size() != 2 || ::fstat(fileno(stream), &status) != 0) {
        return false;
    }
    bool deviceRead = false;
    bool inodeRead = false;
    const qulonglong device = ids.at(0).toULongLong(&deviceRead);
    const qulonglong inode = ids.at(1).toULongLong(&inodeRead);
    return deviceRead && inodeRead && device == status.st_dev && inode == status.st_ino;
}

} // namespace

StandardOutputLog::StandardOutputLog(std::FILE* stream, QObject* parent)
    : QObject(parent), m_stream(stream), m_toJournal(isJournal(stream))
{}

QString StandardOutputLog::line(const QString& chunk)
{
    QString text = chunk;
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) {
        text.chop(1);
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text + QLatin1Char('\n');
}

QString StandardOutputLog::journalLine(const QString& chunk, EventLog::Level level)
{
    QString text = line(chunk);
    // Copies of requests and answers carry no time stamp; every other entry has one before " - ".
    if (!text.startsWith(QLatin1Char('\t'))) {
        const qsizetype dash = text.indexOf(QStringLiteral(" - "));
        if (dash >= 0) {
            text.remove(0, dash + 3);
        }
    }
    const char* priority = level == EventLog::Level::Error ? "<3>" : level == EventLog::Level::Warning ? "<4>" : "<6>";
    return QLatin1StringView(priority) + text;
}

void StandardOutputLog::write(const QString& chunk, EventLog::Level level)
{
    const QByteArray bytes = (m_toJournal ? journalLine(chunk, level) : line(chunk)).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), m_stream);
    std::fflush(m_stream);
}
