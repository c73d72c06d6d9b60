#include "DomainList.h"
#include "MainController.h"
#include "MainWindow.h"
#include "QuorvexApp.h"
#include "ServiceUrls.h"
#include "support/CannedHttpServer.h"
#include "support/InProcessProgram.h"
#include "support/QtPrinters.h"
#include "support/SimulatorProcess.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Every text the program's windows show: titles, tips, labels, buttons, boxes as displayed (a
// password box shows its mask), lists.
QStringList shownTexts()
{
    QStringList texts;
    const QWidgetList widgets = QApplication::allWidgets();
    for (const QWidget* widget : widgets) {
        texts << widget->windowTitle() << widget->toolTip();
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            texts << label->text();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            texts << button->text();
        } else if (const auto* box = qobject_cast<const QLineEdit*>(widget)) {
            texts << box->displayText();
        } else if (const auto* edit = qobject_cast<const QPlainTextEdit*>(widget)) {
            texts << edit->toPlainText();
        } else if (const auto* list = qobject_cast<const QListWidget*>(widget)) {
            for (int i = 0; i < list->count(); ++i) {
                texts << list->item(i)->text();
            }
        }
    }
    return texts;
}

class SimulatedStart : public ::testing::Test
{
protected:
    // The simulator on dataFile, the public address 198.51.100.23; then the program on files
    // that need no version check, its one locator the simulator's, until its main window loads.
    MainController& start(const QByteArray& account, const QString& dataFile = SimulatorProcess::defaultDataFile())
    {
        sim = std::make_unique<SimulatorProcess>(dataFile);
        EXPECT_TRUE(sim->start() && sim->control(u"/control/public-ip?value=198.51.100.23"_s));
        program = std::make_unique<InProcessProgram>(sim->hostAndPort());
        program->seed((u"0\r\n5\r\n 0 \r\n 1 \r\n0\r\n"_s + sim->hostAndPort() + u"/echo1\r\n"_s).toUtf8(), account);
        return program->load();
    }

    bool updatesCompleted(int count)
    {
        return program->waitFor([&] { return program->main().log().text().count(u"Completed updating."_s) >= count; });
    }

    // Accounts whose values are hard to send, and a password easy to find.
    static QString robustnessData() { return QStringLiteral(QUORVEX_TEST_DATA "/sim-robustness.txt"); }

    std::unique_ptr<SimulatorProcess> sim;
    std::unique_ptr<InProcessProgram> program;
};

} // namespace

// Three hosts listed, two saved: they show ticked, and the first update, forced, names those two
// and the address the locator gave; the service records exactly them.
TEST_F(SimulatedStart, ASeededStartForcesOneUpdateOfTheSavedHostsWithTheLookedUpAddress)
{
    MainController& main = start("demo\r\ndemo123\r\nmail.example.com\r\nhome.example.net\r\n");
    ASSERT_TRUE(updatesCompleted(1)) << main.log().text().toStdString();

    const QStringList gateway = sim->requestLog().filter(u"GET /dyn/update?"_s);
    ASSERT_EQ(gateway.size(), 1);
    EXPECT_TRUE(
        gateway.constFirst().startsWith(u"GET /dyn/update?login=demo&password=demo123&force=Y"
                                        u"&host=mail.example.com;home.example.net&myip=198.51.100.23&unique="_s))
        << gateway.constFirst().toStdString();
    const QString records = QString::fromUtf8(sim->get(u"/control/records"_s));
    EXPECT_TRUE(records.contains(u"mail.example.com\t198.51.100.23"_s) &&
                records.contains(u"home.example.net\t198.51.100.23"_s))
        << records.toStdString();
    const HostChecklist& list = main.window().checklist(); // www, mail, home as the service lists them
    EXPECT_TRUE(!list.IsSelected(1) && list.IsSelected(2) && list.IsSelected(3)) << "the saved hosts ticked";
    EXPECT_TRUE(main.window().isVisible());
    EXPECT_TRUE(program->desktop.messages().isEmpty()) << program->desktop.lastMessage().text.toStdString();
}

// An account whose every value holds & = # % + ; and a non-ASCII letter (name and password a
// space too): the service validates it, lists its domain and host and records the update, so it
// received every value as typed; and each request carries its own parameters and no other.
TEST_F(SimulatedStart, EveryValueReachesTheServiceAsTypedAndAddsNoParameter)
{
    const QString host = u"w&w=w#%+;\u00fc.special"_s;
    MainController& main =
        start(u"o&d=d#%+; \u00fc\r\np&w=#%+; \u00e9\r\n"_s.toUtf8() + host.toUtf8() + "\r\n", robustnessData());
    ASSERT_TRUE(updatesCompleted(1)) << main.log().text().toStdString();
    EXPECT_TRUE(QString::fromUtf8(sim->get(u"/control/records"_s)).contains(host + u"\t198.51.100.23\t"_s));

    const QStringList requests = sim->requestLog();
    for (const QString& expected :
         {u"/ipupdate/account_validate.jsp? login password"_s, u"/ipupdate/domains.jsp? login unique"_s,
          u"/ipupdate/hosts.jsp? login domain unique"_s, u"/dyn/update? login password force host myip unique"_s}) {
        const QStringList sent = requests.filter(u"GET "_s + expected.section(u' ', 0, 0));
        ASSERT_EQ(sent.size(), 1) << expected.toStdString();
        // Nothing a server or a proxy could read as anything but a character of a value.
        EXPECT_FALSE(sent.constFirst().mid(4).contains(QRegularExpression(u"[# +]"_s)))
            << sent.constFirst().toStdString();
        QStringList keys{expected.section(u' ', 0, 0)};
        for (const QString& pair : sent.constFirst().section(u'?', 1).split(u'&')) {
            keys << pair.section(u'=', 0, 0);
        }
        EXPECT_EQ(keys.join(u' '), expected);
    }
}

// A whole start with its forced update, a Force Update and a refused check with a second
// password: neither password, raw or as it travels in a URL, is anywhere the program shows or
// logs; the password box shows a mask and the log's copy of each update one "*" per character.
TEST_F(SimulatedStart, ThePasswordIsNeverShownAndIsLoggedAsStars)
{
    MainController& main = start("leakcheck\r\nZq7-Leak-Pw-91x\r\nwww.leak.test\r\n", robustnessData());
    ASSERT_TRUE(updatesCompleted(1)) << main.log().text().toStdString();
    main.cmdForceUpdate_Click();
    ASSERT_TRUE(updatesCompleted(2)) << main.log().text().toStdString();
    main.window().passwordBox()->setText(u"Zq7-Wrong-Pw-17y"_s);
    program->app().startCredentialCheck();
    ASSERT_TRUE(program->waitFor([&] { return main.window().responseText().startsWith(u"Fail to validate"_s); }));

    QStringList texts = shownTexts() << program->desktop.openedUrls() << main.log().text();
    for (const FakeDesktop::Message& message : program->desktop.messages()) {
        texts << message.title << message.text;
    }
    // The search finds what the windows do show: the name, the host, the log.
    for (const QString& shown : {u"leakcheck"_s, u"www.leak.test"_s, u"Completed updating."_s}) {
        EXPECT_FALSE(texts.filter(shown).isEmpty()) << shown.toStdString();
    }
    for (const QString& secret : {u"Zq7-Leak-Pw-91x"_s, u"Zq7-Wrong-Pw-17y"_s}) {
        EXPECT_EQ(texts.filter(secret) + texts.filter(ServiceUrls::encodeQueryValue(secret)), QStringList());
    }
    EXPECT_EQ(main.window().passwordBox()->displayText().size(), 16);
    EXPECT_EQ(main.log().text().count(u"&password=***************&host="_s), 2);
}

// Half a surrogate pair in an answer, which no text file can hold, once ended the program at its
// first start: it shows as the replacement character, as in a browser, and the start goes on.
TEST_F(SimulatedStart, AVersionPageWithHalfASurrogatePairIsRecorded)
{
    QByteArray body;
    const QString page = u"url=http://gw.example/"_s + QChar(0xDC00) + u"\r\nversion=1.3\r\n"_s;
    for (const QChar c : page) {
        body += static_cast<char>(c.unicode() & 0xff);
        body += static_cast<char>(c.unicode() >> 8);
    }
    CannedHttpServer server("HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=utf-16le\r\nContent-Length: " +
                            QByteArray::number(body.size()) + "\r\n\r\n" + body);
    ASSERT_TRUE(server.listen());
    InProcessProgram p(server.url(QString()).mid(7));
    p.load();
    ASSERT_TRUE(p.waitFor([&] { return p.app().wizard() || p.desktop.hasEnded(); }));
    EXPECT_TRUE(p.desktop.messages().isEmpty()) << p.desktop.lastMessage().text.toStdString();
    EXPECT_TRUE(p.dir.readBytes(u"Update.ini"_s).startsWith("http://gw.example/\xEF\xBF\xBD\r\n1.3\r\n"));
}
