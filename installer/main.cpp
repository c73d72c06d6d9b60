#include "InstallerWindow.h"
#include "MessageFailureBox.h"
#include "ProcessStarter.h"
#include "ServiceInstaller.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    ProcessStarter starter;
    MessageFailureBox failureBox;
    ServiceInstaller installer(QCoreApplication::applicationDirPath(), starter, failureBox);
    InstallerWindow window(installer);

    int exitCode = 0;
    QObject::connect(
        &window, &InstallerWindow::finished, &app,
        [&exitCode](bool succeeded) {
            exitCode = succeeded ? 0 : 1;
            QCoreApplication::quit();
        },
        Qt::QueuedConnection);

    window.centre();
    window.show();
    app.exec();
    return exitCode;
}
