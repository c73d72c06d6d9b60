#include "IntervalBox.h"

#include "support/QtPrinters.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QWidget>
#include <gtest/gtest.h>

#include <initializer_list>

using namespace Qt::StringLiterals;

namespace {

struct Editors
{
    Editors()
    {
        int top = 0;
        for (QWidget* w : std::initializer_list<QWidget*>{hours, hrsUp, hrsDown, minutes, minUp, minDown}) {
            w->move(0, top);
            top += 30;
        }
        new IntervalBox(IntervalEditor::hours(), hours, hrsUp, hrsDown);
        new IntervalBox(IntervalEditor::minutes(), minutes, minUp, minDown);
        window.show();
    }
    QWidget window;
    QLineEdit* hours = new QLineEdit(&window);
    QToolButton* hrsUp = new QToolButton(&window);
    QToolButton* hrsDown = new QToolButton(&window);
    QLineEdit* minutes = new QLineEdit(&window);
    QToolButton* minUp = new QToolButton(&window);
    QToolButton* minDown = new QToolButton(&window);
};

struct Step
{
    QString before;
    QString after;
    Qt::Key key;
    bool hoursBox;
};

constexpr bool hoursBox = true;
constexpr bool minutesBox = false;

// The stepping cases of the two boxes, each made once by its key and once by its button.
const Step steps[] = {
    {u"98"_s, u"99"_s, Qt::Key_Up, hoursBox},        {u"99"_s, u"99"_s, Qt::Key_Up, hoursBox},
    {u"0"_s, u"0"_s, Qt::Key_Down, minutesBox},      {u"1"_s, u"0"_s, Qt::Key_Down, minutesBox},
    {u"abc"_s, u"1"_s, Qt::Key_Up, minutesBox},      {u"abc"_s, u"abc"_s, Qt::Key_Down, minutesBox},
    {u"150"_s, u"151"_s, Qt::Key_Up, hoursBox},      {u"-5"_s, u"-6"_s, Qt::Key_Down, hoursBox},
    {u"0.5"_s, u"-0.5"_s, Qt::Key_Down, minutesBox}, {u"12abc"_s, u"13"_s, Qt::Key_Up, hoursBox},
    {u"59"_s, u"59"_s, Qt::Key_Up, minutesBox},      {u"58"_s, u"59"_s, Qt::Key_Up, minutesBox},
    {u"0"_s, u"0"_s, Qt::Key_Down, hoursBox},        {u"60"_s, u"61"_s, Qt::Key_Up, hoursBox},
};

} // namespace

TEST(IntervalBox, ArrowKeysStepTheBoxWithinItsBounds)
{
    Editors e;
    for (const Step& s : steps) {
        QLineEdit* box = s.hoursBox ? e.hours : e.minutes;
        box->setText(s.before);
        QTest::keyClick(box, s.key);
        EXPECT_EQ(box->text(), s.after) << s.before.toStdString() << (s.key == Qt::Key_Up ? " up" : " down");
    }
}

TEST(IntervalBox, ArrowButtonsActAsTheKeysOfTheirOwnBox)
{
    Editors e;
    for (const Step& s : steps) {
        QLineEdit* box = s.hoursBox ? e.hours : e.minutes;
        QLineEdit* other = s.hoursBox ? e.minutes : e.hours;
        QToolButton* up = s.hoursBox ? e.hrsUp : e.minUp;
        QToolButton* down = s.hoursBox ? e.hrsDown : e.minDown;
        box->setText(s.before);
        other->setText(u"7"_s);
        QTest::mouseClick(s.key == Qt::Key_Up ? up : down, Qt::LeftButton);
        EXPECT_EQ(box->text(), s.after) << s.before.toStdString() << (s.key == Qt::Key_Up ? " up" : " down");
        EXPECT_EQ(other->text(), u"7"_s);
    }
}

TEST(IntervalBox, OtherKeysReachTheBoxAndShiftMakesNoDifference)
{
    Editors e;
    e.minutes->setText(u"15"_s);
    QTest::keyClick(e.minutes, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(e.minutes->text(), u"16"_s);
    QTest::keyClick(e.minutes, Qt::Key_Home);
    QTest::keyClicks(e.minutes, u"2x"_s);
    EXPECT_EQ(e.minutes->text(), u"2x16"_s);
    // At a bound the box is left alone, its cursor included.
    e.hours->setText(u"99"_s);
    e.hours->setCursorPosition(1);
    QTest::keyClick(e.hours, Qt::Key_Up);
    EXPECT_EQ(e.hours->cursorPosition(), 1);
}
