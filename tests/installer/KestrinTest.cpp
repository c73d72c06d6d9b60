#include "FailureBox.h"
#include "InstallerWindow.h"
#include "ProcessStarter.h"
#include "RegistryTemplate.h"
#include "ServiceInstaller.h"
#include "StandIn.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

QString contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : u"<none>"_s;
}

// Records every start as its command line, with what the registry file held at that moment.
struct RecordingStarter : ProgramStarter
{
    bool startHidden(const QString& program, const QStringList& arguments) override
    {
        starts.append(program + u' ' + arguments.join(u' '));
        seen.append(contents(watched));
        return answers.value(starts.size() - 1, true);
    }

    QList<bool> answers;
    QString watched;
    QStringList starts;
    QStringList seen;
};

struct RecordingBox : FailureBox
{
    void showStop(const QString& title, const QString& text) override { shown.append(title + u": "_s + text); }

    QStringList shown;
};

} // namespace

// The directory goes into the template twice: with its backslashes doubled, and as the bytes of its
// system code page form (UTF-8 here) in hex, each followed by a comma. Nothing else changes.
TEST(KestrinRegistryTemplate, FillsEveryPlaceholderAndNothingElse)
{
    const std::tuple<QByteArray, QString, QByteArray> rows[] = {
        {"\"Dir\"=\"<application_dir>\"\r\n\"Root\"=hex:<root_as_hex>00", u"C:\\Q\\"_s,
         "\"Dir\"=\"C:\\\\Q\\\\\"\r\n\"Root\"=hex:43,3a,5c,51,5c,00"},
        {"<application_dir><application_dir>|<root_as_hex>|<<application_dir>>", u"/d/"_s, "/d//d/|2f,64,2f,|</d/>"},
        {"<Application_Dir><ROOT_AS_HEX><application_dir <root-as-hex>\xff\xfe\x81", u"/d/"_s,
         "<Application_Dir><ROOT_AS_HEX><application_dir <root-as-hex>\xff\xfe\x81"},
        {"<application_dir>|<root_as_hex>", u"/a<root_as_hex>/"_s,
         "/a<root_as_hex>/|2f,61,3c,72,6f,6f,74,5f,61,73,5f,68,65,78,3e,2f,"},
        {"<application_dir>=<root_as_hex>", u"/q\u00e9/"_s, "/q\xc3\xa9/=2f,71,c3,a9,2f,"},
    };
    for (const auto& [text, directory, filled] : rows) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(QString::fromLatin1(RegistryTemplate::fill(text, directory).value_or("<refused>")),
                  QString::fromLatin1(filled));
    }
    // A directory the code page cannot write would be named wrongly in the registry.
    EXPECT_FALSE(RegistryTemplate::fill("x", u"/q"_s + QChar(0xd800)).has_value());
    EXPECT_EQ(ServiceInstaller::directoryText(u"/opt/q"_s), u"/opt/q/"_s);
    EXPECT_EQ(ServiceInstaller::directoryText(u"/"_s), u"/"_s);
}

// Each step that fails shows its own message and ends the run. The tool is the one beside the
// program, never one found elsewhere; the registry editor gets the complete file.
TEST(KestrinServiceInstaller, RunsEachStepOrShowsItsFailure)
{
    const QString unwritable =
        u"Could not write a temporary file.\r\nPlease ensure you have access to the installation "
        u"directory and re-run setup."_s;
    const QString notImported =
        u"Could not add entries to the system registry.\r\nPlease ensure that you are logged on as an administrator"_s;
    // The template, a directory in the registry file's place, the starts' answers, the starts made, the box.
    const std::tuple<bool, bool, QList<bool>, qsizetype, QString> rows[] = {
        {true, false, {}, 2, {}},
        {true, false, {false}, 1, u"Could not run the service installer base file.\r\nPlease re-run setup."_s},
        {false, false, {}, 1, u"Could not find the registry base file.\r\nPlease re-run setup."_s},
        {true, true, {}, 1, unwritable},
        {true, false, {true, false}, 2, notImported},
    };
    for (const auto& [hasTemplate, registryFileBlocked, answers, starts, failure] : rows) {
        SCOPED_TRACE(qPrintable(failure));
        QTemporaryDir temp;
        const QString dir = temp.filePath(u"Quorvex app/"_s);
        // A directory in the registry file's place cannot be replaced, even by an administrator.
        ASSERT_TRUE(QDir().mkpath(registryFileBlocked ? dir + u"temp.reg/keep"_s : dir));
        QFile stale(dir + u"temp.reg"_s);
        ASSERT_TRUE(registryFileBlocked || (stale.open(QIODevice::WriteOnly) && stale.write(QByteArray(99, 's'))));
        stale.close();
        QFile file(dir + u"Quorvex.reg"_s);
        ASSERT_TRUE(!hasTemplate || (file.open(QIODevice::WriteOnly) && file.write("<application_dir>") > 0));
        file.close();
        RecordingStarter starter;
        starter.answers = answers;
        starter.watched = dir + u"temp.reg"_s;
        RecordingBox box;

        EXPECT_EQ(ServiceInstaller(temp.filePath(u"Quorvex app"_s), starter, box).run(), failure.isEmpty());

        EXPECT_EQ(box.shown,
                  failure.isEmpty() ? QStringList() : QStringList{u"Service Installation Failed: "_s + failure});
        const QStringList commands = {dir + u"instsrv.exe Quorvex \""_s + dir + u"quorvex_srv.exe\""_s,
                                      u"Regedit.exe /s \""_s + dir + u"temp.reg\""_s};
        EXPECT_EQ(starter.starts, commands.mid(0, starts));
        const QString filled = dir + u"\r\n"_s;
        const QString before = registryFileBlocked ? u"<none>"_s : QString(99, u's');
        EXPECT_EQ(contents(dir + u"temp.reg"_s), starts == 2 ? filled : before);
        if (starts == 2) {
            EXPECT_EQ(starter.seen.value(1), filled) << "what the registry editor found";
        }
    }
}

// The program is passed apart from its words: a path with a space runs that program, never the one
// the path up to the space names, and a quoted word arrives whole without its quotes.
TEST(KestrinProcessStarter, RunsTheProgramItIsGivenAndReportsOneThatCannotStart)
{
    QTemporaryDir temp;
    ASSERT_TRUE(QDir().mkpath(temp.filePath(u"my dir"_s)));
    ASSERT_TRUE(writeStandIn(temp.filePath(u"my dir/instsrv.exe"_s), temp.filePath(u"tool"_s)));
    ASSERT_TRUE(writeStandIn(temp.filePath(u"my"_s), temp.filePath(u"decoy"_s)));
    ProcessStarter starter;

    ASSERT_TRUE(starter.startHidden(temp.filePath(u"my dir/instsrv.exe"_s), {u"Quorvex"_s, u"\"/a b/q.exe\""_s}));

    EXPECT_EQ(waitForRecord(temp.filePath(u"tool"_s)), QStringList({u"Quorvex"_s, u"/a b/q.exe"_s}));
    EXPECT_FALSE(QFile::exists(temp.filePath(u"decoy"_s)));
    EXPECT_FALSE(starter.startHidden(temp.filePath(u"missing"_s), {}));
}

// The run starts when the window first becomes active, and only then: once a failure box closes,
// the window is active again, and a second run would bring the box back without end.
TEST(KestrinInstallerWindow, RunsOnFirstActivationOnly)
{
    RecordingStarter starter;
    RecordingBox box;
    ServiceInstaller installer(u"/nonexistent"_s, starter, box);
    InstallerWindow window(installer);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !starter.starts.isEmpty(); }));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return other.isActiveWindow(); }));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isActiveWindow(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(starter.starts.size(), 1);
}
