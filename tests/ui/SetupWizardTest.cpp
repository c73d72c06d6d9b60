#include "SetupWizard.h"

#include "WizardMainSide.h"
#include "support/FakeDesktop.h"
#include "support/QtPrinters.h"
#include "support/TemporaryAppDirectory.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The rest of the program as the wizard sees it: the calls in order, a restart as the files it finds.
struct RecordingMainSide : WizardMainSide
{
    explicit RecordingMainSide(QString dir) : path(std::move(dir)) {}
    void startCredentialCheck() override { calls.append(u"check"_s); }
    void useDefaultLocatorsAndLookUp() override { calls.append(u"lookUp"_s); }
    QString machineAddress() const override { return u"192.168.7.21"_s; }
    QString configPath() const override { return path; }
    void restartFromSavedSettings() override { calls.append(QDir(path).entryList(QDir::Files).join(u' ')); }
    void RemoveTrayIcon() override { calls.append(u"RemoveTrayIcon"_s); }
    QString path;
    QStringList calls;
};

class Wizard : public ::testing::Test
{
protected:
    void SetUp() override { open(); }
    // A fresh wizard, the account already typed in.
    void open()
    {
        wizard = std::make_unique<SetupWizard>(desktop, main, ServiceUrls(u"127.0.0.1:8780"_s), u"keep.example"_s,
                                               QStringList{u"what.example/ip"_s});
        wizard->show();
        box(u"txtUser"_s)->setText(u"demo"_s);
        box(u"txtPass"_s)->setText(u"secret"_s);
        desktop.clear();
        main.calls.clear();
    }
    QLineEdit* box(const QString& name) const { return wizard->findChild<QLineEdit*>(name); }
    void click(const QString& name, QPoint at = {}) const
    {
        QTest::mouseClick(wizard->findChild<QWidget*>(name), Qt::LeftButton, {}, at);
    }
    // Next until `step` or a message. The service accepts the account and lists example.com's
    // hosts www, ftp and mail (1 to 3), of which the user ticks `ticks`.
    void walk(int step, const QList<int>& ticks = {1, 3})
    {
        for (int i = 0; i < 8 && wizard->Step() < step && desktop.messages().isEmpty(); ++i) {
            if (i % 2 == 0) {
                click(u"cmdNext"_s);
            } else {
                QTest::keyClick(wizard.get(), Qt::Key_Return); // Enter presses Next, as in any wizard
            }
            if (!wizard->isEnabled()) {
                wizard->credentialsAccepted();
                wizard->checklist().AddDomain(u"example.com"_s);
                for (const QString& host : {u"www"_s, u"ftp"_s, u"mail"_s}) {
                    wizard->checklist().AddHost(host + u".example.com"_s);
                }
                wizard->enableNext();
                for (const int host : ticks) {
                    click(u"chkHost(%1)"_s.arg(host), {6, 8}); // on the box, not the blank after the name
                }
            }
        }
    }

    FakeDesktop desktop;
    TemporaryAppDirectory dir;
    RecordingMainSide main{dir.path()};
    std::unique_ptr<SetupWizard> wizard;
};

TEST_F(Wizard, EachStepChecksItsEntriesBeforeMovingOn)
{
    const QString invalidPing = u"Invalid ping time\r\nPlease enter the time in minutes"_s;
    const QString pingRange = u"Ping time is out of range\r\nPlease enter a time in minutes, between 1-99"_s;
    const QString interval = u"You need to select an interval of at least of 1 minute"_s;
    struct Case
    {
        QString user = u"demo"_s, pass = u"secret"_s;
        QList<int> ticks = {2};
        QString hours = u"0"_s, minutes = u"15"_s;
        bool disable = false;
        QString ping = u"5"_s, message{};
        Desktop::Icon icon = Desktop::Icon::Exclamation;
        int stop = 6; // the finish page
    };
    const Case cases[] = {
        {.user = u""_s, .pass = u""_s, .message = u"Username is required"_s, .stop = 1},
        {.user = u" "_s, .pass = u""_s, .message = u"Password is required"_s, .stop = 1},
        {.ticks = {}, .message = u"You must select at least one domain to update"_s, .stop = 2},
        {.hours = u"0"_s, .minutes = u"0"_s, .message = interval, .icon = Desktop::Icon::None, .stop = 3},
        // An interval the settings could not load back would lose everything at the next start.
        {.hours = u"abc"_s, .message = interval, .icon = Desktop::Icon::None, .stop = 3},
        {.hours = u"546"_s, .minutes = u"8"_s, .message = interval, .icon = Desktop::Icon::None, .stop = 3},
        {.hours = u"00"_s, .minutes = u"0"_s},
        {.pass = u"pa\"ss"_s,
         .message = u"The password cannot contain the double quote character (\")\r\n"
                    u"Please remove it: the settings files cannot hold it"_s,
         .stop = 1},
        {.ping = u""_s, .message = invalidPing, .stop = 5},
        {.disable = true, .ping = u"abc"_s, .message = invalidPing, .stop = 5}, // checked even when not used
        {.ping = u"100"_s, .message = pingRange, .stop = 5},
        {.ping = u"0.5"_s, .message = pingRange, .stop = 5},
        {.ping = u"5x"_s, .message = pingRange, .stop = 5},
        {.ping = u"1"_s},
        {.disable = true, .ping = u"99"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << &c - cases);
        open();
        box(u"txtUser"_s)->setText(c.user);
        box(u"txtPass"_s)->setText(c.pass);
        box(u"txthours"_s)->setText(c.hours);
        box(u"txtMinutes"_s)->setText(c.minutes);
        box(u"txtPing"_s)->setText(c.ping);
        wizard->findChild<QAbstractButton*>(u"chkPersistant(%1)"_s.arg(c.disable ? 1 : 0))->setChecked(true);
        walk(6, c.ticks);
        EXPECT_EQ(wizard->Step(), c.stop);
        EXPECT_EQ(desktop.messages().size(), c.message.isEmpty() ? 0 : 1);
        EXPECT_EQ(desktop.lastMessage().title, c.message.isEmpty() ? QString() : u"Error"_s);
        EXPECT_EQ(desktop.lastMessage().text, c.message);
        EXPECT_EQ(desktop.lastMessage().icon, c.message.isEmpty() ? Desktop::Icon::None : c.icon);
    }
}

TEST_F(Wizard, FinishWritesTheThreeFilesFromWhatTheUserChoseThenRestarts)
{
    const std::pair<bool, QByteArray> cases[] = {{false, "1\r\n16\r\n 0 \r\n1\r\n7\r\nwhat.example/ip\r\n"},
                                                 {true, "1\r\n16\r\n 1 \r\n1\r\n0\r\nwhat.example/ip\r\n"}};
    for (const auto& [local, conf] : cases) {
        SCOPED_TRACE(local ? "local address, no ping" : "remote address, ping");
        open();
        EXPECT_EQ(box(u"txtPass"_s)->displayText(), u"******"_s) << "the password is never shown";
        walk(3); // ticks www and mail
        // Typing reaches an interval box; the arrow keys and buttons step their own box.
        QTest::keyClicks(box(u"txthours"_s), u"2"_s);
        click(u"hrsDown"_s);
        click(u"hrsUp"_s);
        QTest::keyClick(box(u"txthours"_s), Qt::Key_Down);
        click(u"minUp"_s);
        walk(4);
        click(local ? u"optLocal"_s : u"optRemote"_s);
        walk(5);
        click(local ? u"chkPersistant(1)"_s : u"chkPersistant(0)"_s);
        box(u"txtPing"_s)->setText(u"7"_s);
        walk(6);
        click(u"cmdNext"_s);

        EXPECT_EQ(main.calls, (QStringList{u"check"_s, u"lookUp"_s, u"Account.ini Conf.ini Update.ini"_s}));
        EXPECT_EQ(dir.readBytes(u"Update.ini"_s).toStdString(), "0\r\n1.0\r\n0\r\n");
        EXPECT_EQ(dir.readBytes(u"Account.ini"_s), "demo\r\nsecret\r\nwww.example.com\r\nmail.example.com\r\n");
        EXPECT_EQ(dir.readBytes(u"Conf.ini"_s).toStdString(), conf.toStdString());
    }
}

TEST_F(Wizard, AFileThatCannotBeWrittenEndsTheProgramBeforeTheFilesAfterIt)
{
    dir.writeBytes(u"Conf.ini"_s, "old");
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"Account.ini"_s));
    walk(6);
    click(u"cmdNext"_s);
    EXPECT_TRUE(desktop.lastMessage().text.startsWith(u"Failed to write the account configuration file."_s));
    EXPECT_EQ(desktop.endProgramCalls(), 1);
    EXPECT_EQ(main.calls, (QStringList{u"check"_s, u"lookUp"_s})) << "no restart";
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s).toStdString(), "old");
}

TEST_F(Wizard, ExitAsksThenEndsTheProgramLeavingEveryFileAsItWas)
{
    for (const QString& name : {u"Update.ini"_s, u"Account.ini"_s, u"Conf.ini"_s}) {
        dir.writeBytes(name, "old");
    }
    walk(6);
    desktop.queueAnswer(Desktop::Answer::Yes);
    click(u"cmdExit"_s);
    EXPECT_EQ(desktop.lastMessage().buttons, Desktop::Buttons::YesNo);
    EXPECT_EQ(main.calls, (QStringList{u"check"_s, u"lookUp"_s, u"RemoveTrayIcon"_s}));
    EXPECT_EQ(desktop.endProgramCalls(), 1);
    for (const QString& name : {u"Update.ini"_s, u"Account.ini"_s, u"Conf.ini"_s}) {
        EXPECT_EQ(dir.readBytes(name).toStdString(), "old") << name.toStdString();
    }
}

} // namespace
