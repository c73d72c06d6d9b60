#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

class Desktop;
class QAction;
class QWidget;

// frmTray: the notification-area icon that stands for the main window while it is minimized, and
// the menu it pops up on a right-button press. Open, Update Now and Exit are the application's to
// carry out; the home page is opened here.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    static QString tipText(); // "Quorvex IP Updater"

    // homePage is the address opened by "Quorvex Homepage"; a null icon gets the program's own.
    TrayIcon(Desktop& desktop, const QString& homePage, const QIcon& icon = QIcon(), QObject* parent = nullptr);

    // Whether the desktop has a notification area to put the icon in. Without one a window hidden
    // to the icon could never be brought back.
    virtual bool available() const;

    // modTray's two procedures, kept with the icon they add and remove.
    void AddTrayIcon();
    // Harmless when no icon is shown.
    void RemoveTrayIcon();
    bool iconShown() const;

    // For the main window once its state has become minimized: adds the icon and hides the window,
    // returning true. Where there is no notification area, or the window is not minimized, it does
    // nothing and returns false, and the window stays as it is (minimized the ordinary way).
    bool hideToTray(QWidget& window);

    QMenu& menu() { return m_mnu; }
    const QSystemTrayIcon& icon() const { return m_icon; }

    // The icon's activations: the context request (a right-button press) pops the menu up at the
    // pointer; clicks, double clicks and middle clicks do nothing.
    void onActivated(QSystemTrayIcon::ActivationReason reason);

signals:
    // Open: the icon is already removed; the application shows the main window normal.
    void openRequested();
    // Update Now: the application runs UpdateIP.
    void updateRequested();
    // Exit: the application asks its exit prompt, and on Yes removes the icon and ends.
    void exitRequested();

private:
    QAction* addItem(const QString& caption, const QString& name);

    Desktop& m_desktop;
    QString m_homePage;
    QMenu m_mnu;
    QSystemTrayIcon m_icon;
};
