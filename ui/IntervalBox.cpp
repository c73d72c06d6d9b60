#include "IntervalBox.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>

IntervalBox::IntervalBox(IntervalEditor editor, QLineEdit* box, QAbstractButton* up, QAbstractButton* down)
    : QObject(box), m_editor(editor), m_box(box)
{
    m_box->installEventFilter(this);
    if (up != nullptr) {
        connect(up, &QAbstractButton::clicked, this, [this] { keyDown(Qt::Key_Up); });
    }
    if (down != nullptr) {
        connect(down, &QAbstractButton::clicked, this, [this] { keyDown(Qt::Key_Down); });
    }
}

bool IntervalBox::keyDown(int key)
{
    if (!IntervalEditor::isStepKey(key)) {
        return false;
    }
    // A value that stays leaves the box untouched, its cursor and undo history included.
    if (const auto text = m_editor.stepped(m_box->text(), key)) {
        m_box->setText(*text);
    }
    return true;
}

bool IntervalBox::eventFilter(QObject* watched, QEvent* event)
{
    // Shift and the other modifiers make no difference, as with the buttons.
    if (watched == m_box && event->type() == QEvent::KeyPress) {
        return keyDown(static_cast<QKeyEvent*>(event)->key());
    }
    return QObject::eventFilter(watched, event);
}
