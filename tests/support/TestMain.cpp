#include "TestMain.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    return runTestsWith<QCoreApplication>(argc, argv);
}
