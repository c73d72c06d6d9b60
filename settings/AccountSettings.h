#pragma once

#include <QString>

// The first two lines of "Account.ini" as start-up loads them.
struct AccountSettings
{
    QString userName; // "007" in the file comes back as "7": the name is read as number or text
    QString password;
};
