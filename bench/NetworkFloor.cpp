// The floor for the headless program's footprint: the least a Qt Core and Network program holds
// here, one network access manager and one idle timer on the event loop, nothing shown.

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QTimer>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QNetworkAccessManager network;
    QTimer idle;
    idle.start(60000);
    return QCoreApplication::exec();
}
