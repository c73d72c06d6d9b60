#pragma once

#include "ProgramStarter.h"

// Starts programs through QProcess. The program is always passed apart from its arguments, so a path
// with a space in it can never be read as a shorter path followed by arguments.
class ProcessStarter : public ProgramStarter
{
public:
    bool startHidden(const QString& program, const QStringList& arguments) override;
};
