#pragma once

#include "IntervalEditor.h"

#include <QObject>

class QAbstractButton;
class QLineEdit;

// The hours and minutes boxes with their arrow buttons, as the Settings tab and the wizard's step 3
// have them: Up and Down pressed in a box step it and go no further, every other key reaches the
// box as usual, and each arrow button acts as its key on its box. Owned by the hours box.
class IntervalBoxes : public QObject
{
    Q_OBJECT

public:
    // The buttons may be null where a box has none.
    IntervalBoxes(QLineEdit* txthours, QAbstractButton* hrsUp, QAbstractButton* hrsDown, QLineEdit* txtMinutes,
                  QAbstractButton* minUp, QAbstractButton* minDown);

    // The boxes' key-down handlers: true when the key was a step key (whether or not the value
    // moved), so the key goes no further.
    bool txthours_KeyDown(int key);
    bool txtMinutes_KeyDown(int key);
    void hrsUp_Click();
    void hrsDown_Click();
    void minUp_Click();
    void minDown_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool step(const IntervalEditor& editor, QLineEdit* box, int key);

    QLineEdit* m_txthours;
    QLineEdit* m_txtMinutes;
};
