// A child for the write-under-a-kill test: writes the three settings files through the program's
// own writers, with content "a" or "b" once, or alternating the two until it is killed ("loop",
// printing "ready" once every file is in).
//
//   quorvex_settings_writer <directory/> a|b|loop

#include "AccountFile.h"
#include "ConfFile.h"
#include "UpdateFile.h"

#include <cstdio>
#include <cstring>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QStringList names(const QString& pattern, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i) {
        list.append(pattern.arg(i));
    }
    return list;
}

// Large enough that a write takes a while; the two differ in size and in every line.
bool writeAll(const QString& directory, bool a)
{
    return ConfFile::writeFromSettingsTab(
               directory, a ? u"1"_s : u"0"_s, a ? u"30"_s : u"5"_s, a, a ? 1 : 0, a ? u"5"_s : u"0"_s,
               names(a ? u"locator-%1.example/ip"_s : u"other-%1.example"_s, a ? 3000 : 1700)) &&
           AccountFile::write(directory, a ? u"alice"_s : u"bob"_s, a ? u"first secret"_s : u"second \"secret\""_s,
                              names(a ? u"host%1.example.com"_s : u"other-%1.example.net"_s, a ? 4000 : 2500)) &&
           UpdateFile::writeFromVersionPage(directory,
                                            (a ? u"http://gw.example/"_s : u"http://other.example/"_s) +
                                                QString(a ? 60000 : 30000, a ? u'a' : u'b') + u"\r\n1.3"_s,
                                            a ? u"12/6/26"_s : u"1/2/27"_s);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: quorvex_settings_writer <directory/> a|b|loop\n", stderr);
        return 2;
    }
    // The loosest mask a user may have: the account file must be private all the same.
    ::umask(0);
    const QString directory = QString::fromLocal8Bit(argv[1]);
    if (std::strcmp(argv[2], "loop") != 0) {
        return writeAll(directory, std::strcmp(argv[2], "a") == 0) ? 0 : 1;
    }
    for (bool a = true, ready = false;; a = !a, ready = true) {
        if (!writeAll(directory, a)) {
            return 1;
        }
        if (!ready) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
