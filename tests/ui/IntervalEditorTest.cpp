#include "IntervalEditor.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct Leading
{
    QString text;
    double value;
};

} // namespace

TEST(IntervalEditor, ReadsTheLeadingNumberUpToTheFirstCharacterThatCannotContinueIt)
{
    const Leading cases[] = {
        {u"12abc"_s, 12}, {u"abc"_s, 0},    {u""_s, 0},           {u"  7"_s, 7}, {u"\t-3x"_s, -3},  {u"+4"_s, 4},
        {u"-"_s, 0},      {u"."_s, 0},      {u"-.5"_s, -0.5},     {u"5."_s, 5},  {u"1e2"_s, 100},   {u"1E+2z"_s, 100},
        {u"2e"_s, 2},     {u"2e+"_s, 2},    {u"1.5e-1x"_s, 0.15}, {u"1,5"_s, 1}, {u"0x10"_s, 0},    {u"1 2"_s, 1},
        {u"1e-400"_s, 0}, {u"00012"_s, 12}, {u"x12"_s, 0},        {u"--1"_s, 0}, {u"3.2.1"_s, 3.2},
    };
    for (const Leading& c : cases) {
        EXPECT_DOUBLE_EQ(IntervalEditor::leadingNumber(c.text), c.value) << c.text.toStdString();
    }
    EXPECT_EQ(IntervalEditor::leadingNumber(u"1e400"_s), INFINITY);
    EXPECT_EQ(IntervalEditor::leadingNumber(u"-1e400"_s), -INFINITY);
}

TEST(IntervalEditor, BoundsAreOneExactValueEachWay)
{
    const IntervalEditor hours = IntervalEditor::hours();
    const IntervalEditor minutes = IntervalEditor::minutes();
    EXPECT_EQ(hours.stepped(u"99"_s, Qt::Key_Up), std::nullopt);
    EXPECT_EQ(hours.stepped(u"59"_s, Qt::Key_Up), u"60"_s);
    EXPECT_EQ(minutes.stepped(u"59"_s, Qt::Key_Up), std::nullopt);
    EXPECT_EQ(minutes.stepped(u"0"_s, Qt::Key_Down), std::nullopt);
    EXPECT_EQ(minutes.stepped(u"-0"_s, Qt::Key_Down), std::nullopt);
    // Beyond a bound the value moves on, either way.
    EXPECT_EQ(hours.stepped(u"100"_s, Qt::Key_Up), u"101"_s);
    EXPECT_EQ(hours.stepped(u"100"_s, Qt::Key_Down), u"99"_s);
    EXPECT_EQ(minutes.stepped(u"60"_s, Qt::Key_Down), u"59"_s);
    EXPECT_EQ(hours.stepped(u"99.5"_s, Qt::Key_Up), u"100.5"_s);
    EXPECT_EQ(hours.stepped(u"-1"_s, Qt::Key_Up), u"0"_s);
    EXPECT_EQ(hours.stepped(u"1e20"_s, Qt::Key_Down), u"100000000000000000000"_s);
    EXPECT_EQ(hours.stepped(u"1e400"_s, Qt::Key_Up), std::nullopt);
    EXPECT_EQ(hours.stepped(u"5"_s, Qt::Key_PageUp), std::nullopt);
}
