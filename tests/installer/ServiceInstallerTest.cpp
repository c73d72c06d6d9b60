#include "ServiceInstaller.h"
#include "FakeFailureBox.h"
#include "FakeProgramStarter.h"
#include "TestPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

static const QString failureTitle = u"Service Installation Failed"_s;

class KestrinServiceInstaller : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temp.isValid());
        m_appDir = m_temp.path() + u"/Quorvex app"_s;
        ASSERT_TRUE(QDir().mkpath(m_appDir));
        m_dir = m_appDir + u"/"_s;
        m_starter.watchedFile = m_dir + u"temp.reg"_s;
    }

    void writeFile(const QString& name, const QByteArray& contents)
    {
        QFile file(m_dir + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(contents), contents.size());
    }

    QByteArray readFile(const QString& name)
    {
        QFile file(m_dir + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    bool run()
    {
        ServiceInstaller installer(m_appDir, m_starter, m_box);
        return installer.run();
    }

    // Independent of the code under test: every byte of the directory as two hex digits and a comma.
    QByteArray expectedHexList() const
    {
        QByteArray list;
        for (const char byte : m_dir.toUtf8()) {
            list += QString::asprintf("%02x,", static_cast<unsigned char>(byte)).toLatin1();
        }
        return list;
    }

    void expectBox(const QString& text)
    {
        ASSERT_EQ(m_box.shown.size(), 1);
        EXPECT_EQ(m_box.shown.at(0).title, failureTitle);
        EXPECT_EQ(m_box.shown.at(0).text, text);
    }

    QTemporaryDir m_temp;
    QString m_appDir;
    QString m_dir;
    FakeProgramStarter m_starter;
    FakeFailureBox m_box;
};

TEST_F(KestrinServiceInstaller, DirectoryTextGetsOneTrailingSeparator)
{
    const QString sep = QDir::separator();
    EXPECT_EQ(ServiceInstaller::directoryText(u"/opt/quorvex"_s), QDir::toNativeSeparators(u"/opt/quorvex"_s) + sep);
    EXPECT_EQ(ServiceInstaller::directoryText(u"/opt/quorvex/"_s), QDir::toNativeSeparators(u"/opt/quorvex/"_s));
    EXPECT_EQ(ServiceInstaller::directoryText(u"/"_s), sep);
}

TEST_F(KestrinServiceInstaller, SuccessStartsBothCommandLinesAndLeavesRegistryFile)
{
    const QByteArray text = "REGEDIT4\r\n\r\n\"A\"=\"<application_dir>x.exe\"\r\n\"B\"=hex:<root_as_hex>00\r\n"
                            "\"C\"=\"<application_dir>\"";
    writeFile(u"Quorvex.reg"_s, text);

    EXPECT_TRUE(run());

    EXPECT_TRUE(m_box.shown.isEmpty());
    ASSERT_EQ(m_starter.starts.size(), 2);
    const auto& tool = m_starter.starts.at(0);
    EXPECT_EQ(tool.program + u' ' + tool.arguments.join(u' '),
              m_dir + u"instsrv.exe Quorvex \""_s + m_dir + u"quorvex_srv.exe\""_s);
    EXPECT_EQ(tool.program, m_dir + u"instsrv.exe"_s);
    EXPECT_EQ(tool.arguments, QStringList({u"Quorvex"_s, u"\""_s + m_dir + u"quorvex_srv.exe\""_s}));
    EXPECT_FALSE(tool.fileExisted) << "the registry file is written only after the tool has been started";

    const auto& editor = m_starter.starts.at(1);
    EXPECT_EQ(editor.program + u' ' + editor.arguments.join(u' '), u"Regedit.exe /s \""_s + m_dir + u"temp.reg\""_s);
    EXPECT_EQ(editor.program, u"Regedit.exe"_s);
    EXPECT_EQ(editor.arguments, QStringList({u"/s"_s, u"\""_s + m_dir + u"temp.reg\""_s}));

    const QByteArray dir = m_dir.toUtf8();
    const QByteArray expected = "REGEDIT4\r\n\r\n\"A\"=\"" + dir + "x.exe\"\r\n\"B\"=hex:" + expectedHexList() +
                                "00\r\n\"C\"=\"" + dir + "\"\r\n";
    // Complete and closed by the time the registry editor is started, and left in place.
    EXPECT_TRUE(editor.fileExisted);
    EXPECT_EQ(editor.fileContents, expected);
    EXPECT_EQ(readFile(u"temp.reg"_s), expected);
}

TEST_F(KestrinServiceInstaller, ExistingRegistryFileIsReplacedWhole)
{
    writeFile(u"Quorvex.reg"_s, "short");
    writeFile(u"temp.reg"_s, QByteArray(4096, 'x'));

    EXPECT_TRUE(run());

    EXPECT_EQ(readFile(u"temp.reg"_s), QByteArray("short\r\n"));
}

TEST_F(KestrinServiceInstaller, MissingToolShowsFirstHandlerAndDoesNothingElse)
{
    writeFile(u"Quorvex.reg"_s, "<application_dir>");
    m_starter.answers = {false};

    EXPECT_FALSE(run());

    expectBox(u"Could not run the service installer base file.\nPlease re-run setup."_s);
    EXPECT_EQ(m_starter.starts.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(m_dir + u"temp.reg"_s));
}

TEST_F(KestrinServiceInstaller, MissingTemplateShowsSecondHandlerAfterToolStarted)
{
    EXPECT_FALSE(run());

    expectBox(u"Could not find the registry base file.\nPlease re-run setup."_s);
    ASSERT_EQ(m_starter.starts.size(), 1);
    EXPECT_EQ(m_starter.starts.at(0).program, m_dir + u"instsrv.exe"_s);
    EXPECT_FALSE(QFileInfo::exists(m_dir + u"temp.reg"_s));
}

TEST_F(KestrinServiceInstaller, UnwritableRegistryFileShowsThirdHandler)
{
    writeFile(u"Quorvex.reg"_s, "<application_dir>");
    // A directory in the registry file's place cannot be replaced, even by an administrator.
    ASSERT_TRUE(QDir().mkpath(m_dir + u"temp.reg/keep"_s));

    EXPECT_FALSE(run());

    expectBox(u"Could not write a temporary file.\n"
              u"Please ensure you have access to the installation directory and re-run setup."_s);
    EXPECT_EQ(m_starter.starts.size(), 1);
    EXPECT_TRUE(QFileInfo(m_dir + u"temp.reg/keep"_s).isDir());
}

TEST_F(KestrinServiceInstaller, UnwritableDirectoryShowsThirdHandler)
{
    writeFile(u"Quorvex.reg"_s, "<application_dir>");
    ASSERT_TRUE(QFile::setPermissions(m_appDir, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QFile probe(m_dir + u"probe"_s);
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        QFile::setPermissions(m_appDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "this user may write to a read-only directory";
    }

    const bool succeeded = run();
    QFile::setPermissions(m_appDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    EXPECT_FALSE(succeeded);
    expectBox(u"Could not write a temporary file.\n"
              u"Please ensure you have access to the installation directory and re-run setup."_s);
    EXPECT_EQ(m_starter.starts.size(), 1);
}

TEST_F(KestrinServiceInstaller, RegistryEditorThatCannotStartShowsFourthHandlerAndKeepsRegistryFile)
{
    writeFile(u"Quorvex.reg"_s, "[<root_as_hex>]");
    m_starter.answers = {true, false};

    EXPECT_FALSE(run());

    expectBox(u"Could not add entries to the system registry.\n"
              u"Please ensure that you are logged on as an administrator"_s);
    EXPECT_EQ(m_starter.starts.size(), 2);
    EXPECT_EQ(readFile(u"temp.reg"_s), "[" + expectedHexList() + "]\r\n");
}

TEST_F(KestrinServiceInstaller, RootDirectoryGetsNoSecondSeparator)
{
    // The tool is refused, so nothing is read from or written to the real root.
    m_starter.answers = {false};
    m_starter.watchedFile.clear();
    const QString root = QDir::rootPath();
    const QString dir = QDir::toNativeSeparators(root);
    ServiceInstaller installer(root, m_starter, m_box);

    EXPECT_FALSE(installer.run());

    ASSERT_EQ(m_starter.starts.size(), 1);
    EXPECT_EQ(m_starter.starts.at(0).program, dir + u"instsrv.exe"_s);
    EXPECT_EQ(m_starter.starts.at(0).arguments, QStringList({u"Quorvex"_s, u"\""_s + dir + u"quorvex_srv.exe\""_s}));
}
