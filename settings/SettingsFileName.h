#pragma once

#include <QString>

// The program names its files in several spellings ("Conf.ini", "conf.ini"); on a file system
// that tells letter case apart they must all reach one file. A name is resolved against the
// directory: the existing file whose name matches without regard to case, else the canonical
// spelling. Readers and writers resolve the same way, so both find the same file.
class SettingsFileName
{
public:
    // directory ends with a separator, as ConfigPath does; the result is the full path.
    static QString resolve(const QString& directory, const QString& canonicalName);
};
