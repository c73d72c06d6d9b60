#include "AccountFile.h"
#include "ConfFile.h"
#include "SettingsFileName.h"
#include "TextFile.h"
#include "UpdateFile.h"
#include "support/TemporaryAppDirectory.h"

#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QStringList defaultLocators()
{
    return {u"127.0.0.1:8780/whatismyip"_s, u"127.0.0.1:8780/echo1"_s};
}

class SettingsFiles : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    TemporaryAppDirectory dir;
};

// Makes every write past a few bytes fail, as a full disk would, for the life of the object.
// Works for root too, unlike a read-only directory.
unsigned modeOf(const QString& path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return 0;
    }
    return info.st_mode & 0777U;
}

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
};

} // namespace

TEST_F(SettingsFiles, SettingsTabApplyWritesTheExactLayout)
{
    ASSERT_TRUE(ConfFile::writeFromSettingsTab(dir.path(), u"1"_s, u"30"_s, true, 1, u"5"_s,
                                               {u"a.example"_s, u"b.example/ip"_s}));
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s), "1\r\n30\r\n 0 \r\n 1 \r\n5\r\na.example\r\nb.example/ip\r\n");

    ASSERT_TRUE(ConfFile::writeFromSettingsTab(dir.path(), u"0"_s, u"45"_s, false, 0, u"00"_s, {}));
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s), "0\r\n45\r\n 1 \r\n 0 \r\n0\r\n");
}

TEST_F(SettingsFiles, SettingsTabApplyWithABadPingTextWritesNothing)
{
    ASSERT_TRUE(ConfFile::writeFromSettingsTab(dir.path(), u"2"_s, u"0"_s, true, 1, u"7"_s, {u"x"_s}));
    const QByteArray before = dir.readBytes(u"Conf.ini"_s);
    for (const QString& ping : {QString(), u"  "_s, u"5x"_s, u"five"_s}) {
        EXPECT_FALSE(ConfFile::writeFromSettingsTab(dir.path(), u"9"_s, u"9"_s, false, 0, ping, {}))
            << ping.toStdString();
        EXPECT_EQ(dir.readBytes(u"Conf.ini"_s), before);
    }
    EXPECT_EQ(dir.fileNames(), QStringList{u"Conf.ini"_s}); // no temporary file left behind
}

TEST_F(SettingsFiles, WizardWritesItsOwnLayout)
{
    ASSERT_TRUE(ConfFile::writeFromWizard(dir.path(), u"0"_s, u"5"_s, false, u"0"_s, defaultLocators()));
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s),
              "0\r\n5\r\n 1 \r\n1\r\n0\r\n127.0.0.1:8780/whatismyip\r\n127.0.0.1:8780/echo1\r\n");
    ASSERT_TRUE(UpdateFile::writePlaceholders(dir.path()));
    EXPECT_EQ(dir.readBytes(u"Update.ini"_s), "0\r\n1.0\r\n0\r\n");
}

TEST_F(SettingsFiles, SettingsRoundTrip)
{
    ASSERT_TRUE(ConfFile::writeFromSettingsTab(dir.path(), u"05"_s, u"30"_s, false, 0, u"12"_s,
                                               {u"one"_s, QString(), u"three"_s}));
    const auto settings = ConfFile::read(dir.path());
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->hoursText, u"5"_s); // read back as a number
    EXPECT_EQ(settings->minutesText, u"30"_s);
    EXPECT_EQ(settings->intervalMinutes, 330);
    EXPECT_FALSE(settings->useRouterAddress);
    EXPECT_FALSE(settings->checkVersionAtStartUp);
    EXPECT_EQ(settings->pingMinutes, 12);
    EXPECT_EQ(settings->locators, (QStringList{u"one"_s, QString(), u"three"_s}));

    ASSERT_TRUE(ConfFile::writeFromWizard(dir.path(), u"1.5"_s, u"0"_s, true, u"0"_s, defaultLocators()));
    const auto wizard = ConfFile::read(dir.path());
    ASSERT_TRUE(wizard);
    EXPECT_EQ(wizard->intervalMinutes, 90);
    EXPECT_TRUE(wizard->useRouterAddress);
    EXPECT_TRUE(wizard->checkVersionAtStartUp);
    EXPECT_EQ(wizard->pingMinutes, 0);
    EXPECT_EQ(wizard->locators, defaultLocators());
}

TEST_F(SettingsFiles, SettingsFileEdgeCases)
{
    const auto readWith = [this](const QByteArray& bytes) {
        dir.writeBytes(u"Conf.ini"_s, bytes);
        return ConfFile::read(dir.path());
    };
    EXPECT_FALSE(readWith("0\r\n5\r\n 0 \r\n 1 \r\n")) << "four lines";
    const auto five = readWith("0\r\n5\r\n 0 \r\n 1 \r\n0\r\n");
    ASSERT_TRUE(five);
    EXPECT_TRUE(five->locators.isEmpty());
    EXPECT_FALSE(readWith("0\r\n5\r\n 0 \r\n 1 \r\n32768\r\n")) << "ping beyond 16 bits";
    EXPECT_FALSE(readWith("0\r\n5\r\n 0 \r\n 1 \r\n-32769\r\n"));
    EXPECT_FALSE(readWith("0\r\n5\r\n 0 \r\n 1 \r\nsoon\r\n")) << "ping not a number";
    EXPECT_FALSE(readWith("one\r\n5\r\n 0 \r\n 1 \r\n0\r\n")) << "hours not a number";
    EXPECT_FALSE(readWith("0\r\n5\r\nremote\r\n 1 \r\n0\r\n")) << "address source not a number";
    EXPECT_FALSE(readWith("0\r\n5\r\n 0 \r\nyes\r\n0\r\n")) << "version flag not a number";
    EXPECT_FALSE(readWith("546\r\n8\r\n 0 \r\n 1 \r\n0\r\n")) << "32768 minutes";
    const auto most = readWith("546\r\n7\r\n 0 \r\n 1 \r\n0\r\n");
    ASSERT_TRUE(most);
    EXPECT_EQ(most->intervalMinutes, 32767);

    // Empty lines among the first four count as 0.
    const auto empties = readWith("\r\n\r\n\r\n\r\n-5\r\nloc,ator\r\n");
    ASSERT_TRUE(empties);
    EXPECT_EQ(empties->intervalMinutes, 0);
    EXPECT_EQ(empties->hoursText, u"0"_s);
    EXPECT_TRUE(empties->useRouterAddress);
    EXPECT_FALSE(empties->checkVersionAtStartUp);
    EXPECT_EQ(empties->pingMinutes, -5);
    EXPECT_EQ(empties->locators, (QStringList{u"loc"_s, u"ator"_s})); // a comma splits a locator

    EXPECT_FALSE(ConfFile::read(dir.path() + u"missing/"_s));
}

TEST_F(SettingsFiles, AccountRoundTripAndItsReadingQuirks)
{
    ASSERT_TRUE(AccountFile::write(dir.path(), u"007"_s, u"0042"_s, {u"www.example.com"_s, u"mail.example.com"_s}));
    EXPECT_EQ(dir.readBytes(u"Account.ini"_s), "007\r\n0042\r\nwww.example.com\r\nmail.example.com\r\n");
    const auto account = AccountFile::read(dir.path());
    ASSERT_TRUE(account);
    EXPECT_EQ(account->userName, u"7"_s);    // a name of digits comes back as a number
    EXPECT_EQ(account->password, u"0042"_s); // the password is text and keeps its zeros
    EXPECT_EQ(AccountFile::readHosts(dir.path()), (QStringList{u"www.example.com"_s, u"mail.example.com"_s}));

    ASSERT_TRUE(AccountFile::write(dir.path(), u"user"_s, u"pa,ss"_s, {}));
    EXPECT_EQ(AccountFile::read(dir.path())->password, u"pa"_s);
    ASSERT_TRUE(AccountFile::write(dir.path(), u"user"_s, u"\"quoted\"tail"_s, {u"h"_s}));
    EXPECT_EQ(AccountFile::read(dir.path())->password, u"quoted"_s);
}

TEST_F(SettingsFiles, AccountFileMissingShortOrEmpty)
{
    EXPECT_FALSE(AccountFile::read(dir.path()));
    EXPECT_FALSE(AccountFile::readHosts(dir.path()));
    dir.writeBytes(u"Account.ini"_s, "user\r\n");
    EXPECT_FALSE(AccountFile::read(dir.path()));
    EXPECT_FALSE(AccountFile::readHosts(dir.path()));
    dir.writeBytes(u"Account.ini"_s, "user\r\n\r\nhost\r\n");
    EXPECT_FALSE(AccountFile::read(dir.path())) << "empty password";
    dir.writeBytes(u"Account.ini"_s, "\r\npass\r\n");
    EXPECT_FALSE(AccountFile::read(dir.path())) << "empty name";
    dir.writeBytes(u"Account.ini"_s, "user\r\npass\r\n");
    EXPECT_EQ(AccountFile::readHosts(dir.path()), QStringList{});
    dir.writeBytes(u"Account.ini"_s, "user\r\npass\r\n\r\na,b\r\n\r\n");
    EXPECT_EQ(AccountFile::readHosts(dir.path()), (QStringList{u"a"_s, u"b"_s}));
    EXPECT_EQ(AccountFile::readItems(dir.path()),
              (QStringList{u"user"_s, u"pass"_s, QString(), u"a"_s, u"b"_s, QString()}));
}

TEST_F(SettingsFiles, AccountFileIsForItsOwnerOnly)
{
    ASSERT_TRUE(AccountFile::write(dir.path(), u"user"_s, u"secret"_s, {}));
    EXPECT_EQ(modeOf(dir.filePath(u"Account.ini"_s)), 0600U);

    // An existing file readable by others is tightened when it is rewritten.
    ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath(u"Account.ini"_s)).constData(), 0644), 0);
    ASSERT_TRUE(AccountFile::write(dir.path(), u"user"_s, u"secret2"_s, {}));
    EXPECT_EQ(modeOf(dir.filePath(u"Account.ini"_s)), 0600U);

    // The other files follow the user's usual mask.
    ASSERT_TRUE(UpdateFile::writePlaceholders(dir.path()));
    EXPECT_NE(modeOf(dir.filePath(u"Update.ini"_s)) & 0600U, 0U);
}

TEST_F(SettingsFiles, UpdateFileFromTheVersionPage)
{
    ASSERT_TRUE(UpdateFile::writeFromVersionPage(dir.path(), u"http://gw/update\r\n1.3"_s, u"12/6/26"_s));
    EXPECT_EQ(dir.readBytes(u"Update.ini"_s), "http://gw/update\r\n1.3\r\n12/6/26\r\n");
    // A page ending with its own line break still leaves the date on the third line.
    ASSERT_TRUE(
        UpdateFile::writeFromVersionPage(dir.path(), u"G\r\n1.4\r\n"_s, u"12/6/26"_s, UpdateFile::scratchName()));
    const auto scratch = UpdateFile::read(dir.path(), UpdateFile::scratchName());
    ASSERT_TRUE(scratch);
    EXPECT_EQ(scratch->gatewayUrl, u"G"_s);
    EXPECT_EQ(scratch->latestVersion, u"1.4"_s);
    EXPECT_EQ(scratch->lastCheckDate, u"12/6/26"_s);

    // A page without its version line reads back short.
    ASSERT_TRUE(UpdateFile::writeFromVersionPage(dir.path(), u"G"_s, u"12/6/26"_s, UpdateFile::scratchName()));
    EXPECT_FALSE(UpdateFile::read(dir.path(), UpdateFile::scratchName()));
    // A gateway URL with a comma is cut there and shifts the fields.
    ASSERT_TRUE(UpdateFile::writeFromVersionPage(dir.path(), u"http://g/a,b\r\n1.3"_s, u"d"_s));
    EXPECT_EQ(UpdateFile::read(dir.path())->gatewayUrl, u"http://g/a"_s);
    EXPECT_FALSE(UpdateFile::read(dir.path() + u"missing/"_s));
}

TEST_F(SettingsFiles, NamesMatchWithoutRegardToCase)
{
    dir.writeBytes(u"CONF.INI"_s, "0\r\n5\r\n 0 \r\n 1 \r\n0\r\n");
    EXPECT_EQ(SettingsFileName::resolve(dir.path(), u"conf.ini"_s), dir.filePath(u"CONF.INI"_s));
    EXPECT_TRUE(ConfFile::read(dir.path()));
    ASSERT_TRUE(ConfFile::writeFromSettingsTab(dir.path(), u"1"_s, u"0"_s, true, 1, u"0"_s, {}));
    EXPECT_EQ(dir.fileNames(), QStringList{u"CONF.INI"_s}) << "the writer replaces the existing spelling";
    EXPECT_EQ(ConfFile::read(dir.path())->intervalMinutes, 60);

    dir.writeBytes(u"update.ini"_s, "G\r\n1.3\r\nD\r\n");
    EXPECT_EQ(UpdateFile::read(dir.path())->gatewayUrl, u"G"_s);
    // A name that exists nowhere resolves to the spelling asked for.
    EXPECT_EQ(SettingsFileName::resolve(dir.path(), u"Account.ini"_s), dir.filePath(u"Account.ini"_s));
}

TEST_F(SettingsFiles, AFailingWriteLeavesTheOldFileByteForByte)
{
    ASSERT_TRUE(AccountFile::write(dir.path(), u"user"_s, u"secret"_s, {u"h"_s}));
    const QByteArray before = dir.readBytes(u"Account.ini"_s);
    QStringList manyHosts;
    for (int i = 0; i < 20000; ++i) {
        manyHosts.append(u"host%1.example.com"_s.arg(i));
    }
    {
        const FileSizeLimit limit(64);
        EXPECT_FALSE(AccountFile::write(dir.path(), u"other"_s, u"password"_s, manyHosts));
        EXPECT_FALSE(TextFile::writeWhole(dir.filePath(u"Conf.ini"_s), u"x"_s.repeated(100000)));
    }
    EXPECT_EQ(dir.readBytes(u"Account.ini"_s), before);
    EXPECT_EQ(dir.fileNames(), QStringList{u"Account.ini"_s});
    EXPECT_FALSE(TextFile::writeWhole(dir.path() + u"no/such/dir/file"_s, u"x"_s));
}
