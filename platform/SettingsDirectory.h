#pragma once

#include <QString>

// Where both programs keep their settings and temporary files (ConfigPath). Which kind of
// directory is the build's choice, so that one build reads and writes one directory only:
// beside the program (run in place, the demo, the application-directory install) or in the
// user's configuration directory (an install into /usr, where the program's directory is not
// the user's to write).
class SettingsDirectory
{
public:
    enum class Location { Application, User };

    // The kind this build was configured with (QUORVEX_SETTINGS_LOCATION).
    static Location builtLocation();
    // The directory of this build's kind for the running program, made when it is missing.
    static SettingsDirectory ofThisBuild();
    // Application: applicationDirectory as it is. User: "quorvex" in xdgConfigHome, or in
    // home's ".config" when xdgConfigHome is unset, empty or relative (the base-directory rules
    // count a relative one as invalid); a missing one is made, with any missing parents, for the
    // owner alone (0700).
    static SettingsDirectory resolve(Location location, const QString& applicationDirectory,
                                     const QString& xdgConfigHome, const QString& home);

    // A directory given as it is, of the application kind: the tests' and the tools' own.
    explicit SettingsDirectory(const QString& directory);

    Location location() const { return m_location; }
    // In native form, always ending with the native separator, so that a file name can be
    // appended directly.
    const QString& path() const { return m_path; }
    // Why no file can be kept there, naming the directory; empty when the directory is usable.
    const QString& problem() const { return m_problem; }

private:
    SettingsDirectory(Location location, const QString& directory);

    Location m_location;
    QString m_path;
    QString m_problem;
};
