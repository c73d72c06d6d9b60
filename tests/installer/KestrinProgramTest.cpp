#include "StandInProgram.h"
#include "TestPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

// The built program, copied into an application directory with stand-ins for the registration tool
// and the registry editor and with the sample template that is installed beside it.
class KestrinProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
#ifdef Q_OS_WIN
        GTEST_SKIP() << "the stand-in programs are shell scripts";
#endif
        ASSERT_TRUE(m_temp.isValid());
        m_appDir = m_temp.filePath(u"Quorvex app"_s);
        m_dir = m_appDir + u"/"_s;
        ASSERT_TRUE(QDir().mkpath(m_appDir));
        ASSERT_TRUE(QDir().mkpath(m_temp.filePath(u"bin"_s)));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KESTRIN_PATH), m_dir + u"kestrin"_s));
        ASSERT_TRUE(QFile::setPermissions(m_dir + u"kestrin"_s, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KESTRIN_SAMPLE_TEMPLATE), m_dir + u"Quorvex.reg"_s));
        ASSERT_TRUE(StandInProgram::write(m_dir + u"instsrv.exe"_s, m_temp.filePath(u"tool.args"_s)));
        // The registry editor keeps a copy of the file it was given, as it found it.
        ASSERT_TRUE(
            StandInProgram::write(m_temp.filePath(u"bin/Regedit.exe"_s), m_temp.filePath(u"editor.args"_s),
                                  u"cp \"$2\" "_s + StandInProgram::shellQuoted(m_temp.filePath(u"seen.reg"_s))));
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"PATH"_s, m_temp.filePath(u"bin"_s) + u":"_s + env.value(u"PATH"_s));
        return env;
    }

    // Runs the copied program to its end and checks everything that a successful run leaves.
    void runAndCheck(const QProcessEnvironment& env)
    {
        QProcess kestrin;
        kestrin.setProcessEnvironment(env);
        kestrin.setProgram(m_dir + u"kestrin"_s);
        kestrin.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        kestrin.start();
        ASSERT_TRUE(kestrin.waitForStarted(10000));
        if (!kestrin.waitForFinished(60000)) {
            kestrin.kill();
            kestrin.waitForFinished(5000);
            FAIL() << "kestrin did not end by itself";
        }
        EXPECT_EQ(kestrin.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(kestrin.exitCode(), 0);

        const auto tool = StandInProgram::waitForRecord(m_temp.filePath(u"tool.args"_s));
        ASSERT_TRUE(tool.has_value()) << "the registration tool was not started";
        EXPECT_EQ(*tool, QStringList({u"Quorvex"_s, m_dir + u"quorvex_srv.exe"_s}));
        const auto editor = StandInProgram::waitForRecord(m_temp.filePath(u"editor.args"_s));
        ASSERT_TRUE(editor.has_value()) << "the registry editor was not started";
        EXPECT_EQ(*editor, QStringList({u"/s"_s, m_dir + u"temp.reg"_s}));

        QFile written(m_dir + u"temp.reg"_s);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        const QByteArray contents = written.readAll();
        QFile seen(m_temp.filePath(u"seen.reg"_s));
        ASSERT_TRUE(seen.open(QIODevice::ReadOnly));
        EXPECT_EQ(seen.readAll(), contents);

        // The sample template holds both placeholders; none is left after filling.
        EXPECT_TRUE(contents.startsWith("REGEDIT4\r\n"));
        EXPECT_TRUE(contents.endsWith("\r\n"));
        EXPECT_FALSE(contents.contains("<application_dir>"));
        EXPECT_FALSE(contents.contains("<root_as_hex>"));
        EXPECT_TRUE(contents.contains(QByteArray("\"" + QFile::encodeName(m_dir) + "\"")));
        QByteArray hexList;
        for (const char byte : QFile::encodeName(m_dir)) {
            hexList += QString::asprintf("%02x,", static_cast<unsigned char>(byte)).toLatin1();
        }
        EXPECT_TRUE(contents.contains(QByteArray("hex:" + hexList + "00")));
    }

    QTemporaryDir m_temp;
    QString m_appDir;
    QString m_dir;
};

TEST_F(KestrinProgram, RunsToItsEndHeadless)
{
    QProcessEnvironment env = environment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    runAndCheck(env);
}

// Stops the processes this test started, each by its own id.
static void stop(QProcess& process)
{
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
}

// On a real X display a window becomes active only through a window manager, so this runs the
// program under Xvfb with openbox, where they are installed.
TEST_F(KestrinProgram, RunsWhenWindowManagerActivatesItsWindow)
{
    const QString xvfbPath = QStandardPaths::findExecutable(u"Xvfb"_s);
    const QString openboxPath = QStandardPaths::findExecutable(u"openbox"_s);
    if (xvfbPath.isEmpty() || openboxPath.isEmpty()) {
        GTEST_SKIP() << "Xvfb and openbox are not installed";
    }

    QProcess xvfb;
    xvfb.start(xvfbPath, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s, u"640x480x24"_s});
    QByteArray display;
    if (xvfb.waitForStarted(10000)) {
        while (!display.contains('\n') && xvfb.waitForReadyRead(10000)) {
            display += xvfb.readAllStandardOutput();
        }
    }
    display = display.trimmed();
    if (display.isEmpty()) {
        stop(xvfb);
        GTEST_SKIP() << "no X server could be started";
    }

    QProcessEnvironment env = environment();
    env.remove(u"QT_QPA_PLATFORM"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.insert(u"DISPLAY"_s, u":"_s + QString::fromLatin1(display));
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    // Under the sanitizers the X11 libraries trip two checks that are not about this program:
    // libxkbcommon-x11 hands strndup buffers without a terminating NUL, and libdbus keeps memory
    // that LSan reports. The headless test checks the program's own leaks.
    if (env.contains(u"ASAN_OPTIONS"_s)) {
        env.insert(u"ASAN_OPTIONS"_s, env.value(u"ASAN_OPTIONS"_s) + u":strict_string_checks=0:detect_leaks=0"_s);
    }

    // openbox runs its start-up command once it manages the screen.
    const QString ready = m_temp.filePath(u"wm.ready"_s);
    QProcess openbox;
    openbox.setProcessEnvironment(env);
    openbox.start(openboxPath, {u"--sm-disable"_s, u"--startup"_s, u"touch "_s + ready});
    bool managing = openbox.waitForStarted(10000);
    for (int i = 0; managing && i < 500 && !QFileInfo::exists(ready); ++i) {
        QThread::msleep(20);
    }
    managing = managing && QFileInfo::exists(ready);
    if (!managing) {
        stop(openbox);
        stop(xvfb);
        GTEST_SKIP() << "the window manager did not start";
    }

    runAndCheck(env);

    stop(openbox);
    stop(xvfb);
}
