#include "CommandLine.h"

#include "ProjConf.h"
#include "SettingsDirectory.h"

using namespace Qt::StringLiterals;

CommandLine::Action CommandLine::parse(const QStringList& arguments)
{
    if (arguments.isEmpty()) {
        return Action::Run;
    }
    if (arguments.size() == 1 && (arguments.front() == u"--help"_s || arguments.front() == u"-h"_s)) {
        return Action::Help;
    }
    if (arguments.size() == 1 && arguments.front() == u"--version"_s) {
        return Action::Version;
    }
    return Action::Usage;
}

QString CommandLine::helpText()
{
    // Named, not resolved: asking for help must not make the user's settings directory.
    const QString settings = SettingsDirectory::builtLocation() == SettingsDirectory::Location::User
                                 ? u"the settings files in $XDG_CONFIG_HOME/quorvex or ~/.config/quorvex (written by\n"
                                   u"quorvex's setup wizard),\n"_s
                                 : u"the settings files of its own directory (written by quorvex's setup wizard),\n"_s;
    return u"Usage: quorvex_srv [--help | --version]\n"
           u"\n"
           u"Keeps the hosts of Account.ini pointing at this network's address, without a window:\n"_s +
           settings +
           u"a forced update at start, then one at every change of the address. Its log is\n"
           u"standard output. SIGHUP reads the settings again; SIGUSR1 looks the address up at\n"
           u"once, as a change of the network does; SIGTERM or SIGINT stops it.\n"
           u"\n"
           u"Exit statuses:\n"
           u"   0  stopped by SIGTERM or SIGINT, or --help, --version\n"
           u"   1  the signal handlers could not be set up\n"
           u"  64  an unknown argument\n"
           u"  77  the service refused the account's name or password\n"
           u"  78  Conf.ini or Account.ini cannot be read, or names no host, at start; or the\n"
           u"      settings directory cannot be made or written\n"_s;
}

QString CommandLine::versionText()
{
    ProjConf conf;
    conf.Initialize();
    return u"quorvex_srv "_s + conf.Version + u'\n';
}
