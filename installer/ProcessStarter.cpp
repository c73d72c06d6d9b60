#include "ProcessStarter.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#ifndef Q_OS_WIN
// Without a command line to parse, the quotes around a word only delimit it.
static QString unquoted(const QString& word)
{
    if (word.size() >= 2 && word.startsWith(u'"') && word.endsWith(u'"')) {
        return word.sliced(1, word.size() - 2);
    }
    return word;
}
#endif

bool ProcessStarter::startHidden(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(program);
#ifdef Q_OS_WIN
    // The words go to the command line as they are written; Qt puts the program in front, quoted
    // when its path holds a space.
    process.setNativeArguments(arguments.join(u' '));
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_HIDE;
    });
#else
    QStringList argv;
    argv.reserve(arguments.size());
    for (const QString& word : arguments) {
        argv.append(unquoted(word));
    }
    process.setArguments(argv);
#endif
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}
