#include "TrayIcon.h"

#include "support/FakeDesktop.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The test decides whether there is a notification area; headless there never is one.
class TestTrayIcon : public TrayIcon
{
public:
    TestTrayIcon(Desktop& desktop, bool hasArea) : TrayIcon(desktop, u"http://127.0.0.1:8780/"_s), m_hasArea(hasArea) {}
    bool available() const override { return m_hasArea; }

private:
    bool m_hasArea;
};

QAction* item(TrayIcon& tray, const QString& name)
{
    return tray.menu().findChild<QAction*>(name);
}

TEST(TrayIcon, MenuHoldsTheFiveEntriesInOrder)
{
    FakeDesktop desktop;
    TrayIcon tray(desktop, u"http://127.0.0.1:8780/"_s);
    EXPECT_EQ(tray.objectName(), u"frmTray"_s);
    EXPECT_EQ(tray.menu().objectName(), u"mnu"_s);
    EXPECT_EQ(tray.icon().toolTip(), u"Quorvex IP Updater"_s);
    EXPECT_FALSE(tray.icon().icon().isNull());
    EXPECT_EQ(tray.icon().contextMenu(), nullptr) << "the menu is popped up on the context request only";

    const QList<QAction*> actions = tray.menu().actions();
    ASSERT_EQ(actions.size(), 5);
    QStringList names;
    QStringList captions;
    for (const QAction* action : actions) {
        names.append(action->objectName());
        captions.append(action->isSeparator() ? u"-"_s : action->text());
    }
    EXPECT_EQ(names, (QStringList{u"mnuShow"_s, u"mnuUpdate"_s, u"mnuHomepage"_s, u"sep2"_s, u"mnuExit"_s}));
    EXPECT_EQ(captions, (QStringList{u"Open"_s, u"Update Now"_s, u"Quorvex Homepage"_s, u"-"_s, u"Exit"_s}));
}

TEST(TrayIcon, EachItemAsksForItsOwnAction)
{
    FakeDesktop desktop;
    TestTrayIcon tray(desktop, true);
    QSignalSpy open(&tray, &TrayIcon::openRequested);
    QSignalSpy update(&tray, &TrayIcon::updateRequested);
    QSignalSpy exit(&tray, &TrayIcon::exitRequested);

    item(tray, u"mnuUpdate"_s)->trigger();
    EXPECT_EQ(update.count(), 1);
    item(tray, u"mnuHomepage"_s)->trigger();
    EXPECT_EQ(desktop.openedUrls(), QStringList{u"http://127.0.0.1:8780/"_s});
    tray.addIcon();
    item(tray, u"mnuExit"_s)->trigger();
    EXPECT_EQ(exit.count(), 1);
    EXPECT_TRUE(tray.iconShown()) << "the prompt may be answered No";
    EXPECT_EQ(open.count() + desktop.endProgramCalls(), 0);
    EXPECT_EQ(update.count(), 1);

    bool shownWhenOpened = true;
    QObject::connect(&tray, &TrayIcon::openRequested, &tray, [&] { shownWhenOpened = tray.iconShown(); });
    item(tray, u"mnuShow"_s)->trigger();
    EXPECT_EQ(open.count(), 1);
    EXPECT_FALSE(shownWhenOpened) << "the icon goes before the window comes back";
    EXPECT_EQ(update.count() + exit.count(), 2);
}

TEST(TrayIcon, OnlyTheContextRequestPopsUpTheMenu)
{
    FakeDesktop desktop;
    TrayIcon tray(desktop, u"http://127.0.0.1:8780/"_s);
    for (const auto reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick,
                              QSystemTrayIcon::Unknown}) {
        tray.onActivated(reason);
        EXPECT_FALSE(tray.menu().isVisible()) << reason;
    }
    tray.onActivated(QSystemTrayIcon::Context);
    EXPECT_TRUE(tray.menu().isVisible());
    tray.menu().hide();
}

TEST(TrayIcon, AMinimizedWindowHidesToTheIconOnlyWhereThereIsANotificationArea)
{
    FakeDesktop desktop;
    QWidget window;
    window.show();

    TestTrayIcon noArea(desktop, false);
    window.setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(noArea.hideToTray(window));
    EXPECT_TRUE(window.isVisible()) << "left minimized the ordinary way, so the task bar brings it back";
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(noArea.iconShown());

    TestTrayIcon withArea(desktop, true);
    window.setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(withArea.hideToTray(window)) << "other size changes do nothing";
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(withArea.iconShown());

    window.setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(withArea.hideToTray(window));
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(withArea.iconShown());
    withArea.addIcon();
    withArea.removeIcon();
    EXPECT_FALSE(withArea.iconShown()) << "one icon at most";
    withArea.removeIcon();
    EXPECT_FALSE(withArea.iconShown());
}

} // namespace
