#pragma once

#include "Desktop.h"

// The real desktop: QMessageBox over the active window for messages, the default browser for
// pages, the application's event loop for ending.
class WidgetDesktop : public Desktop
{
public:
    void openUrl(const QString& url) override;
    void endProgram(Ending ending) override;
    bool hasEnded() const override;

protected:
    Answer showMessage(const QString& title, const QString& text, Icon icon, Buttons buttons) override;

private:
    bool m_ended = false;
};
