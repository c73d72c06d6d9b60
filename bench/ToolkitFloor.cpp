// The toolkit's floor for the idle footprint: the least a Qt Widgets program with a window can
// hold and spend here, one tab widget with one tab, shown and left on the event loop.

#include <QApplication>
#include <QTabWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QTabWidget tabs;
    tabs.addTab(new QWidget, QStringLiteral("Status"));
    tabs.resize(480, 360);
    tabs.show();
    return application.exec();
}
