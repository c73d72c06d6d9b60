#include "InstallerWindow.h"

#include "ServiceInstaller.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QScreen>
#include <QStyle>

// Geometry is designed in twips; 15 twips make one device-independent pixel.
static int twips(int value)
{
    return qRound(value / 15.0);
}

InstallerWindow::InstallerWindow(ServiceInstaller& installer, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint), m_installer(installer)
{
    setObjectName(QStringLiteral("frmInstall"));
    setWindowTitle(QString());
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    setFont(font);
    setFixedSize(twips(3195), twips(690));

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("picPanel"));
    panel->setGeometry(0, 0, width(), height());

    const int iconSize = twips(480);
    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("imgIcon"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(iconSize, iconSize));
    icon->setGeometry(twips(120), (height() - iconSize) / 2, iconSize, iconSize);

    auto* label = new QLabel(QStringLiteral("Installing Service ..."), panel);
    label->setObjectName(QStringLiteral("lblInstalling"));
    label->move(twips(720), twips(240));
    label->adjustSize();
}

void InstallerWindow::centre()
{
    const QScreen* target = screen();
    if (target == nullptr) {
        return;
    }
    QRect area = rect();
    area.moveCenter(target->availableGeometry().center());
    move(area.topLeft());
}

bool InstallerWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !m_started) {
        m_started = true;
        // Queued, so the window is drawn before the run's message box, if any, takes over.
        QMetaObject::invokeMethod(this, &InstallerWindow::startRun, Qt::QueuedConnection);
    }
    return QWidget::event(event);
}

void InstallerWindow::startRun()
{
    emit finished(m_installer.run());
}
