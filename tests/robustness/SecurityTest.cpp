#include "AccountFile.h"
#include "DomainList.h"
#include "EventLog.h"
#include "EventLoopWait.h"
#include "HttpPageRequester.h"
#include "MainController.h"
#include "MainWindow.h"
#include "ServiceUrls.h"
#include "SimulatedStart.h"
#include "UpdateScheduler.h"
#include "support/QtPrinters.h"
#include "support/SimulatorProcess.h"
#include "support/TemporaryAppDirectory.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QString dataFile()
{
    return QStringLiteral(QUORVEX_TEST_DATA "/sim-robustness.txt");
}

const QString oddName = u"o&d=d#%+; \u00fc"_s;
const QString oddPassword = u"p&w=#%+; \u00e9"_s;
const QString oddDomain = u"d&o=m#a%i+n;\u00e9.test"_s;
const QString oddHost = u"w&w=w#%+;\u00fc.special"_s;

// Every text a window shows: captions, labels, buttons, boxes as displayed (a password box
// shows its mask), lists, tabs, tips.
QStringList shownTexts(const QWidget& root)
{
    QStringList texts{root.windowTitle(), root.toolTip()};
    QList<const QWidget*> widgets{&root};
    for (const QWidget* child : root.findChildren<const QWidget*>()) {
        widgets.append(child);
    }
    for (const QWidget* widget : widgets) {
        texts << widget->windowTitle() << widget->toolTip() << widget->statusTip() << widget->whatsThis()
              << widget->accessibleName();
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            texts << label->text();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            texts << button->text();
        } else if (const auto* box = qobject_cast<const QLineEdit*>(widget)) {
            texts << box->displayText() << box->placeholderText();
        } else if (const auto* edit = qobject_cast<const QPlainTextEdit*>(widget)) {
            texts << edit->toPlainText();
        } else if (const auto* list = qobject_cast<const QListWidget*>(widget)) {
            for (int i = 0; i < list->count(); ++i) {
                texts << list->item(i)->text();
            }
        } else if (const auto* tabs = qobject_cast<const QTabWidget*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                texts << tabs->tabText(i) << tabs->tabToolTip(i);
            }
        } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
            texts << group->title();
        }
    }
    texts.removeAll(QString());
    return texts;
}

// The texts that hold the secret, raw or as it travels in a URL.
QStringList leaks(const QStringList& texts, const QString& secret)
{
    const QString encoded = ServiceUrls::encodeQueryValue(secret);
    QStringList found;
    for (const QString& text : texts) {
        if (text.contains(secret) || text.contains(encoded)) {
            found.append(text);
        }
    }
    return found;
}

QStringList logLines(const QString& log)
{
    return log.split(u"\r\n"_s, Qt::SkipEmptyParts);
}

// The query of a logged request ("GET /path?query") as its keys and decoded values, in order.
QList<QPair<QString, QString>> queryOf(const QString& logLine)
{
    QList<QPair<QString, QString>> pairs;
    const qsizetype question = logLine.indexOf(u'?');
    if (question < 0) {
        return pairs;
    }
    for (const QString& piece : logLine.mid(question + 1).split(u'&')) {
        const qsizetype equals = piece.indexOf(u'=');
        pairs.append(
            {piece.left(equals), QString::fromUtf8(QByteArray::fromPercentEncoding(piece.mid(equals + 1).toLatin1()))});
    }
    return pairs;
}

QStringList keysOf(const QList<QPair<QString, QString>>& query)
{
    QStringList keys;
    for (const auto& pair : query) {
        keys.append(pair.first);
    }
    return keys;
}

QString valueOf(const QList<QPair<QString, QString>>& query, const QString& key)
{
    for (const auto& pair : query) {
        if (pair.first == key) {
            return pair.second;
        }
    }
    return {};
}

unsigned modeOf(const QString& path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 0777U) : 0U;
}

class UmaskScope
{
public:
    explicit UmaskScope(mode_t mask) : m_previous(::umask(mask)) {}
    ~UmaskScope() { ::umask(m_previous); }
    UmaskScope(const UmaskScope&) = delete;
    UmaskScope& operator=(const UmaskScope&) = delete;

private:
    mode_t m_previous;
};

class Security : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(sim.start()) << sim.errorString().toStdString(); }

    // Runs until the log has count lines saying the update completed.
    bool updatesCompleted(MainController& main, int count)
    {
        return EventLoopWait::until([&] { return main.log().text().count(u"Completed updating."_s) >= count; }, 10000);
    }

    SimulatorProcess sim{dataFile()};
    TemporaryAppDirectory dir;
    SimulatedStart start{sim, dir};
};

} // namespace

// A whole start, a forced update and a refused check with a distinctive password: the password
// is nowhere in what the program shows, logs or asks; the log's copy of the update request
// carries one "*" per character in its place.
TEST_F(Security, ThePasswordIsNeverShownOrLogged)
{
    const QString password = u"Zq7-Leak-Pw-91x"_s;
    start.seed("leakcheck\r\nZq7-Leak-Pw-91x\r\nwww.leak.test\r\n");
    MainController& main = start.load();
    ASSERT_TRUE(updatesCompleted(main, 1)) << main.log().text().toStdString();
    main.cmdForceUpdate_Click();
    ASSERT_TRUE(updatesCompleted(main, 2)) << main.log().text().toStdString();

    // The same account with a wrong password, checked again: refused.
    const QString wrong = u"Zq7-Wrong-Pw-17y"_s;
    main.window().passwordBox()->setText(wrong);
    start.startCredentialCheck();
    ASSERT_TRUE(EventLoopWait::until(
        [&] { return main.window().responseText().startsWith(u"Fail to validate your login"_s); }, 10000));

    QStringList texts = shownTexts(main.window());
    texts << main.log().text() << main.window().responseText() << start.calls << start.desktop.openedUrls();
    for (const FakeDesktop::Message& message : start.desktop.messages()) {
        texts << message.title << message.text;
    }
    // What the search sees is what the window shows: the name, the host, the log.
    EXPECT_TRUE(texts.contains(u"leakcheck"_s));
    EXPECT_TRUE(texts.contains(u"www.leak.test"_s));
    EXPECT_TRUE(texts.contains(main.log().text()));
    EXPECT_EQ(leaks(texts, password), QStringList{});
    EXPECT_EQ(leaks(texts, wrong), QStringList{});

    // The password box shows a mask, one character per character typed.
    const QString masked = main.window().passwordBox()->displayText();
    EXPECT_EQ(masked.size(), wrong.size());
    EXPECT_EQ(masked, QString(wrong.size(), masked.at(0)));
    EXPECT_FALSE(wrong.contains(masked.at(0)));

    // Both updates logged their request with the password as asterisks.
    int copies = 0;
    for (const QString& line : logLines(main.log().text())) {
        if (line.contains(u"/dyn/update?"_s)) {
            ++copies;
            EXPECT_TRUE(line.contains(u"&password=***************&host="_s)) << line.toStdString();
        }
    }
    EXPECT_EQ(copies, 2);
    // The service did get the real one.
    EXPECT_TRUE(QString::fromUtf8(sim.get(u"/control/records"_s)).contains(u"www.leak.test\t203.0.113.7"_s));
}

// An account whose name, password, domain and host hold & = # % + ; and non-ASCII letters (the
// name and password a space too) goes through a whole start: the service validates it, lists its
// domain and host, and records the update, so it received every value exactly as typed; and
// every request carries its own parameters and no other.
TEST_F(Security, EveryValueReachesTheServiceExactlyAsTypedAndAddsNoParameter)
{
    const QString accountFile = oddName + u"\r\n"_s + oddPassword + u"\r\n"_s + oddHost + u"\r\n"_s;
    start.seed(accountFile.toUtf8());
    sim.clearLog();
    MainController& main = start.load();
    ASSERT_TRUE(updatesCompleted(main, 1)) << main.log().text().toStdString();
    EXPECT_TRUE(start.desktop.messages().isEmpty()) << start.desktop.lastMessage().text.toStdString();

    // Listed as the service holds them: the domain and host names came back whole.
    const HostChecklist& list = main.window().checklist();
    ASSERT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.List(1), oddHost);
    EXPECT_TRUE(list.IsSelected(1));
    const QString records = QString::fromUtf8(sim.get(u"/control/records"_s));
    EXPECT_TRUE(records.contains(oddHost + u"\t203.0.113.7\t"_s)) << records.toStdString();
    EXPECT_TRUE(main.log().text().contains(u" - Updated: "_s + oddHost + u"\r\n"_s));

    const struct
    {
        QString path;
        QStringList keys;
    } expected[] = {
        {u"/ipupdate/account_validate.jsp?"_s, {u"login"_s, u"password"_s}},
        {u"/ipupdate/domains.jsp?"_s, {u"login"_s, u"unique"_s}},
        {u"/ipupdate/hosts.jsp?"_s, {u"login"_s, u"domain"_s, u"unique"_s}},
        {u"/dyn/update?"_s, {u"login"_s, u"password"_s, u"force"_s, u"host"_s, u"myip"_s, u"unique"_s}},
    };
    const QStringList requests = sim.requestLog();
    for (const auto& kind : expected) {
        int seen = 0;
        for (const QString& line : requests) {
            if (!line.startsWith(u"GET "_s + kind.path)) {
                continue;
            }
            ++seen;
            // Nothing a server or a proxy could read as anything but a character of a value.
            const QString target = line.mid(4);
            EXPECT_FALSE(target.contains(u'#') || target.contains(u' ') || target.contains(u'+')) << line.toStdString();
            const auto query = queryOf(line);
            EXPECT_EQ(keysOf(query), kind.keys) << line.toStdString();
            EXPECT_EQ(valueOf(query, u"login"_s), oddName) << line.toStdString();
            if (kind.keys.contains(u"password"_s)) {
                EXPECT_EQ(valueOf(query, u"password"_s), oddPassword);
            }
            if (kind.keys.contains(u"domain"_s)) {
                EXPECT_EQ(valueOf(query, u"domain"_s), oddDomain);
            }
            if (kind.keys.contains(u"host"_s)) {
                EXPECT_EQ(valueOf(query, u"host"_s), oddHost);
            }
        }
        EXPECT_EQ(seen, 1) << kind.path.toStdString();
    }
}

// A space in a domain or a host cannot come through the service's lists, which separate names
// with spaces; asked for directly, such names reach it whole all the same.
TEST_F(Security, NamesWithSpacesReachTheServiceWhole)
{
    QNetworkAccessManager network;
    network.setProxy(QNetworkProxy::NoProxy);
    HttpPageRequester requester(network);
    QString text;
    QObject::connect(&requester, &PageRequester::documentComplete, &requester,
                     [&text](const QString&, const QString& page, PageRequester::Outcome) { text = page; });
    const ServiceUrls urls(sim.hostAndPort());

    requester.navigate(urls.hosts(u"s p a c e"_s, u"two words.test"_s, start.clock.nowText()));
    ASSERT_TRUE(EventLoopWait::until([&] { return !text.isEmpty(); }, 5000));
    EXPECT_EQ(text, u"0=a host.two words.test"_s);

    text.clear();
    requester.navigate(sim.baseUrl() + u"/dyn/update?login="_s + ServiceUrls::encodeQueryValue(u"s p a c e"_s) +
                       u"&password="_s + ServiceUrls::encodeQueryValue(u"p w"_s) + u"&force=Y&host="_s +
                       ServiceUrls::encodeQueryValue(u"a host.two words.test"_s) + u"&myip=192.0.2.55"_s);
    ASSERT_TRUE(EventLoopWait::until([&] { return !text.isEmpty(); }, 5000));
    EXPECT_EQ(text, u"0=a host.two words.test updated to 192.0.2.55\r\n"_s);
    EXPECT_TRUE(QString::fromUtf8(sim.get(u"/control/records"_s)).contains(u"a host.two words.test\t192.0.2.55\t"_s));
}

// The account file holds the password in plain text: it is made readable by its owner alone,
// whatever the user's file mask, and stays so when the Account tab rewrites it.
TEST_F(Security, TheAccountFileIsForItsOwnerOnly)
{
    const UmaskScope permissive(0);
    ASSERT_TRUE(AccountFile::write(dir.path(), u"leakcheck"_s, u"Zq7-Leak-Pw-91x"_s, {u"www.leak.test"_s}));
    EXPECT_EQ(modeOf(dir.filePath(u"Account.ini"_s)), 0600U);

    start.seed("leakcheck\r\nZq7-Leak-Pw-91x\r\nwww.leak.test\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath(u"Account.ini"_s)).constData(), 0600), 0);
    MainController& main = start.load();
    ASSERT_TRUE(updatesCompleted(main, 1)) << main.log().text().toStdString();

    // Apply on the Account tab, once as it is and once after someone opened the file to all.
    for (const mode_t before : {0600, 0666}) {
        ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath(u"Account.ini"_s)).constData(), before), 0);
        start.desktop.clear();
        main.window().passwordBox()->setText(u"Zq7-Leak-Pw-91x"_s);
        main.cmdApply_Account_Click();
        ASSERT_EQ(start.desktop.lastMessage().text, u"Your settings have been applied"_s);
        EXPECT_EQ(modeOf(dir.filePath(u"Account.ini"_s)), 0600U) << "was " << std::oct << before;
        EXPECT_EQ(dir.readBytes(u"Account.ini"_s), "leakcheck\r\nZq7-Leak-Pw-91x\r\nwww.leak.test\r\n");
    }
    // Nothing else in the directory holds the password.
    for (const QString& name : dir.fileNames()) {
        if (name != u"Account.ini"_s) {
            EXPECT_FALSE(dir.readBytes(name).contains("Zq7-Leak-Pw-91x")) << name.toStdString();
        }
    }
}
