#pragma once

#include <QString>

// Where the program keeps its settings and temporary files: the directory of the running program.
class ApplicationDirectory
{
public:
    // The directory in native form, always ending with the native separator, so that a file name
    // can be appended directly.
    static QString path();
    // The same rule for any directory, for callers that keep their files elsewhere (tests).
    static QString withTrailingSeparator(const QString& directory);
};
