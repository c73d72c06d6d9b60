#pragma once

#include "Desktop.h"

#include <QList>
#include <QString>
#include <QStringList>

// A desktop for the fuzz targets: records every message box and answers it with the button the
// input chose; ending the program is only counted.
class FuzzDesktop : public Desktop
{
public:
    struct Message
    {
        QString title;
        QString text;
        Icon icon = Icon::None;
    };

    // Yes (or Ok) when true, No (or Cancel) otherwise, for every box.
    explicit FuzzDesktop(bool agree = true) : m_agree(agree) {}

    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons) override;
    void openUrl(const QString& url) override;
    void endProgram() override;
    bool hasEnded() const override;

    const QList<Message>& messages() const { return m_messages; }
    const QStringList& openedUrls() const { return m_openedUrls; }
    int endProgramCalls() const { return m_endProgramCalls; }

private:
    bool m_agree;
    QList<Message> m_messages;
    QStringList m_openedUrls;
    int m_endProgramCalls = 0;
};
