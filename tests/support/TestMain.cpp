#include "TestMain.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    return runTestsWith<QGuiApplication>(argc, argv);
}
