#pragma once

#include <QString>

// The program's identity. Both fields stay empty until Initialize() is called; every user makes a
// fresh instance, initializes it and reads the field it needs.
class ProjConf
{
public:
    void Initialize();

    QString Version;
    QString ProgramName;
};
