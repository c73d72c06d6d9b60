#pragma once

#include <QString>
#include <QStringList>

// What quorvex_srv is asked to do by its arguments. It takes no options but these two: a service
// manager starts it bare, and an argument it does not know must not start an updater that sends
// to the service.
class CommandLine
{
public:
    enum class Action { Run, Help, Version, Usage };

    // The arguments after the program's name.
    static Action parse(const QStringList& arguments);
    // What --help prints: the usage, what it does and its exit statuses.
    static QString helpText();
    static QString versionText();
};
