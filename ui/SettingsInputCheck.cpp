#include "SettingsInputCheck.h"

#include "IntervalEditor.h"
#include "NumberText.h"
#include "SettingsModel.h"

#include <QLineEdit>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// ASCII digits only, after blanks, as the settings file's reader takes them (a full-width "５" is
// no number there); an empty box is 0 to it.
std::optional<int> wholeNumber(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty()) {
        return 0;
    }
    if (digits.size() > 9 ||
        !std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        return std::nullopt;
    }
    return digits.toInt();
}

} // namespace

std::optional<SettingsInputCheck::Problem> SettingsInputCheck::pingTime(const QString& text, bool zeroSwitchesOff)
{
    const auto minutes = NumberText::parse(text);
    // Any number the settings file can give back, as a 16-bit count of minutes.
    if (zeroSwitchesOff && minutes && NumberText::toInt16(*minutes)) {
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
    // The reader's own rule for the total, so that whatever passes here loads back.
    if (!h || !m || !SettingsModel::intervalMinutes(*h, *m)) {
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
