#include "ServiceInstaller.h"

#include "FailureBox.h"
#include "ProgramStarter.h"
#include "RegistryTemplate.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <optional>

ServiceInstaller::ServiceInstaller(const QString& applicationDir, ProgramStarter& starter, FailureBox& failureBox)
    : m_applicationDir(applicationDir), m_starter(starter), m_failureBox(failureBox)
{}

QString ServiceInstaller::directoryText(const QString& applicationDir)
{
    QString text = QDir::toNativeSeparators(applicationDir);
    if (!text.endsWith(QDir::separator())) {
        text += QDir::separator();
    }
    return text;
}

bool ServiceInstaller::run()
{
    const QString dir = directoryText(m_applicationDir);
    const QString quote = QStringLiteral("\"");

    if (!m_starter.startHidden(dir + u"instsrv.exe",
                               {QStringLiteral("Quorvex"), quote + dir + u"quorvex_srv.exe" + quote})) {
        fail(QStringLiteral("Could not run the service installer base file."), QStringLiteral("Please re-run setup."));
        return false;
    }

    std::optional<QByteArray> filled;
    QFile templateFile(dir + u"Quorvex.reg");
    if (templateFile.open(QIODevice::ReadOnly)) {
        const QByteArray text = templateFile.readAll();
        if (templateFile.error() == QFileDevice::NoError) {
            filled = RegistryTemplate::fill(text, dir);
        }
    }
    if (!filled) {
        fail(QStringLiteral("Could not find the registry base file."), QStringLiteral("Please re-run setup."));
        return false;
    }

    // Written whole or not at all, and closed before the registry editor may read it. Where the
    // directory forbids new files but an earlier temp.reg there may be written, it is written in
    // place: an installer run from a locked-down directory must still get its entries in.
    QSaveFile registryFile(dir + u"temp.reg");
    registryFile.setDirectWriteFallback(true);
    const QByteArray contents = *filled + "\r\n";
    if (!registryFile.open(QIODevice::WriteOnly) || registryFile.write(contents) != contents.size() ||
        !registryFile.commit()) {
        fail(QStringLiteral("Could not write a temporary file."),
             QStringLiteral("Please ensure you have access to the installation directory and re-run setup."));
        return false;
    }

    if (!m_starter.startHidden(QStringLiteral("Regedit.exe"),
                               {QStringLiteral("/s"), quote + dir + u"temp.reg" + quote})) {
        fail(QStringLiteral("Could not add entries to the system registry."),
             QStringLiteral("Please ensure that you are logged on as an administrator"));
        return false;
    }
    return true;
}

void ServiceInstaller::fail(const QString& firstLine, const QString& secondLine)
{
    m_failureBox.showStop(QStringLiteral("Service Installation Failed"), firstLine + u"\r\n" + secondLine);
}
