#pragma once

#include <QString>
#include <QStringList>

// Starts another program with its window hidden and does not wait for it.
class ProgramStarter
{
public:
    virtual ~ProgramStarter();

    // `program` is a path or a bare name looked up the system's way. Each entry of `arguments` is one
    // word of the command line as it is written there: a word in double quotes is one argument, and the
    // quotes delimit it rather than belong to it. Returns false only when the program cannot be started
    // at all; what it does afterwards is not observed.
    virtual bool startHidden(const QString& program, const QStringList& arguments) = 0;
};
