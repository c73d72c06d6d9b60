#pragma once

#include "Desktop.h"

#include <QString>

#include <optional>

class QLineEdit;

// What a user types into the settings boxes, checked before anything is written, so a slip is a
// message and a box to correct, never a file the next start cannot read. The wizard and the main
// window's tabs ask the same questions of the same boxes.
class SettingsInputCheck
{
public:
    struct Problem
    {
        QString message;
        // The box is emptied (a ping time out of range), as well as focused.
        bool clearBox = false;
    };

    // The ping minutes: from the wizard 1 to 99; on the Settings tab any number the settings file
    // can load back (a 16-bit count), 0 switching the ping off. A text without a leading number is invalid; one that is
    // no number as a whole, or out of range, is out of range.
    static std::optional<Problem> pingTime(const QString& text, bool zeroSwitchesOff);
    // The interval boxes: whole numbers of ASCII digits (an empty box counts as 0) that the
    // settings can load back (at most 32767 minutes in all), not both "0" as typed ("00" and "0"
    // pass, as ever). The wizard's step 3 and the Settings tab's Apply alike.
    static std::optional<Problem> interval(const QString& hours, const QString& minutes);
    // A name or password: no settings field can hold a double quote.
    static std::optional<Problem> storable(const QString& text, const QString& what);

    // A problem found is shown in a box titled "Error" with the given icon, the box it was found
    // in emptied when it asks for that, and focused; true when there was one.
    static bool refused(Desktop& desktop, const std::optional<Problem>& problem, QLineEdit* box,
                        Desktop::Icon icon = Desktop::Icon::Exclamation);
    // The name and the password boxes through storable(), the name first.
    static bool accountRefused(Desktop& desktop, QLineEdit* userName, QLineEdit* password);
};
