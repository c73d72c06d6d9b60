#pragma once

#include "Desktop.h"

#include <QPointer>
#include <QWidget>

// The real desktop: QMessageBox for messages, the default browser for pages, the application's
// event loop for ending.
class WidgetDesktop : public Desktop
{
public:
    // The window that owns the message boxes; none by default.
    void setOwner(QWidget* owner);

    void openUrl(const QString& url) override;
    void endProgram(Ending ending) override;
    bool hasEnded() const override;

protected:
    Answer showMessage(const QString& title, const QString& text, Icon icon, Buttons buttons) override;

private:
    QPointer<QWidget> m_owner;
    bool m_ended = false;
};
