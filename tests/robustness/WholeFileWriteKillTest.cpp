#include "AccountFile.h"
#include "ConfFile.h"
#include "SettingsWriterContents.h"
#include "UpdateFile.h"
#include "support/QtPrinters.h"
#include "support/TemporaryAppDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include <signal.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int Kills = 50;

unsigned modeOf(const QString& path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 0777U) : 0U;
}

bool readsBack(const QString& kind, const QString& directory)
{
    if (kind == u"conf") {
        return ConfFile::read(directory).has_value();
    }
    if (kind == u"account") {
        return AccountFile::read(directory).has_value();
    }
    return UpdateFile::read(directory).has_value();
}

QByteArray contentOf(const QString& kind, bool first)
{
    TemporaryAppDirectory scratch;
    EXPECT_TRUE(SettingsWriterContents::write(scratch.path(), kind, first));
    return scratch.readBytes(SettingsWriterContents::fileName(kind));
}

// The longest of a few writes of both contents here, so the pauses before a kill can span more
// than one write wherever the test runs, on a quick disk or a slow one.
std::chrono::microseconds longestWrite(const QString& kind)
{
    TemporaryAppDirectory scratch;
    std::chrono::microseconds longest{0};
    for (int i = 0; i < 6; ++i) {
        const auto started = std::chrono::steady_clock::now();
        EXPECT_TRUE(SettingsWriterContents::write(scratch.path(), kind, i % 2 == 0));
        longest = std::max(
            longest, std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started));
    }
    return longest;
}

class WholeFileWrites : public ::testing::TestWithParam<QString>
{
};

std::string kindName(const ::testing::TestParamInfo<QString>& info)
{
    return info.param.toStdString();
}

} // namespace

// A child rewrites the file through the program's writer in a loop, alternating two contents,
// and is killed at a random moment, again and again: the file is always exactly one of the two,
// never cut short, never gone, and for the account file never readable by others.
TEST_P(WholeFileWrites, AKilledWriterLeavesTheOldContentOrTheNew)
{
    const QString kind = GetParam();
    const QString fileName = SettingsWriterContents::fileName(kind);
    const QByteArray first = contentOf(kind, true);
    const QByteArray second = contentOf(kind, false);
    ASSERT_GT(first.size(), 50000);
    ASSERT_GT(second.size(), 25000);
    ASSERT_NE(first, second);

    TemporaryAppDirectory dir;
    const unsigned seed = std::random_device()();
    SCOPED_TRACE(testing::Message() << "pauses from seed " << seed);
    std::mt19937 random(seed);
    const auto longest = std::max(std::chrono::microseconds(8000), 3 * longestWrite(kind));
    SCOPED_TRACE(testing::Message() << "pauses up to " << longest.count() << " us");
    std::uniform_int_distribution<qint64> pauseMicroseconds(0, longest.count());
    int foundFirst = 0;
    int foundSecond = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        QProcess child;
        child.start(QStringLiteral(QUORVEX_SETTINGS_WRITER), {dir.path(), kind});
        ASSERT_TRUE(child.waitForStarted(10000)) << child.errorString().toStdString();
        ASSERT_TRUE(child.waitForReadyRead(10000)) << child.readAllStandardError().toStdString();
        ASSERT_EQ(child.readLine(), "ready\n");
        std::this_thread::sleep_for(std::chrono::microseconds(pauseMicroseconds(random)));
        ASSERT_EQ(::kill(static_cast<pid_t>(child.processId()), SIGKILL), 0);
        ASSERT_TRUE(child.waitForFinished(10000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << "the writer stopped by itself";

        const QByteArray now = dir.readBytes(fileName);
        if (now == first) {
            ++foundFirst;
        } else if (now == second) {
            ++foundSecond;
        } else {
            ADD_FAILURE() << "after kill " << kill << " " << fileName.toStdString() << " holds " << now.size()
                          << " bytes, neither content" << (dir.exists(fileName) ? "" : " (the file is missing)");
        }
        EXPECT_TRUE(readsBack(kind, dir.path())) << "after kill " << kill;
        if (kind == u"account") {
            EXPECT_EQ(modeOf(dir.filePath(fileName)), 0600U) << "after kill " << kill;
        }
    }
    // The kills fell on both sides of a rename, so both contents were there to be found.
    EXPECT_GT(foundFirst, 0);
    EXPECT_GT(foundSecond, 0);

    // A kill may leave the writer's temporary file behind; one holding the password is private too.
    for (const QString& name : dir.fileNames()) {
        if (kind == u"account" && name != fileName && QFileInfo(dir.filePath(name)).size() > 0) {
            EXPECT_EQ(modeOf(dir.filePath(name)), 0600U) << name.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EverySettingsFile, WholeFileWrites, ::testing::ValuesIn(SettingsWriterContents::kinds()),
                         kindName);
