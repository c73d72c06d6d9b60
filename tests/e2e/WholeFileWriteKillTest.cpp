#include "support/TemporaryAppDirectory.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include <signal.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int Kills = 20;

unsigned modeOf(const QString& path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 0777U) : 0U;
}

} // namespace

// A child rewrites the settings files through the program's writers in a loop, alternating two
// contents, and is killed at a random moment, again and again: each file is always exactly one of
// the two, never cut short, never gone, and the account file never readable by others.
TEST(WholeFileWrites, AKilledWriterLeavesEachSettingsFileWithTheOldContentOrTheNew)
{
    const QString writer = QStringLiteral(QUORVEX_SETTINGS_WRITER);
    const TemporaryAppDirectory a;
    const TemporaryAppDirectory b;
    const TemporaryAppDirectory dir;
    ASSERT_EQ(QProcess::execute(writer, {a.path(), u"a"_s}), 0);
    ASSERT_EQ(QProcess::execute(writer, {b.path(), u"b"_s}), 0);
    const unsigned seed = std::random_device()();
    SCOPED_TRACE(testing::Message() << "pauses from seed " << seed);
    std::mt19937 random(seed);
    int foundB = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        SCOPED_TRACE(testing::Message() << "kill " << kill);
        QProcess child;
        QElapsedTimer sinceStart;
        sinceStart.start();
        child.start(writer, {dir.path(), u"loop"_s});
        ASSERT_TRUE(child.waitForReadyRead(10000)) << child.readAllStandardError().toStdString();
        // A start and a round of writes took this long here, on this disk: pauses up to three of
        // them fall anywhere in a round, before and after each rename.
        std::uniform_int_distribution<qint64> pause(0, 3 * sinceStart.nsecsElapsed() / 1000);
        std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
        ASSERT_EQ(::kill(static_cast<pid_t>(child.processId()), SIGKILL), 0);
        ASSERT_TRUE(child.waitForFinished(10000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << "the writer stopped by itself";

        for (const QString& name : {u"Conf.ini"_s, u"Account.ini"_s, u"Update.ini"_s}) {
            const QByteArray now = dir.readBytes(name);
            EXPECT_TRUE(now == a.readBytes(name) || now == b.readBytes(name))
                << name.toStdString() << " holds " << now.size() << " bytes, neither content";
        }
        foundB += dir.readBytes(u"Account.ini"_s) == b.readBytes(u"Account.ini"_s) ? 1 : 0;
        // A kill may leave the writer's temporary file behind: one holding the password is private too.
        for (const QString& name : dir.fileNames()) {
            if (name.startsWith(u"Account.ini"_s) && QFileInfo(dir.filePath(name)).size() > 0) {
                EXPECT_EQ(modeOf(dir.filePath(name)), 0600U) << name.toStdString();
            }
        }
    }
    // The kills fell on both sides of a rename, so both contents were there to be found.
    EXPECT_GT(foundB, 0);
    EXPECT_LT(foundB, Kills);
}
