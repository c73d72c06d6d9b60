#pragma once

#include "IntervalEditor.h"

#include <QObject>

class QAbstractButton;
class QLineEdit;

// An interval text box with its two arrow buttons: Up and Down pressed in the box step it and go
// no further, every other key reaches the box as usual, and each button acts as its key on the
// box. Owned by the box. For the hours and minutes boxes of the wizard and the main window:
//     new IntervalBox(IntervalEditor::hours(), txthours, hrsUp, hrsDown);
class IntervalBox : public QObject
{
    Q_OBJECT

public:
    // up and down may be null where a box has no buttons.
    IntervalBox(IntervalEditor editor, QLineEdit* box, QAbstractButton* up, QAbstractButton* down);

    // The box's key-down handler: steps on Up and Down, ignores any other key. True when the key
    // was a step key (whether or not the value moved), so the key goes no further.
    bool keyDown(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IntervalEditor m_editor;
    QLineEdit* m_box;
};
