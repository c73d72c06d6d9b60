#include "TestPrinters.h"

#include <QDebug>

void PrintTo(const QString& text, std::ostream* out)
{
    QString quoted;
    QDebug(&quoted) << text;
    *out << quoted.toStdString();
}

void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    QString quoted;
    QDebug(&quoted) << bytes;
    *out << quoted.toStdString();
}

void PrintTo(const QStringList& list, std::ostream* out)
{
    QString quoted;
    QDebug(&quoted) << list;
    *out << quoted.toStdString();
}
