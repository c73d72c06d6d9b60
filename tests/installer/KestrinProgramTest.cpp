#include "StandIn.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// The built program, copied into an application directory with its stand-in registration tool and
// the sample template, started from elsewhere; the registry editor is a stand-in on the search path.
// Only the real process shows that it works in the directory it was started from, that its window
// starts the run headless, and that it then ends by itself with a filled registry file.
TEST(KestrinProgram, InstallsFromItsOwnDirectoryAndEnds)
{
    QTemporaryDir temp;
    const QString dir = temp.filePath(u"Quorvex app/"_s);
    ASSERT_TRUE(QDir().mkpath(dir) && QDir().mkpath(temp.filePath(u"bin"_s)));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KESTRIN_PATH), dir + u"kestrin"_s));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KESTRIN_SAMPLE_TEMPLATE), dir + u"Quorvex.reg"_s));
    ASSERT_TRUE(writeStandIn(dir + u"instsrv.exe"_s, temp.filePath(u"tool"_s)));
    ASSERT_TRUE(writeStandIn(temp.filePath(u"bin/Regedit.exe"_s), temp.filePath(u"editor"_s)));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"PATH"_s, temp.filePath(u"bin:"_s) + environment.value(u"PATH"_s));
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    QProcess kestrin;
    kestrin.setProcessEnvironment(environment);
    kestrin.setWorkingDirectory(temp.path());

    kestrin.start(dir + u"kestrin"_s, {});

    ASSERT_TRUE(kestrin.waitForFinished(60000)) << "kestrin did not end by itself";
    EXPECT_TRUE(kestrin.exitStatus() == QProcess::NormalExit && kestrin.exitCode() == 0) << kestrin.exitCode();
    EXPECT_EQ(waitForRecord(temp.filePath(u"tool"_s)), QStringList({u"Quorvex"_s, dir + u"quorvex_srv.exe"_s}));
    EXPECT_EQ(waitForRecord(temp.filePath(u"editor"_s)), QStringList({u"/s"_s, dir + u"temp.reg"_s}));
    QFile written(dir + u"temp.reg"_s);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray contents = written.readAll();
    EXPECT_TRUE(contents.startsWith("REGEDIT4\r\n") && contents.endsWith("\r\n")) << contents.constData();
    EXPECT_TRUE(contents.contains(QByteArray("\"" + QFile::encodeName(dir) + "\""))) << contents.constData();
    EXPECT_FALSE(contents.contains("<application_dir>") || contents.contains("<root_as_hex>"));
}
