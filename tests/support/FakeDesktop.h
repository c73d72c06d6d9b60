#pragma once

#include "Desktop.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <functional>

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

    void openUrl(const QString& url) override;
    void endProgram(Ending ending) override;
    bool hasEnded() const override;
    // How the program was last ended; Exit when it was not.
    Ending ending() const { return m_ending; }
    // Runs while each box is open, as the user takes their time: a test lets the event loop run
    // here to see what would happen underneath a real box.
    void whileOpen(std::function<void()> wait) { m_whileOpen = std::move(wait); }

    const QList<Message>& messages() const;
    // The last message shown; an empty one when none was.
    Message lastMessage() const;
    const QStringList& openedUrls() const;
    int endProgramCalls() const;
    // Forgets what was recorded and the answers not yet used.
    void clear();

protected:
    Answer showMessage(const QString& title, const QString& text, Icon icon, Buttons buttons) override;

private:
    std::function<void()> m_whileOpen;
    Ending m_ending = Ending::Exit;
    QQueue<Answer> m_answers;
    QList<Message> m_messages;
    QStringList m_openedUrls;
    int m_endProgramCalls = 0;
};
