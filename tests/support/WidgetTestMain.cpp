#include "TestMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    return runTestsWith<QApplication>(argc, argv);
}
