#include "ProcessStarter.h"
#include "StandInProgram.h"
#include "TestPrinters.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class KestrinProcessStarter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedPath = qgetenv("PATH");
#ifdef Q_OS_WIN
        GTEST_SKIP() << "the stand-in programs are shell scripts";
#endif
        ASSERT_TRUE(m_temp.isValid());
    }

    void TearDown() override
    {
        qputenv("PATH", m_savedPath);
    }

    QString path(const QString& name) const
    {
        return m_temp.filePath(name);
    }

    QTemporaryDir m_temp;
    QByteArray m_savedPath;
    ProcessStarter m_starter;
};

TEST_F(KestrinProcessStarter, PathWithSpaceRunsThatProgramWithQuotedWordAsOneArgument)
{
    ASSERT_TRUE(QDir().mkpath(path(u"my dir"_s)));
    const QString tool = path(u"my dir/instsrv.exe"_s);
    ASSERT_TRUE(StandInProgram::write(tool, path(u"tool.args"_s)));
    // What an unquoted command line would run instead: the path up to its first space.
    ASSERT_TRUE(StandInProgram::write(path(u"my"_s), path(u"decoy.args"_s)));
    const QString service = path(u"my dir/quorvex_srv.exe"_s);

    ASSERT_TRUE(m_starter.startHidden(tool, {u"Quorvex"_s, u"\""_s + service + u"\""_s}));

    const auto recorded = StandInProgram::waitForRecord(path(u"tool.args"_s));
    ASSERT_TRUE(recorded.has_value()) << "the tool never ran";
    EXPECT_EQ(*recorded, QStringList({u"Quorvex"_s, service}));
    EXPECT_FALSE(QFileInfo::exists(path(u"decoy.args"_s)));
}

TEST_F(KestrinProcessStarter, BareNameIsFoundOnSearchPath)
{
    ASSERT_TRUE(QDir().mkpath(path(u"bin"_s)));
    ASSERT_TRUE(StandInProgram::write(path(u"bin/Regedit.exe"_s), path(u"editor.args"_s)));
    qputenv("PATH", QFile::encodeName(path(u"bin"_s)) + ':' + m_savedPath);

    ASSERT_TRUE(m_starter.startHidden(u"Regedit.exe"_s, {u"/s"_s, u"\"C:\\Q\\temp.reg\""_s}));

    const auto recorded = StandInProgram::waitForRecord(path(u"editor.args"_s));
    ASSERT_TRUE(recorded.has_value()) << "the stand-in registry editor never ran";
    EXPECT_EQ(*recorded, QStringList({u"/s"_s, u"C:\\Q\\temp.reg"_s}));
}

TEST_F(KestrinProcessStarter, ProgramThatCannotStartIsReported)
{
    EXPECT_FALSE(m_starter.startHidden(path(u"instsrv.exe"_s), {u"Quorvex"_s}));

    QFile plain(path(u"not-executable"_s));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\nexit 0\n");
    plain.close();
    ASSERT_TRUE(plain.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_FALSE(m_starter.startHidden(plain.fileName(), {}));

    ASSERT_TRUE(QDir().mkpath(path(u"empty"_s)));
    qputenv("PATH", QFile::encodeName(path(u"empty"_s)));
    EXPECT_FALSE(m_starter.startHidden(u"Regedit.exe"_s, {u"/s"_s}));
}

TEST_F(KestrinProcessStarter, DoesNotWaitForTheProgram)
{
    ASSERT_TRUE(StandInProgram::write(path(u"slow"_s), path(u"slow.args"_s), u"sleep 3"_s));

    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(m_starter.startHidden(path(u"slow"_s), {u"x"_s}));
    EXPECT_LT(clock.elapsed(), 2000);

    EXPECT_FALSE(QFileInfo::exists(path(u"slow.args"_s)));
    EXPECT_TRUE(StandInProgram::waitForRecord(path(u"slow.args"_s)).has_value());
}
