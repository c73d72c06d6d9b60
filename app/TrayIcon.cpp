#include "TrayIcon.h"

#include "Desktop.h"
#include "ProgramIcon.h"

#include <QAction>
#include <QCursor>
#include <QWidget>

QString TrayIcon::tipText()
{
    return QStringLiteral("Quorvex IP Updater");
}

TrayIcon::TrayIcon(Desktop& desktop, const QString& homePage, const QIcon& icon, QObject* parent)
    : QObject(parent), m_desktop(desktop), m_homePage(homePage), m_icon(this)
{
    setObjectName(QStringLiteral("frmTray"));
    m_mnu.setObjectName(QStringLiteral("mnu"));
    m_mnu.setTitle(QStringLiteral("Menu"));

    QAction* open = addItem(QStringLiteral("Open"), QStringLiteral("mnuShow"));
    QAction* update = addItem(QStringLiteral("Update Now"), QStringLiteral("mnuUpdate"));
    QAction* homepage = addItem(QStringLiteral("Quorvex Homepage"), QStringLiteral("mnuHomepage"));
    m_mnu.addSeparator()->setObjectName(QStringLiteral("sep2"));
    QAction* exit = addItem(QStringLiteral("Exit"), QStringLiteral("mnuExit"));

    connect(open, &QAction::triggered, this, [this] {
        RemoveTrayIcon();
        emit openRequested();
    });
    connect(update, &QAction::triggered, this, &TrayIcon::updateRequested);
    connect(homepage, &QAction::triggered, this, [this] { m_desktop.openUrl(m_homePage); });
    connect(exit, &QAction::triggered, this, &TrayIcon::exitRequested);

    m_icon.setObjectName(QStringLiteral("trayIcon"));
    m_icon.setIcon(icon.isNull() ? ProgramIcon::icon() : icon);
    m_icon.setToolTip(tipText());
    // No context menu is handed to the platform: the menu is popped up here on the context
    // request, so only that request shows it, on every kind of notification area alike.
    connect(&m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
}

bool TrayIcon::available() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::AddTrayIcon()
{
    m_icon.show();
}

void TrayIcon::RemoveTrayIcon()
{
    m_icon.hide();
}

bool TrayIcon::iconShown() const
{
    return m_icon.isVisible();
}

bool TrayIcon::hideToTray(QWidget& window)
{
    if (!window.isMinimized() || !available()) {
        return false;
    }
    AddTrayIcon();
    window.hide();
    return true;
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Context) {
        m_mnu.popup(QCursor::pos());
    }
}

QAction* TrayIcon::addItem(const QString& caption, const QString& name)
{
    QAction* action = m_mnu.addAction(caption);
    action->setObjectName(name);
    return action;
}
