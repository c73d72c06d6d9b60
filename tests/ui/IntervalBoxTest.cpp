#include "IntervalBox.h"

#include "support/QtPrinters.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Editors
{
    Editors()
    {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w :
             {static_cast<QWidget*>(hours), static_cast<QWidget*>(hrsUp), static_cast<QWidget*>(hrsDown),
              static_cast<QWidget*>(minutes), static_cast<QWidget*>(minUp), static_cast<QWidget*>(minDown)}) {
            layout->addWidget(w);
        }
        new IntervalBox(IntervalEditor::hours(), hours, hrsUp, hrsDown);
        new IntervalBox(IntervalEditor::minutes(), minutes, minUp, minDown);
        window.show();
    }
    QWidget window;
    QLineEdit* hours = new QLineEdit;
    QToolButton* hrsUp = new QToolButton;
    QToolButton* hrsDown = new QToolButton;
    QLineEdit* minutes = new QLineEdit;
    QToolButton* minUp = new QToolButton;
    QToolButton* minDown = new QToolButton;
};

struct Step
{
    bool hoursBox;
    QString before;
    Qt::Key key;
    QString after;
};

// The stepping cases of the two boxes, each made once by its key and once by its button.
const Step steps[] = {
    {true, u"98"_s, Qt::Key_Up, u"99"_s},       {true, u"99"_s, Qt::Key_Up, u"99"_s},
    {false, u"0"_s, Qt::Key_Down, u"0"_s},      {false, u"1"_s, Qt::Key_Down, u"0"_s},
    {false, u"abc"_s, Qt::Key_Up, u"1"_s},      {false, u"abc"_s, Qt::Key_Down, u"abc"_s},
    {true, u"150"_s, Qt::Key_Up, u"151"_s},     {true, u"-5"_s, Qt::Key_Down, u"-6"_s},
    {false, u"0.5"_s, Qt::Key_Down, u"-0.5"_s}, {true, u"12abc"_s, Qt::Key_Up, u"13"_s},
    {false, u"59"_s, Qt::Key_Up, u"59"_s},      {false, u"58"_s, Qt::Key_Up, u"59"_s},
    {true, u"0"_s, Qt::Key_Down, u"0"_s},       {true, u"60"_s, Qt::Key_Up, u"61"_s},
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
