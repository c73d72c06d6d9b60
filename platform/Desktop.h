#pragma once

#include "ModalGate.h"

#include <QString>

// Everything the program asks of the desktop: modal message boxes, opening a page in the user's
// browser, and ending the program. Passed in wherever it is needed, so tests answer the boxes.
class Desktop
{
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };
    // Exit is the user's own choice (status 0); Failure follows a box that the program cannot go
    // on from (status 1), so a script or a service manager can tell the two apart.
    enum class Ending { Exit, Failure };

    Desktop();
    virtual ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // Shows a modal box and returns the button the user pressed. While it is open, the ticks and
    // completions that pass through gate() wait for it.
    Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons);
    virtual void openUrl(const QString& url) = 0;
    // Asks the program to end. It does not return into the caller's world later: callers return at once.
    virtual void endProgram(Ending ending) = 0;
    // True once endProgram() has been called, so a caller deep in a chain can stop early.
    virtual bool hasEnded() const = 0;

    ModalGate& gate() { return m_gate; }

protected:
    virtual Answer showMessage(const QString& title, const QString& text, Icon icon, Buttons buttons) = 0;

private:
    ModalGate m_gate;
};
