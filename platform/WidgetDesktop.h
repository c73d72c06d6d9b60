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

    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons) override;
    void openUrl(const QString& url) override;
    void endProgram() override;
    bool hasEnded() const override;

private:
    QPointer<QWidget> m_owner;
    bool m_ended = false;
};
