#pragma once

#include <QString>
#include <QStringList>

// The command line: quorvex-sim [--port N] --data FILE
class SimulatorOptions
{
public:
    static constexpr quint16 DefaultPort = 8780;

    enum class Outcome { Run, Help, Error };

    // arguments include the program name first, as QCoreApplication::arguments() gives them.
    Outcome parse(const QStringList& arguments);

    quint16 port() const { return m_port; }
    QString dataFile() const { return m_dataFile; }
    QString error() const { return m_error; }
    static QString usage();

private:
    quint16 m_port = DefaultPort;
    QString m_dataFile;
    QString m_error;
};
