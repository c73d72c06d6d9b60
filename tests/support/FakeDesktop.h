#pragma once

#include "Desktop.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// A desktop that answers message boxes from a script and records what the program asked of it.
// Ending the program is only recorded; the test process goes on.
class FakeDesktop : public Desktop
{
public:
    struct Message
    {
        QString title;
        QString text;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
    };

    // Answers are used in order, one per message box. When none is left, a box gets its first
    // button (Ok or Yes). An answer that the box does not offer fails the test.
    void queueAnswer(Answer answer);
    qsizetype pendingAnswers() const;

    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons) override;
    void openUrl(const QString& url) override;
    void endProgram() override;
    bool hasEnded() const override;

    const QList<Message>& messages() const;
    // The last message shown; an empty one when none was.
    Message lastMessage() const;
    const QStringList& openedUrls() const;
    int endProgramCalls() const;
    // Forgets what was recorded and the answers not yet used.
    void clear();

private:
    QQueue<Answer> m_answers;
    QList<Message> m_messages;
    QStringList m_openedUrls;
    int m_endProgramCalls = 0;
};
