#include "FakeDesktop.h"

#include <gtest/gtest.h>

namespace {

bool offers(Desktop::Buttons buttons, Desktop::Answer answer)
{
    switch (buttons) {
    case Desktop::Buttons::Ok:
        return answer == Desktop::Answer::Ok;
    case Desktop::Buttons::OkCancel:
        return answer == Desktop::Answer::Ok || answer == Desktop::Answer::Cancel;
    case Desktop::Buttons::YesNo:
        return answer == Desktop::Answer::Yes || answer == Desktop::Answer::No;
    case Desktop::Buttons::YesNoCancel:
        return answer != Desktop::Answer::Ok;
    }
    return false;
}

Desktop::Answer firstButton(Desktop::Buttons buttons)
{
    return buttons == Desktop::Buttons::YesNo || buttons == Desktop::Buttons::YesNoCancel ? Desktop::Answer::Yes
                                                                                          : Desktop::Answer::Ok;
}

} // namespace

void FakeDesktop::queueAnswer(Answer answer)
{
    m_answers.enqueue(answer);
}

qsizetype FakeDesktop::pendingAnswers() const
{
    return m_answers.size();
}

Desktop::Answer FakeDesktop::showMessage(const QString& title, const QString& text, Icon icon, Buttons buttons)
{
    m_messages.append(Message{title, text, icon, buttons});
    if (m_whileOpen) {
        m_whileOpen();
    }
    if (m_answers.isEmpty()) {
        return firstButton(buttons);
    }
    const Answer answer = m_answers.dequeue();
    if (!offers(buttons, answer)) {
        ADD_FAILURE() << "scripted answer " << static_cast<int>(answer) << " is not a button of the box \""
                      << text.toStdString() << "\"";
        return firstButton(buttons);
    }
    return answer;
}

void FakeDesktop::openUrl(const QString& url)
{
    m_openedUrls.append(url);
}

void FakeDesktop::endProgram(Ending ending)
{
    m_ending = ending;
    ++m_endProgramCalls;
}

bool FakeDesktop::hasEnded() const
{
    return m_endProgramCalls > 0;
}

const QList<FakeDesktop::Message>& FakeDesktop::messages() const
{
    return m_messages;
}

FakeDesktop::Message FakeDesktop::lastMessage() const
{
    return m_messages.isEmpty() ? Message{} : m_messages.constLast();
}

const QStringList& FakeDesktop::openedUrls() const
{
    return m_openedUrls;
}

int FakeDesktop::endProgramCalls() const
{
    return m_endProgramCalls;
}

void FakeDesktop::clear()
{
    m_answers.clear();
    m_messages.clear();
    m_openedUrls.clear();
    m_endProgramCalls = 0;
}
