#include "AccountFile.h"
#include "ConfFile.h"
#include "FieldReader.h"
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

enum class Read { Text, Int16, NumberOrText, List };

// One read of the given kind: "!" when it fails, "#" before a value read as a number.
QString readOne(FieldReader& reader, Read kind)
{
    if (kind == Read::Text) {
        return reader.readText().value_or(u"!"_s);
    }
    if (kind == Read::List) {
        const QStringList all = reader.readRemainingTexts();
        return all.isEmpty() ? u"!"_s : all.join(u'|');
    }
    if (kind == Read::Int16) {
        const auto number = reader.readInt16();
        return number ? QString::number(*number) : u"!"_s;
    }
    const auto value = reader.readNumberOrText();
    return !value ? u"!"_s : (value->isNumber() ? u"#"_s : QString()) + value->toText();
}

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

TEST(FieldReader, ReadsEachKindOfField)
{
    // The kind of read, the text, and every field read from it joined by "|".
    const std::tuple<Read, const char*, const char*> rows[] = {
        {Read::Text, "alpha\r\nbeta,gamma\r\ndelta", "alpha|beta|gamma|delta"},
        {Read::Text, "a\nb\rc\r\n", "a|b|c"},                 // lone LF and CR, as in files edited elsewhere
        {Read::Text, "   padded  \r\n\tx\r\n", "padded  |x"}, // leading blanks skipped, trailing kept
        {Read::Text, "a\r\n\r\nb,\r\nc", "a||b||c"},          // an empty line; a comma ending a line
        {Read::Text, "\"1, 2\",3\r\n\"a\r\nb\" x\r\nz", "1, 2|3|a\r\nb|z"}, // to the next quote, tail dropped
        {Read::Text, "\"open\r\nrest", "open\r\nrest"},                     // an unclosed quote runs to the end
        {Read::Int16, "32767\r\n-32768\r\n32768\r\n-32769\r\n2.5\r\n3.5\r\n-2.5\r\n\r\n", "32767|-32768|!|!|2|4|-2|0"},
        {Read::Int16, " 1e3 \r\n+.5\r\n7.\r\nabc\r\n0x10\r\n12abc\r\n1e999\r\ninf\r\nnan\r\n+-1\r\n1 2",
         "1000|0|7|!|!|!|!|!|!|!|!"},
        {Read::NumberOrText, "007\r\nsecret\r\n\"042\"\r\n\r\n1e6\r\n", "#7|secret|042||#1000000"},
        // A list's entry (a locator, a host) never swallows the ones after it.
        {Read::List, "\"x\r\nb.example\r\n\"c, d\"\r\n\"e", "x|b.example|c, d|e"},
    };
    for (const auto& [kind, input, expected] : rows) {
        SCOPED_TRACE(input);
        FieldReader reader(QString::fromUtf8(input));
        QStringList fields;
        for (int i = 0; i < 100 && !reader.atEnd(); ++i) {
            fields.append(readOne(reader, kind));
        }
        EXPECT_EQ(fields.join(u'|'), QString::fromUtf8(expected));
        EXPECT_EQ(readOne(reader, kind), u"!"_s) << "a read past the end";
    }
}

TEST_F(SettingsFiles, GeneralSettingsKeepTheirLayoutAndReadBack)
{
    ASSERT_TRUE(ConfFile::writeFromWizard(dir.path(), u"1.5"_s, u"0"_s, true, u"0"_s, {u"l"_s}));
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s), "1.5\r\n0\r\n 0 \r\n1\r\n0\r\nl\r\n");
    ASSERT_TRUE(ConfFile::writeFromSettingsTab(dir.path(), u"05"_s, u"30"_s, false, 1, u"12"_s, {u"a"_s, QString()}));
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s), "05\r\n30\r\n 1 \r\n 1 \r\n12\r\na\r\n\r\n");
    const auto settings = ConfFile::read(dir.path());
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->hoursText + u' ' + settings->minutesText, u"5 30"_s);
    EXPECT_TRUE(!settings->useRouterAddress && settings->checkVersionAtStartUp && settings->pingMinutes == 12);
    EXPECT_EQ(settings->locators, (QStringList{u"a"_s, QString()}));
    // A ping box that holds no number makes Apply write nothing: the file would no longer load.
    EXPECT_FALSE(ConfFile::writeFromSettingsTab(dir.path(), u"9"_s, u"9"_s, true, 0, u"5x"_s, {}));
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s), "05\r\n30\r\n 1 \r\n 1 \r\n12\r\na\r\n\r\n");
}

TEST_F(SettingsFiles, GeneralSettingsThatLoadAndThatDoNot)
{
    // The file, and the interval it loads with (-1: it does not load).
    const std::pair<const char*, int> rows[] = {
        {"0\r\n5\r\n 0 \r\n 1 \r\n", -1},          // four lines
        {"0\r\n5\r\n 0 \r\n 1 \r\n0\r\n", 5},      // five lines, no locator
        {"0\r\n5\r\n 0 \r\n 1 \r\n32768\r\n", -1}, // ping beyond 16 bits
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
    // What was typed reads back as typed: a value that would not is quoted, ordinary ones are not.
    const std::tuple<QString, QString, QString, const char*> typed[] = {
        {u"demo"_s, u"demo123"_s, u"www.example.com"_s, "demo\r\ndemo123\r\nwww.example.com\r\n"},
        {u"007"_s, u"0042"_s, u"1.5"_s, "\"007\"\r\n\"0042\"\r\n\"1.5\"\r\n"},
        {u"erin"_s, u"pa,ss 1"_s, u" h "_s, "erin\r\n\"pa,ss 1\"\r\n\" h \"\r\n"},
    };
    for (const auto& [name, password, host, bytes] : typed) {
        ASSERT_TRUE(AccountFile::write(dir.path(), name, password, {host}));
        EXPECT_EQ(dir.readBytes(u"Account.ini"_s), QByteArray(bytes));
        const auto account = AccountFile::read(dir.path());
        EXPECT_EQ(account->userName + u'|' + account->password, name + u'|' + password);
        EXPECT_EQ(AccountFile::readHosts(dir.path()), QStringList{host});
    }
    // A name of digits written before quoting existed keeps its zeros: it is read as text.
    dir.writeBytes(u"Account.ini"_s, "007\r\npass\r\n");
    EXPECT_EQ(AccountFile::read(dir.path())->userName, u"007"_s);

    // The file, whether the account loads, and the hosts read from it.
    const std::tuple<const char*, bool, std::optional<QStringList>> rows[] = {
        {"user\r\n", false, std::nullopt},
        {"user\r\n\r\nhost\r\n", false, QStringList{u"host"_s}}, // an empty password
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

TEST_F(SettingsFiles, NamesMatchWithoutRegardToCase)
{
    dir.writeBytes(u"CONF.INI"_s, "0\r\n5\r\n 0 \r\n 1 \r\n0\r\n");
    EXPECT_EQ(ConfFile::read(dir.path())->intervalMinutes, 5);
    ASSERT_TRUE(ConfFile::writeFromSettingsTab(dir.path(), u"1"_s, u"0"_s, true, 1, u"0"_s, {}));
    EXPECT_EQ(dir.fileNames(), QStringList{u"CONF.INI"_s}) << "the writer replaces the existing spelling";
    EXPECT_EQ(ConfFile::read(dir.path())->intervalMinutes, 60);
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
    const rlimit limit{64, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool accountWritten = AccountFile::write(dir.path(), u"other"_s, u"password"_s, many);
    const bool confWritten = ConfFile::writeFromSettingsTab(dir.path(), u"2"_s, u"0"_s, true, 1, u"0"_s, many);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(accountWritten || confWritten);
    EXPECT_EQ(dir.readBytes(u"Account.ini"_s), account);
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s), conf);
    EXPECT_EQ(dir.fileNames(), (QStringList{u"Account.ini"_s, u"Conf.ini"_s})) << "no temporary file left";
}
