#include "StandardOutputLog.h"

StandardOutputLog::StandardOutputLog(std::FILE* stream, QObject* parent) : QObject(parent), m_stream(stream) {}

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

void StandardOutputLog::write(const QString& chunk)
{
    const QByteArray bytes = line(chunk).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), m_stream);
    std::fflush(m_stream);
}
