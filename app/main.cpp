#include "QuorvexApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The main window hides to the notification area; only Exit ends the program.
    application.setQuitOnLastWindowClosed(false);
    QuorvexApp quorvex;
    return application.exec();
}
