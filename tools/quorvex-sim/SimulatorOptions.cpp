#include "SimulatorOptions.h"

SimulatorOptions::Outcome SimulatorOptions::parse(const QStringList& arguments)
{
    auto fail = [this](const QString& reason) {
        m_error = reason;
        return Outcome::Error;
    };
    bool havePort = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        QString name = argument;
        QString value;
        bool haveValue = false;
        const qsizetype equals = argument.indexOf(u'=');
        if (argument.startsWith(u"--") && equals > 0) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
            haveValue = true;
        }
        if (name == u"--help" || name == u"-h") {
            return Outcome::Help;
        }
        if (name != u"--port" && name != u"--data") {
            return fail(u"unknown option \"" + argument + u'"');
        }
        if (!haveValue) {
            if (i + 1 >= arguments.size()) {
                return fail(name + u" needs a value");
            }
            value = arguments[++i];
        }
        if (name == u"--port") {
            if (havePort) {
                return fail(QStringLiteral("--port given twice"));
            }
            bool ok = false;
            const uint port = value.toUInt(&ok);
            if (!ok || port > 65535) {
                return fail(u"--port needs a number from 0 to 65535, not \"" + value + u'"');
            }
            m_port = static_cast<quint16>(port);
            havePort = true;
        } else {
            if (!m_dataFile.isEmpty()) {
                return fail(QStringLiteral("--data given twice"));
            }
            if (value.isEmpty()) {
                return fail(QStringLiteral("--data needs a file name"));
            }
            m_dataFile = value;
        }
    }
    if (m_dataFile.isEmpty()) {
        return fail(QStringLiteral("--data FILE is required"));
    }
    return Outcome::Run;
}

QString SimulatorOptions::usage()
{
    return QStringLiteral("usage: quorvex-sim [--port N] --data FILE\n"
                          "  --port N     port on 127.0.0.1 and [::1] to listen on; 0 picks a free one (default 8780)\n"
                          "  --data FILE  accounts, domains and hosts to serve");
}
