#include "WidgetDesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace {

QMessageBox::Icon boxIcon(Desktop::Icon icon)
{
    switch (icon) {
    case Desktop::Icon::Information:
        return QMessageBox::Information;
    case Desktop::Icon::Exclamation:
        return QMessageBox::Warning;
    case Desktop::Icon::Critical:
        return QMessageBox::Critical;
    case Desktop::Icon::Question:
        return QMessageBox::Question;
    case Desktop::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Desktop::Buttons buttons)
{
    switch (buttons) {
    case Desktop::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Desktop::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Desktop::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Desktop::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// The answer when the box was closed without a button: what Escape would have pressed.
Desktop::Answer closedAnswer(Desktop::Buttons buttons)
{
    switch (buttons) {
    case Desktop::Buttons::OkCancel:
    case Desktop::Buttons::YesNoCancel:
        return Desktop::Answer::Cancel;
    case Desktop::Buttons::YesNo:
        return Desktop::Answer::No;
    case Desktop::Buttons::Ok:
        break;
    }
    return Desktop::Answer::Ok;
}

} // namespace

Desktop::Answer WidgetDesktop::showMessage(const QString& title, const QString& text, Icon icon, Buttons buttons)
{
    // Over the window the user is working in (Exit asks over the main window, a wizard step's
    // error over the wizard), not somewhere in the middle of the screen; with no window active
    // (Exit from the notification area's menu) it is centred on the screen. On the heap: should
    // that window go while the box is open, it takes the box with it and exec() returns.
    const QPointer<QMessageBox> box =
        new QMessageBox(boxIcon(icon), title, text, boxButtons(buttons), QApplication::activeWindow());
    box->setObjectName(QStringLiteral("desktopMessageBox"));
    const int pressed = box->exec();
    delete box.data();
    switch (pressed) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return closedAnswer(buttons);
    }
}

void WidgetDesktop::openUrl(const QString& url)
{
    QDesktopServices::openUrl(QUrl(url));
}

void WidgetDesktop::endProgram(Ending ending)
{
    m_ended = true;
    const int status = ending == Ending::Failure ? 1 : 0;
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        return;
    }
    if (QThread::currentThread()->loopLevel() > 0) {
        QCoreApplication::exit(status);
    } else {
        // An exit before exec() would be forgotten when the loop starts; queue it for the loop.
        QTimer::singleShot(0, app, [status] { QCoreApplication::exit(status); });
    }
}

bool WidgetDesktop::hasEnded() const
{
    return m_ended;
}
