#pragma once

#include <QString>

// Everything the program asks of the desktop: modal message boxes, opening a page in the user's
// browser, and ending the program. Passed in wherever it is needed, so tests answer the boxes.
class Desktop
{
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Desktop();

    // Shows a modal box and returns the button the user pressed.
    virtual Answer message(const QString& title, const QString& text, Icon icon, Buttons buttons) = 0;
    virtual void openUrl(const QString& url) = 0;
    // Asks the program to end. It does not return into the caller's world later: callers return at once.
    virtual void endProgram() = 0;
    // True once endProgram() has been called, so a caller deep in a chain can stop early.
    virtual bool hasEnded() const = 0;
};
