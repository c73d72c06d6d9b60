#include "AccountFile.h"
#include "ConfFile.h"
#include "UpdateFile.h"
#include "support/TemporaryAppDirectory.h"

#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

unsigned modeOf(const QString& path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777U : 0U;
}

class SettingsFiles : public ::testing::Test
{
protected:
    TemporaryAppDirectory dir;
};

} // namespace

TEST_F(SettingsFiles, GeneralSettingsKeepTheirLayoutAndReadBack)
{
    ASSERT_TRUE(ConfFile::writeFromSettingsTab(dir.path(), u"05"_s, u"30"_s, false, 1, u"12"_s, {u"a"_s, QString()}));
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s), "05\r\n30\r\n 1 \r\n 1 \r\n12\r\na\r\n\r\n");
    const auto settings = ConfFile::read(dir.path());
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->hoursText, u"5"_s);
    EXPECT_EQ(settings->intervalMinutes, 330);
    EXPECT_FALSE(settings->useRouterAddress);
    EXPECT_TRUE(settings->checkVersionAtStartUp);
    EXPECT_EQ(settings->pingMinutes, 12);
    EXPECT_EQ(settings->locators, (QStringList{u"a"_s, QString()}));

    ASSERT_TRUE(ConfFile::writeFromWizard(dir.path(), u"1.5"_s, u"0"_s, true, u"0"_s, {u"l"_s}));
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s), "1.5\r\n0\r\n 0 \r\n1\r\n0\r\nl\r\n");
    // A ping box that holds no number makes Apply write nothing at all.
    for (const QString& ping : {QString(), u"5x"_s}) {
        EXPECT_FALSE(ConfFile::writeFromSettingsTab(dir.path(), u"9"_s, u"9"_s, false, 0, ping, {}));
    }
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s), "1.5\r\n0\r\n 0 \r\n1\r\n0\r\nl\r\n");
}

TEST_F(SettingsFiles, GeneralSettingsThatLoadAndThatDoNot)
{
    // The file, and the interval it loads with (-1: it does not load).
    const std::pair<const char*, int> rows[] = {
        {"0\r\n5\r\n 0 \r\n 1 \r\n", -1},          // four lines
        {"0\r\n5\r\n 0 \r\n 1 \r\n0\r\n", 5},      // five lines, no locator
        {"0\r\n5\r\n 0 \r\n 1 \r\n32768\r\n", -1}, // ping beyond 16 bits
        {"0\r\n5\r\n 0 \r\n 1 \r\nsoon\r\n", -1},
        {"one\r\n5\r\n 0 \r\n 1 \r\n0\r\n", -1},
        {"0\r\n5\r\nremote\r\n 1 \r\n0\r\n", -1},
        {"0\r\n5\r\n 0 \r\nyes\r\n0\r\n", -1},
        {"546\r\n8\r\n 0 \r\n 1 \r\n0\r\n", -1}, // 32768 minutes
        {"546\r\n7\r\n 0 \r\n 1 \r\n0\r\n", 32767},
        {"0.5\r\n2.5\r\n 0 \r\n 1 \r\n0\r\n", 32}, // half a minute goes to even
        {"\r\n\r\n\r\n\r\n-5\r\n", 0},             // empty lines count as 0
    };
    for (const auto& [bytes, interval] : rows) {
        SCOPED_TRACE(bytes);
        dir.writeBytes(u"Conf.ini"_s, bytes);
        const auto settings = ConfFile::read(dir.path());
        EXPECT_EQ(settings ? settings->intervalMinutes : -1, interval);
    }
}

TEST_F(SettingsFiles, AccountNamePasswordAndHosts)
{
    ASSERT_TRUE(AccountFile::write(dir.path(), u"007"_s, u"0042"_s, {u"www.example.com"_s, u"mail.example.com"_s}));
    EXPECT_EQ(dir.readBytes(u"Account.ini"_s), "007\r\n0042\r\nwww.example.com\r\nmail.example.com\r\n");
    const auto account = AccountFile::read(dir.path());
    ASSERT_TRUE(account);
    EXPECT_EQ(account->userName, u"7"_s);    // a name of digits comes back as a number
    EXPECT_EQ(account->password, u"0042"_s); // the password is text and keeps its zeros
    EXPECT_EQ(AccountFile::readHosts(dir.path()), (QStringList{u"www.example.com"_s, u"mail.example.com"_s}));
    // Text is written as it stands, unquoted: a comma or a leading quote cuts it short on reading.
    ASSERT_TRUE(AccountFile::write(dir.path(), u"user"_s, u"pa,ss"_s, {u"\"h\"x"_s}));
    EXPECT_EQ(AccountFile::read(dir.path())->password, u"pa"_s);
    EXPECT_EQ(AccountFile::readHosts(dir.path()), (QStringList{u"ss"_s, u"h"_s}));

    // The file, whether the account loads, and the hosts read from it.
    const std::tuple<const char*, bool, std::optional<QStringList>> rows[] = {
        {"user\r\n", false, std::nullopt},
        {"user\r\n\r\nhost\r\n", false, QStringList{u"host"_s}}, // an empty password
        {"\r\npass\r\n", false, QStringList{}},                  // an empty name
        {"user\r\npass\r\n\r\na,b\r\n\r\n", true, QStringList{u"a"_s, u"b"_s}},
    };
    for (const auto& [bytes, loads, hosts] : rows) {
        SCOPED_TRACE(bytes);
        dir.writeBytes(u"Account.ini"_s, bytes);
        EXPECT_EQ(AccountFile::read(dir.path()).has_value(), loads);
        EXPECT_EQ(AccountFile::readHosts(dir.path()), hosts);
    }
}

TEST_F(SettingsFiles, AccountFileIsForItsOwnerOnlyWhateverTheMask)
{
    const mode_t savedMask = ::umask(0);
    EXPECT_TRUE(AccountFile::write(dir.path(), u"user"_s, u"secret"_s, {}));
    EXPECT_EQ(modeOf(dir.filePath(u"Account.ini"_s)), 0600U);
    // An existing file readable by others is tightened when it is rewritten.
    EXPECT_EQ(::chmod(QFile::encodeName(dir.filePath(u"Account.ini"_s)).constData(), 0644), 0);
    EXPECT_TRUE(AccountFile::write(dir.path(), u"user"_s, u"secret2"_s, {}));
    EXPECT_EQ(modeOf(dir.filePath(u"Account.ini"_s)), 0600U);
    ::umask(savedMask);
}

TEST_F(SettingsFiles, VersionPageLeavesTheDateOnTheThirdLine)
{
    // An empty third line would read back as no date, never today's, and every reload would fetch
    // the version page again.
    for (const QString& page : {u"G\r\n1.4"_s, u"G\r\n1.4\r\n"_s, u"G\r\n1.4\n\r\n"_s}) {
        ASSERT_TRUE(UpdateFile::writeFromVersionPage(dir.path(), page, u"12/6/26"_s, UpdateFile::scratchName()));
        EXPECT_EQ(dir.readBytes(UpdateFile::scratchName()), "G\r\n1.4\r\n12/6/26\r\n") << page.toStdString();
    }
    ASSERT_TRUE(UpdateFile::writeFromVersionPage(dir.path(), u"G"_s, u"12/6/26"_s));
    EXPECT_FALSE(UpdateFile::read(dir.path())) << "a page without its version line reads back short";
}

TEST_F(SettingsFiles, NamesMatchWithoutRegardToCase)
{
    dir.writeBytes(u"CONF.INI"_s, "0\r\n5\r\n 0 \r\n 1 \r\n0\r\n");
    EXPECT_EQ(ConfFile::read(dir.path())->intervalMinutes, 5);
    ASSERT_TRUE(ConfFile::writeFromSettingsTab(dir.path(), u"1"_s, u"0"_s, true, 1, u"0"_s, {}));
    EXPECT_EQ(dir.fileNames(), QStringList{u"CONF.INI"_s}) << "the writer replaces the existing spelling";
    EXPECT_EQ(ConfFile::read(dir.path())->intervalMinutes, 60);
    dir.writeBytes(u"update.ini"_s, "G\r\n1.3\r\nD\r\n");
    EXPECT_EQ(UpdateFile::read(dir.path())->gatewayUrl, u"G"_s);
}

TEST_F(SettingsFiles, AWriteThatFailsPartWayLeavesTheOldFileByteForByte)
{
    ASSERT_TRUE(AccountFile::write(dir.path(), u"user"_s, u"secret"_s, {u"h"_s}));
    ASSERT_TRUE(ConfFile::writeFromSettingsTab(dir.path(), u"1"_s, u"0"_s, true, 1, u"0"_s, {u"l"_s}));
    const QByteArray account = dir.readBytes(u"Account.ini"_s);
    const QByteArray conf = dir.readBytes(u"Conf.ini"_s);
    const QStringList many(20000, u"host.example.com"_s);
    // Every write past 64 bytes fails, as on a full disk (a read-only directory would not stop root).
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool accountWritten = AccountFile::write(dir.path(), u"other"_s, u"password"_s, many);
    const bool confWritten = ConfFile::writeFromSettingsTab(dir.path(), u"2"_s, u"0"_s, true, 1, u"0"_s, many);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(accountWritten);
    EXPECT_FALSE(confWritten);
    EXPECT_EQ(dir.readBytes(u"Account.ini"_s), account);
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s), conf);
    EXPECT_EQ(dir.fileNames(), (QStringList{u"Account.ini"_s, u"Conf.ini"_s})) << "no temporary file left";
}
