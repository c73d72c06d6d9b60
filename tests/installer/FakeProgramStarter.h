#pragma once

#include "ProgramStarter.h"

#include <QByteArray>
#include <QList>

// Records each start and answers from a script. It can also copy a file at the moment of a start,
// to show what a started program would have found.
class FakeProgramStarter : public ProgramStarter
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        bool fileExisted = false;
        QByteArray fileContents;
    };

    bool startHidden(const QString& program, const QStringList& arguments) override;

    // The answer of each start in turn; starts beyond the list succeed.
    QList<bool> answers;
    // A file read at every start.
    QString watchedFile;
    QList<Start> starts;
};
