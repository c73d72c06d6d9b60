#include "Desktop.h"

Desktop::Desktop() : m_gate([this] { return hasEnded(); }) {}

Desktop::~Desktop() = default;

Desktop::Answer Desktop::message(const QString& title, const QString& text, Icon icon, Buttons buttons)
{
    m_gate.boxOpened();
    const Answer answer = showMessage(title, text, icon, buttons);
    m_gate.boxClosed();
    return answer;
}
