#include "TrayIcon.h"

#include "support/FakeDesktop.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QWidget>
#include <gtest/gtest.h>

#include <tuple>

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

} // namespace

// Exit leaves the icon, as its prompt may be answered No; Open takes it away before the window
// comes back. Only the context request (the right button) pops the menu up.
TEST(TrayIcon, EachMenuItemAsksForItsOwnAction)
{
    for (const auto& [item, asked, iconAfter] : {std::tuple{u"Open"_s, u"open, icon gone"_s, false},
                                                 {u"Update Now"_s, u"update"_s, true},
                                                 {u"Quorvex Homepage"_s, u"http://127.0.0.1:8780/"_s, true},
                                                 {u"Exit"_s, u"exit"_s, true}}) {
        SCOPED_TRACE(item.toStdString());
        FakeDesktop desktop;
        TestTrayIcon tray(desktop, true);
        EXPECT_FALSE(tray.icon().icon().isNull()) << "a blank icon could not be found to bring the window back";
        QStringList seen;
        QObject::connect(&tray, &TrayIcon::openRequested, &tray,
                         [&] { seen << (tray.iconShown() ? u"open, icon shown"_s : u"open, icon gone"_s); });
        QObject::connect(&tray, &TrayIcon::updateRequested, &tray, [&] { seen << u"update"_s; });
        QObject::connect(&tray, &TrayIcon::exitRequested, &tray, [&] { seen << u"exit"_s; });
        tray.AddTrayIcon();
        for (const auto reason :
             {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick}) {
            tray.onActivated(reason);
        }
        EXPECT_FALSE(tray.menu().isVisible());
        tray.onActivated(QSystemTrayIcon::Context);
        EXPECT_TRUE(tray.menu().isVisible());
        for (QAction* action : tray.menu().actions()) {
            if (action->text() == item) {
                action->trigger();
            }
        }
        EXPECT_EQ(seen + desktop.openedUrls(), QStringList{asked});
        EXPECT_EQ(tray.iconShown(), iconAfter);
    }
}

// Without a notification area a window hidden to it could never be brought back: it stays
// minimized the ordinary way, for the task bar.
TEST(TrayIcon, AMinimizedWindowHidesToTheIconOnlyWhereThereIsANotificationArea)
{
    for (const bool hasArea : {false, true}) {
        SCOPED_TRACE(hasArea);
        FakeDesktop desktop;
        TestTrayIcon tray(desktop, hasArea);
        QWidget window;
        window.show();
        EXPECT_FALSE(tray.hideToTray(window)) << "not minimized";
        window.setWindowState(Qt::WindowMinimized);
        EXPECT_EQ(tray.hideToTray(window), hasArea);
        EXPECT_EQ(window.isVisible(), !hasArea);
        EXPECT_EQ(tray.iconShown(), hasArea);
    }
}
