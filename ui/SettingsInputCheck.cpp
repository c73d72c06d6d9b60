#include "SettingsInputCheck.h"

#include "IntervalEditor.h"
#include "NumberText.h"

#include <QLineEdit>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Digits only, after blanks; an empty box is 0 to the reader of the settings file.
std::optional<int> wholeNumber(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty()) {
        return 0;
    }
    if (digits.size() > 9 || !std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c.isDigit(); })) {
        return std::nullopt;
    }
    return digits.toInt();
}

} // namespace

std::optional<SettingsInputCheck::Problem> SettingsInputCheck::pingTime(const QString& text, bool zeroSwitchesOff)
{
    const auto minutes = NumberText::parse(text);
    if (zeroSwitchesOff && minutes) {
        return std::nullopt;
    }
    if (IntervalEditor::leadingNumber(text) == 0.0) {
        return Problem{u"Invalid ping time\r\nPlease enter the time in minutes"_s, false};
    }
    if (!minutes || *minutes < 1.0 || *minutes > 99.0) {
        return Problem{u"Ping time is out of range\r\nPlease enter a time in minutes, between 1-99"_s, true};
    }
    return std::nullopt;
}

std::optional<SettingsInputCheck::Problem> SettingsInputCheck::interval(const QString& hours, const QString& minutes)
{
    const Problem tooShort{u"You need to select an interval of at least of 1 minute"_s, false};
    // Compared as text: "00" or an empty box passes.
    if (hours == u"0"_s && minutes == u"0"_s) {
        return tooShort;
    }
    const auto h = wholeNumber(hours);
    const auto m = wholeNumber(minutes);
    constexpr qint64 mostMinutes = 32767;
    if (!h || !m || qint64{*h} * 60 + *m > mostMinutes) {
        return tooShort;
    }
    return std::nullopt;
}

std::optional<SettingsInputCheck::Problem> SettingsInputCheck::storable(const QString& text, const QString& what)
{
    if (!text.contains(u'"')) {
        return std::nullopt;
    }
    return Problem{u"The "_s + what + u" cannot contain the double quote character (\")\r\n"_s +
                       u"Please remove it: the settings files cannot hold it"_s,
                   false};
}

bool SettingsInputCheck::refused(Desktop& desktop, const std::optional<Problem>& problem, QLineEdit* box,
                                 Desktop::Icon icon)
{
    if (!problem) {
        return false;
    }
    desktop.message(u"Error"_s, problem->message, icon, Desktop::Buttons::Ok);
    if (problem->clearBox) {
        box->clear();
    }
    box->setFocus();
    return true;
}

bool SettingsInputCheck::accountRefused(Desktop& desktop, QLineEdit* userName, QLineEdit* password)
{
    return refused(desktop, storable(userName->text(), u"username"_s), userName) ||
           refused(desktop, storable(password->text(), u"password"_s), password);
}
