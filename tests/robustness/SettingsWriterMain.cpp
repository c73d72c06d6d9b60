// A child for the write-under-a-kill test: rewrites one settings file through the program's own
// writer for ever, alternating two contents, until it is killed. Prints "ready" once the first
// write is in.
//
//   quorvex_settings_writer <directory/> conf|account|update

#include "SettingsWriterContents.h"

#include <QString>

#include <cstdio>

#include <sys/stat.h>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: quorvex_settings_writer <directory/> conf|account|update\n", stderr);
        return 2;
    }
    // The loosest mask a user may have: the account file must be private all the same.
    ::umask(0);
    const QString directory = QString::fromLocal8Bit(argv[1]);
    const QString kind = QString::fromLocal8Bit(argv[2]);
    for (unsigned long long round = 0;; ++round) {
        if (!SettingsWriterContents::write(directory, kind, round % 2 == 0)) {
            std::fputs("write failed\n", stderr);
            return 1;
        }
        if (round == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
