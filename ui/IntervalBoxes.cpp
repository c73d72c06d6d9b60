#include "IntervalBoxes.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>

IntervalBoxes::IntervalBoxes(QLineEdit* txthours, QAbstractButton* hrsUp, QAbstractButton* hrsDown,
                             QLineEdit* txtMinutes, QAbstractButton* minUp, QAbstractButton* minDown)
    : QObject(txthours), m_txthours(txthours), m_txtMinutes(txtMinutes)
{
    m_txthours->installEventFilter(this);
    m_txtMinutes->installEventFilter(this);
    for (const auto& [button, click] :
         {std::pair{hrsUp, &IntervalBoxes::hrsUp_Click}, std::pair{hrsDown, &IntervalBoxes::hrsDown_Click},
          std::pair{minUp, &IntervalBoxes::minUp_Click}, std::pair{minDown, &IntervalBoxes::minDown_Click}}) {
        if (button != nullptr) {
            connect(button, &QAbstractButton::clicked, this, click);
        }
    }
}

bool IntervalBoxes::txthours_KeyDown(int key)
{
    return step(IntervalEditor::hours(), m_txthours, key);
}

bool IntervalBoxes::txtMinutes_KeyDown(int key)
{
    return step(IntervalEditor::minutes(), m_txtMinutes, key);
}

void IntervalBoxes::hrsUp_Click()
{
    txthours_KeyDown(Qt::Key_Up);
}

void IntervalBoxes::hrsDown_Click()
{
    txthours_KeyDown(Qt::Key_Down);
}

void IntervalBoxes::minUp_Click()
{
    txtMinutes_KeyDown(Qt::Key_Up);
}

void IntervalBoxes::minDown_Click()
{
    txtMinutes_KeyDown(Qt::Key_Down);
}

bool IntervalBoxes::step(const IntervalEditor& editor, QLineEdit* box, int key)
{
    if (!IntervalEditor::isStepKey(key)) {
        return false;
    }
    // A value that stays leaves the box untouched, its cursor and undo history included.
    if (const auto text = editor.stepped(box->text(), key)) {
        box->setText(*text);
    }
    return true;
}

bool IntervalBoxes::eventFilter(QObject* watched, QEvent* event)
{
    // Shift and the other modifiers make no difference, as with the buttons.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == m_txthours) {
            return txthours_KeyDown(key);
        }
        if (watched == m_txtMinutes) {
            return txtMinutes_KeyDown(key);
        }
    }
    return QObject::eventFilter(watched, event);
}
