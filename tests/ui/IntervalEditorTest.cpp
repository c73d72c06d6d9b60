#include "IntervalEditor.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(IntervalEditor, UpAndDownStepTheLeadingNumberButNeverOntoABound)
{
    constexpr Qt::Key up = Qt::Key_Up, down = Qt::Key_Down;
    constexpr bool hrs = true, min = false;
    struct Case
    {
        bool hours;
        const char16_t* before;
        Qt::Key key;
        const char16_t* after;
    };
    const Case cases[] = {
        {hrs, u"98", up, u"99"},       {hrs, u"99", up, u"99"},           {hrs, u"0", down, u"0"},
        {min, u"58", up, u"59"},       {min, u"59", up, u"59"},           {min, u"1", down, u"0"},
        {min, u"-0", down, u"-0"},     {hrs, u"59", up, u"60"},           {hrs, u"100", down, u"99"},
        {hrs, u"150", up, u"151"},     {hrs, u"-5", down, u"-6"},         {min, u"0.5", down, u"-0.5"},
        {hrs, u"12abc", up, u"13"},    {min, u"abc", up, u"1"},           {min, u"abc", down, u"abc"},
        {hrs, u"\t 7", up, u"8"},      {hrs, u"1E+2z", up, u"101"},       {hrs, u"2e+", up, u"3"},
        {min, u"1,5", up, u"2"},       {hrs, u"0x10", up, u"1"},          {hrs, u"-.5", up, u"0.5"},
        {hrs, u"1e-400", up, u"1"},    {hrs, u"32767", up, u"32768"},     {hrs, u"-32768", down, u"-32769"},
        {hrs, u"1e400", up, u"1e400"}, {hrs, u"5", Qt::Key_PageUp, u"5"}, {hrs, u"1e9", down, u"999999999"},
    };
    for (const Case& c : cases) {
        const QString before = QString::fromUtf16(c.before);
        SCOPED_TRACE(testing::Message() << (c.hours ? "hours " : "minutes ") << before.toStdString() << ' ' << c.key);
        const auto stepped = (c.hours ? IntervalEditor::hours() : IntervalEditor::minutes()).stepped(before, c.key);
        EXPECT_EQ(stepped.value_or(before), QString::fromUtf16(c.after));
    }
}
