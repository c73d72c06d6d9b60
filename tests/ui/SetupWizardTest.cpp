#include "SetupWizard.h"

#include "DomainList.h"
#include "RecordingWizardMainSide.h"
#include "support/FakeDesktop.h"
#include "support/QtPrinters.h"
#include "support/TemporaryAppDirectory.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString pages[] = {u"fraStep1"_s, u"fraStep2"_s, u"fraStep3"_s, u"fraStep4"_s, u"fraStep5"_s, u"fraFinish"_s};
QStringList locators()
{
    return {u"what.example/ip"_s, u"echo1.example"_s, u"echo2.example"_s, u"echo3.example"_s};
}

// What a transition is judged by: the page on top, the buttons and Step.
struct Shown
{
    QString page;
    bool back;
    bool next;
    int step;
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* out)
{
    *out << s.page.toStdString() << (s.back ? " back" : " no-back") << (s.next ? " next" : " no-next") << " step "
         << s.step;
}

class SetupWizardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        wizard->show();
        wizard->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(wizard.get()));
    }

    template <typename T = QWidget>
    T* child(const QString& name) const
    {
        T* found = wizard->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QLineEdit* box(const QString& name) const { return child<QLineEdit>(name); }
    void click(const QString& name) const { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }
    void next() const { click(u"cmdNext"_s); }
    void back() const { click(u"cmdBack"_s); }
    bool focused(const QString& name) const { return QApplication::focusWidget() == child(name); }

    Shown shown() const
    {
        QString top = u"welcome"_s;
        int visible = 0;
        for (const QString& page : pages) {
            if (child(page)->isVisible()) {
                top = page;
                ++visible;
            }
        }
        EXPECT_LE(visible, 1) << "pages shown at once";
        return {top, child(u"cmdBack"_s)->isVisible(), child(u"cmdNext"_s)->isEnabled(), wizard->Step()};
    }

    // Drives the wizard forward with sound entries to the given step.
    void goTo(int step)
    {
        if (wizard->Step() < 1 && step >= 1) {
            next();
        }
        if (wizard->Step() < 2 && step >= 2) {
            box(u"txtUser"_s)->setText(u"demo"_s);
            box(u"txtPass"_s)->setText(u"secret"_s);
            next();
            wizard->credentialsAccepted();
            HostChecklist& list = wizard->checklist();
            list.AddDomain(u"example.com"_s);
            list.AddHost(u"www.example.com"_s);
            list.AddHost(u"ftp.example.com"_s);
            list.AddHost(u"mail.example.com"_s);
            wizard->enableNext();
        }
        if (wizard->Step() < 3 && step >= 3) {
            wizard->checklist().Selected(u"www.example.com"_s, true);
            wizard->checklist().Selected(u"mail.example.com"_s, true);
            next();
        }
        while (wizard->Step() < step && wizard->Step() >= 3) {
            next();
        }
        ASSERT_EQ(wizard->Step(), step);
        desktop.clear();
        main.calls.clear();
    }

    FakeDesktop desktop;
    TemporaryAppDirectory dir;
    RecordingWizardMainSide main{desktop, dir.path()};
    std::unique_ptr<SetupWizard> wizard =
        std::make_unique<SetupWizard>(desktop, main, ServiceUrls(u"127.0.0.1:8780"_s), u"keep.example"_s, locators());
};

TEST_F(SetupWizardTest, OpensOnTheWelcomeContentAtItsTwipsLayout)
{
    EXPECT_EQ(wizard->objectName(), u"frmWizard"_s);
    EXPECT_EQ(wizard->windowTitle(), u" QuorVex IP Updater Configuration Wizard"_s);
    EXPECT_EQ(wizard->size(), QSize(384, 321));
    EXPECT_EQ(wizard->minimumSize(), wizard->maximumSize());
    EXPECT_EQ(shown(), (Shown{u"welcome"_s, false, true, 0}));
    for (const QString& page : pages) {
        EXPECT_EQ(child(page)->geometry(), QRect(8, 48, 369, 233)) << page.toStdString();
    }
    EXPECT_EQ(child(u"cmdNext"_s)->geometry(), QRect(184, 288, 89, 25));
    EXPECT_EQ(child(u"domainList1"_s)->geometry(), QRect(8, 40, 337, 129));
    EXPECT_EQ(child(u"hrsDown"_s)->geometry(), QRect(56, 75, 11, 12));
    // The step-5 caption names the keep-alive site; the finish page's link is the home page.
    EXPECT_EQ(child<QLabel>(u"lblPing"_s)->text(), u"Ping keep.example every"_s);
    EXPECT_EQ(child<QLabel>(u"lblHyperlink2"_s)->text(), u"http://127.0.0.1:8780/"_s);
    QTest::keyClicks(box(u"txtPass"_s), u"abc"_s);
    EXPECT_EQ(box(u"txtPass"_s)->displayText(), u"***"_s);
}

TEST_F(SetupWizardTest, NextAndBackWalkThePagesByStep)
{
    next();
    EXPECT_EQ(shown(), (Shown{u"fraStep1"_s, true, true, 1}));
    EXPECT_TRUE(focused(u"txtUser"_s));
    back();
    EXPECT_EQ(shown(), (Shown{u"welcome"_s, false, true, 0}));

    goTo(3);
    EXPECT_EQ(shown(), (Shown{u"fraStep3"_s, true, true, 3}));
    next();
    EXPECT_EQ(shown(), (Shown{u"fraStep4"_s, true, true, 4}));
    next();
    EXPECT_EQ(shown(), (Shown{u"fraStep5"_s, true, true, 5}));
    back();
    EXPECT_EQ(shown(), (Shown{u"fraStep4"_s, true, true, 4}));
    back();
    EXPECT_EQ(shown(), (Shown{u"fraStep3"_s, true, true, 3}));
    back();
    EXPECT_EQ(shown(), (Shown{u"fraStep2"_s, true, true, 2}));
    back();
    EXPECT_EQ(shown(), (Shown{u"fraStep1"_s, true, true, 1}));
    // Nothing is undone on the way back.
    EXPECT_EQ(box(u"txtUser"_s)->text(), u"demo"_s);
    EXPECT_EQ(wizard->checklist().SelCount(), 2);

    goTo(6);
    EXPECT_EQ(shown(), (Shown{u"fraFinish"_s, false, true, 6}));
    EXPECT_EQ(child<QPushButton>(u"cmdNext"_s)->text(), u"&Finish"_s);
    wizard->cmdBack_Click();
    EXPECT_EQ(shown(), (Shown{u"fraFinish"_s, false, true, 6}));
    EXPECT_TRUE(main.calls.isEmpty());
}

TEST_F(SetupWizardTest, StepOneReportsTheUserFirstAndLetsBlanksThrough)
{
    goTo(1);
    next();
    ASSERT_EQ(desktop.messages().size(), 1);
    EXPECT_EQ(desktop.lastMessage().title, u"Error"_s);
    EXPECT_EQ(desktop.lastMessage().text, u"Username is required"_s);
    EXPECT_EQ(desktop.lastMessage().icon, Desktop::Icon::Exclamation);
    EXPECT_EQ(desktop.lastMessage().buttons, Desktop::Buttons::Ok);
    EXPECT_TRUE(focused(u"txtUser"_s));

    QTest::keyClicks(box(u"txtUser"_s), u" "_s);
    next();
    EXPECT_EQ(desktop.lastMessage().text, u"Password is required"_s);
    EXPECT_EQ(desktop.lastMessage().icon, Desktop::Icon::Exclamation);
    EXPECT_TRUE(focused(u"txtPass"_s));
    EXPECT_TRUE(main.calls.isEmpty());
    EXPECT_TRUE(wizard->isEnabled());

    QTest::keyClicks(box(u"txtPass"_s), u" "_s);
    next();
    EXPECT_EQ(desktop.messages().size(), 2);
    EXPECT_EQ(main.calls, QStringList{u"startCredentialCheck"_s});
    EXPECT_FALSE(wizard->isEnabled());
    EXPECT_EQ(wizard->Step(), 1);
    EXPECT_TRUE(wizard->isOpen());
    EXPECT_EQ(wizard->userText(), u" "_s);
    EXPECT_EQ(wizard->passwordText(), u" "_s);
}

TEST_F(SetupWizardTest, TheCheckHandsTheWizardBackOnStepOneOrTakesItToStepTwo)
{
    goTo(1);
    QTest::keyClicks(box(u"txtUser"_s), u"demo"_s);
    QTest::keyClicks(box(u"txtPass"_s), u"wrong"_s);
    next();
    wizard->credentialsNotAccepted();
    EXPECT_TRUE(wizard->isEnabled());
    EXPECT_EQ(shown(), (Shown{u"fraStep1"_s, true, true, 1}));
    EXPECT_EQ(box(u"txtUser"_s)->text(), u"demo"_s);
    EXPECT_EQ(box(u"txtPass"_s)->text(), u"wrong"_s);
    EXPECT_TRUE(focused(u"txtUser"_s));

    next();
    EXPECT_EQ(main.calls.size(), 2);
    wizard->credentialsAccepted();
    EXPECT_TRUE(wizard->isEnabled());
    EXPECT_EQ(shown(), (Shown{u"fraStep2"_s, true, false, 2}));
    next(); // disabled until the hosts are listed
    EXPECT_EQ(wizard->Step(), 2);
    EXPECT_TRUE(desktop.messages().isEmpty());

    // Back before the lists are in gives Next back.
    back();
    EXPECT_EQ(shown(), (Shown{u"fraStep1"_s, true, true, 1}));
}

TEST_F(SetupWizardTest, StepTwoWantsAtLeastOneHost)
{
    goTo(2);
    EXPECT_EQ(&wizard->checklist(), child<DomainList>(u"domainList1"_s));
    EXPECT_TRUE(shown().next);
    next();
    EXPECT_EQ(desktop.lastMessage().text, u"You must select at least one domain to update"_s);
    EXPECT_EQ(desktop.lastMessage().icon, Desktop::Icon::Exclamation);
    EXPECT_EQ(wizard->Step(), 2);
    wizard->checklist().Selected(u"ftp.example.com"_s, true);
    next();
    EXPECT_EQ(shown(), (Shown{u"fraStep3"_s, true, true, 3}));
}

TEST_F(SetupWizardTest, StepThreeRefusesOnlyTwoTextsOfExactlyZero)
{
    struct Case
    {
        QString hours;
        QString minutes;
        bool refused;
    };
    const Case cases[] = {{u"0"_s, u"0"_s, true},  {u"00"_s, u"0"_s, false}, {u""_s, u"0"_s, false},
                          {u"1"_s, u"0"_s, false}, {u"0"_s, u"00"_s, false}, {u"0 "_s, u"0"_s, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hours.toStdString() + "/" + c.minutes.toStdString());
        goTo(3);
        box(u"txthours"_s)->setText(c.hours);
        box(u"txtMinutes"_s)->setText(c.minutes);
        next();
        if (c.refused) {
            ASSERT_EQ(desktop.messages().size(), 1);
            EXPECT_EQ(desktop.lastMessage().title, u"Error"_s);
            EXPECT_EQ(desktop.lastMessage().text, u"You need to select an interval of at least of 1 minute"_s);
            EXPECT_EQ(desktop.lastMessage().icon, Desktop::Icon::None);
            EXPECT_EQ(desktop.lastMessage().buttons, Desktop::Buttons::Ok);
            EXPECT_TRUE(focused(u"txthours"_s));
            EXPECT_EQ(shown(), (Shown{u"fraStep3"_s, true, true, 3}));
            EXPECT_TRUE(main.calls.isEmpty());
        } else {
            EXPECT_TRUE(desktop.messages().isEmpty());
            EXPECT_EQ(main.calls, QStringList{u"useDefaultLocatorsAndLookUp"_s});
            EXPECT_EQ(child<QLabel>(u"lblLocal"_s)->text(), u"192.168.7.21"_s);
            EXPECT_EQ(shown(), (Shown{u"fraStep4"_s, true, true, 4}));
            back();
        }
    }
    wizard->setRemoteText(u"203.0.113.9"_s);
    EXPECT_EQ(child<QLabel>(u"lblremote"_s)->text(), u"203.0.113.9"_s);
}

TEST_F(SetupWizardTest, TheWizardsArrowsStepItsOwnBoxes)
{
    goTo(3);
    QLineEdit* hours = box(u"txthours"_s);
    QLineEdit* minutes = box(u"txtMinutes"_s);
    hours->setText(u"98"_s);
    click(u"hrsUp"_s);
    click(u"hrsUp"_s);
    EXPECT_EQ(hours->text(), u"99"_s);
    click(u"hrsDown"_s);
    EXPECT_EQ(hours->text(), u"98"_s);
    minutes->setText(u"58"_s);
    click(u"minUp"_s);
    click(u"minUp"_s);
    EXPECT_EQ(minutes->text(), u"59"_s);
    minutes->setText(u"1"_s);
    click(u"minDown"_s);
    click(u"minDown"_s);
    EXPECT_EQ(minutes->text(), u"0"_s);
    QTest::keyClick(hours, Qt::Key_Down);
    EXPECT_EQ(hours->text(), u"97"_s);
    QTest::keyClick(minutes, Qt::Key_Up);
    EXPECT_EQ(minutes->text(), u"1"_s);
    EXPECT_EQ(hours->text(), u"97"_s);
}

TEST_F(SetupWizardTest, StepFiveChecksThePingTimeWhicheverOptionIsChosen)
{
    const QString invalid = u"Invalid ping time\r\nPlease enter the time in minutes"_s;
    const QString outOfRange = u"Ping time is out of range\r\nPlease enter a time in minutes, between 1-99"_s;
    struct Case
    {
        QString ping;
        QString message; // empty: accepted
        QString after;
    };
    const Case cases[] = {
        {u""_s, invalid, u""_s},       {u"abc"_s, invalid, u"abc"_s}, {u"0"_s, invalid, u"0"_s},
        {u"0x5"_s, invalid, u"0x5"_s}, {u"100"_s, outOfRange, u""_s}, {u"-3"_s, outOfRange, u""_s},
        {u"0.5"_s, outOfRange, u""_s}, {u"5x"_s, outOfRange, u""_s},  {u"1e400"_s, outOfRange, u""_s},
        {u"1"_s, {}, u"1"_s},          {u"99"_s, {}, u"99"_s},        {u" 2.5 "_s, {}, u" 2.5 "_s},
    };
    for (const bool disable : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE((disable ? "Disable, \"" : "Enable, \"") + c.ping.toStdString() + "\"");
            goTo(5);
            click(disable ? u"chkPersistant(1)"_s : u"chkPersistant(0)"_s);
            EXPECT_EQ(box(u"txtPing"_s)->isEnabled(), !disable);
            box(u"txtPing"_s)->setText(c.ping);
            next();
            EXPECT_EQ(box(u"txtPing"_s)->text(), c.after);
            if (c.message.isEmpty()) {
                EXPECT_TRUE(desktop.messages().isEmpty());
                EXPECT_EQ(wizard->Step(), 6);
                wizard->hide(); // a fresh wizard for the next case
                wizard = std::make_unique<SetupWizard>(desktop, main, ServiceUrls(u"127.0.0.1:8780"_s),
                                                       u"keep.example"_s, locators());
                wizard->show();
                wizard->activateWindow();
                ASSERT_TRUE(QTest::qWaitForWindowActive(wizard.get()));
                continue;
            }
            ASSERT_EQ(desktop.messages().size(), 1);
            EXPECT_EQ(desktop.lastMessage().title, u"Error"_s);
            EXPECT_EQ(desktop.lastMessage().text, c.message);
            EXPECT_EQ(desktop.lastMessage().icon, Desktop::Icon::Exclamation);
            EXPECT_EQ(wizard->Step(), 5);
            // A disabled box cannot take the focus; an enabled one gets it.
            if (!disable) {
                EXPECT_TRUE(focused(u"txtPing"_s));
            }
        }
    }
    goTo(5);
    click(u"chkPersistant(1)"_s);
    click(u"chkPersistant(0)"_s);
    EXPECT_TRUE(box(u"txtPing"_s)->isEnabled());
}

struct Saved
{
    bool local;
    bool disable;
    QByteArray conf;
};

std::string savedName(const Saved& saved)
{
    return std::string(saved.local ? "Local" : "Remote") + (saved.disable ? "Disable" : "Enable");
}

void PrintTo(const Saved& saved, std::ostream* out)
{
    *out << savedName(saved);
}

class SaveConfigurationTest : public SetupWizardTest, public ::testing::WithParamInterface<Saved>
{
};

TEST_P(SaveConfigurationTest, WritesTheThreeFilesThenRestarts)
{
    goTo(3);
    QTest::keyClick(box(u"txthours"_s), Qt::Key_Up);
    next();
    if (GetParam().local) {
        click(u"optLocal"_s);
    }
    next();
    if (GetParam().disable) {
        click(u"chkPersistant(1)"_s);
    }
    box(u"txtPing"_s)->setText(u"7"_s);
    next();
    next();

    EXPECT_TRUE(desktop.messages().isEmpty());
    EXPECT_EQ(main.calls, (QStringList{u"useDefaultLocatorsAndLookUp"_s, u"restartFromSavedSettings"_s}));
    EXPECT_EQ(main.filesAtRestart, (QStringList{u"Account.ini"_s, u"Conf.ini"_s, u"Update.ini"_s}));
    EXPECT_EQ(dir.readBytes(u"Update.ini"_s), QByteArray("0\r\n1.0\r\n0\r\n"));
    EXPECT_EQ(dir.readBytes(u"Account.ini"_s), QByteArray("demo\r\nsecret\r\nwww.example.com\r\nmail.example.com\r\n"));
    EXPECT_EQ(dir.readBytes(u"Conf.ini"_s), GetParam().conf);
    EXPECT_EQ(desktop.endProgramCalls(), 0);
}

const char defaultLocatorLines[] = "what.example/ip\r\necho1.example\r\necho2.example\r\necho3.example\r\n";

INSTANTIATE_TEST_SUITE_P(
    AddressAndPing, SaveConfigurationTest,
    ::testing::Values(Saved{false, false, QByteArray("1\r\n15\r\n 0 \r\n1\r\n7\r\n") + defaultLocatorLines},
                      Saved{true, false, QByteArray("1\r\n15\r\n 1 \r\n1\r\n7\r\n") + defaultLocatorLines},
                      Saved{false, true, QByteArray("1\r\n15\r\n 0 \r\n1\r\n0\r\n") + defaultLocatorLines},
                      Saved{true, true, QByteArray("1\r\n15\r\n 1 \r\n1\r\n0\r\n") + defaultLocatorLines}),
    [](const ::testing::TestParamInfo<Saved>& param) { return savedName(param.param); });

TEST_F(SetupWizardTest, AFileThatCannotBeWrittenEndsTheProgramAndLeavesTheOthersWhole)
{
    const QString advice = u"Please ensure that you have permission to read & write the application directory"_s;
    struct Case
    {
        QString blocked;
        QString message;
        QStringList written;
    };
    const Case cases[] = {
        {u"Update.ini"_s,
         u"Failed to write the update configuration file.\r\n"
         u"Please ensure you have permission to read and write to the application directory"_s,
         {}},
        {u"Account.ini"_s, u"Failed to write the account configuration file.\r\n"_s + advice, {u"Update.ini"_s}},
        {u"Conf.ini"_s,
         u"Failed to write the general configuration file.\r\n"_s + advice,
         {u"Account.ini"_s, u"Update.ini"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blocked.toStdString());
        TemporaryAppDirectory blockedDir;
        ASSERT_TRUE(QDir(blockedDir.path()).mkdir(c.blocked));
        RecordingWizardMainSide blockedMain(desktop, blockedDir.path());
        SetupWizard blockedWizard(desktop, blockedMain, ServiceUrls(u"127.0.0.1:8780"_s), u"keep.example"_s,
                                  locators());
        blockedWizard.SaveConfiguration();
        ASSERT_EQ(desktop.messages().size(), 1);
        EXPECT_EQ(desktop.lastMessage().title, u"Error"_s);
        EXPECT_EQ(desktop.lastMessage().text, c.message);
        EXPECT_EQ(desktop.lastMessage().icon, Desktop::Icon::Critical);
        EXPECT_EQ(desktop.lastMessage().buttons, Desktop::Buttons::Ok);
        EXPECT_EQ(desktop.endProgramCalls(), 1);
        EXPECT_TRUE(blockedMain.calls.isEmpty());
        EXPECT_EQ(blockedDir.fileNames(), c.written);
        if (c.written.contains(u"Update.ini"_s)) {
            EXPECT_EQ(blockedDir.readBytes(u"Update.ini"_s), QByteArray("0\r\n1.0\r\n0\r\n"));
        }
        if (c.written.contains(u"Account.ini"_s)) {
            EXPECT_EQ(blockedDir.readBytes(u"Account.ini"_s), QByteArray("\r\n\r\n"));
        }
        desktop.clear();
    }
}

TEST_F(SetupWizardTest, ExitAsksAndYesEndsWithoutWritingAnything)
{
    goTo(3);
    box(u"txthours"_s)->setText(u"4"_s);
    desktop.queueAnswer(Desktop::Answer::No);
    click(u"cmdExit"_s);
    ASSERT_EQ(desktop.messages().size(), 1);
    EXPECT_EQ(desktop.lastMessage().title, u"Exit"_s);
    EXPECT_EQ(desktop.lastMessage().text,
              u"Are you sure you wish to quit ?\r\nSetup has not completed configuring the IP updater"_s);
    EXPECT_EQ(desktop.lastMessage().icon, Desktop::Icon::None);
    EXPECT_EQ(desktop.lastMessage().buttons, Desktop::Buttons::YesNo);
    EXPECT_EQ(desktop.endProgramCalls(), 0);
    EXPECT_TRUE(main.calls.isEmpty());
    EXPECT_EQ(shown(), (Shown{u"fraStep3"_s, true, true, 3}));
    EXPECT_EQ(box(u"txthours"_s)->text(), u"4"_s);

    desktop.queueAnswer(Desktop::Answer::Yes);
    click(u"cmdExit"_s);
    EXPECT_EQ(main.calls, QStringList{u"removeTrayIcon"_s});
    EXPECT_EQ(desktop.endProgramCalls(), 1);
    EXPECT_TRUE(dir.fileNames().isEmpty());
}

TEST_F(SetupWizardTest, TheTitleBarCloseAsksAsExitDoesWhileTheProgramClosesItQuietly)
{
    // What the window system sends when the user closes the window.
    const auto titleBarClose = [this] {
        QCloseEvent event;
        QSpontaneKeyEvent::setSpontaneous(&event);
        // Straight to the window: sendEvent() would clear the spontaneous mark.
        static_cast<QObject*>(wizard.get())->event(&event);
        return event.isAccepted();
    };
    desktop.queueAnswer(Desktop::Answer::No);
    EXPECT_FALSE(titleBarClose());
    EXPECT_EQ(desktop.lastMessage().title, u"Exit"_s);
    EXPECT_EQ(desktop.endProgramCalls(), 0);
    desktop.queueAnswer(Desktop::Answer::Yes);
    EXPECT_TRUE(titleBarClose());
    EXPECT_EQ(main.calls, QStringList{u"removeTrayIcon"_s});
    EXPECT_EQ(desktop.endProgramCalls(), 1);

    desktop.clear();
    wizard->close();
    EXPECT_TRUE(desktop.messages().isEmpty());
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_FALSE(wizard->isOpen());
}

TEST_F(SetupWizardTest, TheLinkLabelsOpenTheSignUpAndHomePages)
{
    QTest::mouseClick(child(u"lblHyperlink"_s), Qt::LeftButton);
    EXPECT_EQ(desktop.openedUrls(), QStringList{u"http://127.0.0.1:8780/Direct.sv?cmd=signup"_s});
    goTo(6);
    QTest::mouseClick(child(u"lblHyperlink2"_s), Qt::RightButton);
    EXPECT_TRUE(desktop.openedUrls().isEmpty());
    QTest::mouseClick(child(u"lblHyperlink2"_s), Qt::LeftButton);
    EXPECT_EQ(desktop.openedUrls(), QStringList{u"http://127.0.0.1:8780/"_s});
    EXPECT_EQ(wizard->Step(), 6);
}

} // namespace
