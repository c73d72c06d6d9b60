#pragma once

#include <QString>

class FailureBox;
class ProgramStarter;

// The installer's one run: register the service executable with the registration tool, fill the
// registry template into "temp.reg" and import it with the registry editor. Each step that fails
// shows its own message and ends the run; what earlier steps did is not undone.
class ServiceInstaller
{
public:
    ServiceInstaller(const QString& applicationDir, ProgramStarter& starter, FailureBox& failureBox);

    // The application directory with the native separator appended unless it already ends with one.
    static QString directoryText(const QString& applicationDir);

    // Runs all steps once. Returns true when every step succeeded (nothing was shown).
    bool run();

private:
    void fail(const QString& firstLine, const QString& secondLine);

    QString m_applicationDir;
    ProgramStarter& m_starter;
    FailureBox& m_failureBox;
};
