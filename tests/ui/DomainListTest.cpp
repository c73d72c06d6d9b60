#include "DomainList.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Shown
{
    Shown()
    {
        list.setObjectName(u"domainList1"_s);
        list.show();
        list.activateWindow();
        ok = QTest::qWaitForWindowActive(&list);
    }
    template <typename T>
    T* child(const QString& name)
    {
        return list.findChild<T*>(name);
    }
    DomainList list;
    bool ok = false;
};

QRect pixels(const DomainListLayout::Row& row)
{
    return {DomainList::toPixels(row.left), DomainList::toPixels(row.top), DomainList::toPixels(row.width),
            DomainList::toPixels(row.height)};
}

QRect barPart(QScrollBar* bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

} // namespace

TEST(DomainList, RowsArePlacedFromTheLayoutAtFifteenTwipsPerPixel)
{
    Shown s;
    s.list.AddDomain(u"a.com"_s);
    s.list.AddHost(u"www"_s);
    s.list.AddHost(u"r&d"_s);
    s.list.AddDomain(u"b.org"_s);
    s.list.AddHost(u"ftp"_s);

    const QList<int> pixelTops{8, 25, 42, 67, 84};
    const QList<DomainListLayout::Row> rows = s.list.layoutModel().rows();
    ASSERT_EQ(rows.size(), pixelTops.size());
    for (int i = 0; i < rows.size(); ++i) {
        const bool heading = rows[i].kind == DomainListLayout::RowKind::Heading;
        QWidget* widget = heading ? static_cast<QWidget*>(s.child<QLabel>(u"lblDomain(%1)"_s.arg(rows[i].index)))
                                  : s.child<QCheckBox>(u"chkHost(%1)"_s.arg(rows[i].index));
        ASSERT_NE(widget, nullptr) << i;
        EXPECT_EQ(widget->geometry(), pixels(rows[i])) << i;
        EXPECT_EQ(widget->y(), pixelTops[i]) << i;
        EXPECT_TRUE(widget->isVisible()) << i;
    }
    auto* heading = s.child<QLabel>(u"lblDomain(2)"_s);
    EXPECT_EQ(heading->text(), u"b.org"_s);
    EXPECT_TRUE(heading->font().underline());
    EXPECT_DOUBLE_EQ(heading->font().pointSizeF(), 8.25);
    EXPECT_EQ(s.child<QCheckBox>(u"chkHost(2)"_s)->text(), u"r&&d"_s) << "shown as typed, not as a shortcut";
    EXPECT_FALSE(s.child<QCheckBox>(u"chkHost(0)"_s)->isVisible());
    EXPECT_FALSE(s.child<QLabel>(u"lblDomain(0)"_s)->isVisible());
    EXPECT_EQ(s.child<QWidget>(u"ScrollFrame"_s)->height(), DomainList::toPixels(1648));
    EXPECT_FALSE(s.child<QScrollBar>(u"scrollbar"_s)->isVisible());
}

TEST(DomainList, ClicksAndSelectedMeetInTheLayout)
{
    Shown s;
    s.list.AddDomain(u"a.com"_s);
    s.list.AddHost(u"www"_s);
    s.list.AddHost(u"mail"_s);
    auto* mail = s.child<QCheckBox>(u"chkHost(2)"_s);
    QTest::mouseClick(mail, Qt::LeftButton, {}, QPoint(6, mail->height() / 2));
    EXPECT_TRUE(s.list.IsSelected(2));
    EXPECT_EQ(s.list.SelCount(), 1);

    s.list.Selected(u"www"_s, true);
    s.list.Selected(u"mail"_s, false);
    EXPECT_TRUE(s.child<QCheckBox>(u"chkHost(1)"_s)->isChecked());
    EXPECT_FALSE(mail->isChecked());
    EXPECT_FALSE(s.list.IsSelected(2));
}

TEST(DomainList, CommittedScrollingMovesThePanelAndSendsTheFocusAway)
{
    Shown s;
    ASSERT_TRUE(s.ok);
    s.list.AddDomain(u"a.com"_s);
    for (int i = 0; i < 12; ++i) {
        s.list.AddHost(u"h%1"_s.arg(i));
    }
    auto* bar = s.child<QScrollBar>(u"scrollbar"_s);
    auto* frame = s.child<QWidget>(u"ScrollFrame"_s);
    auto* focus = s.child<QLineEdit>(u"focus"_s);
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 3561 - 2700);
    EXPECT_EQ(bar->singleStep(), 430);

    QTest::mouseClick(bar, Qt::LeftButton, {}, barPart(bar, QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(s.list.layoutModel().scrollPosition(), 430);
    EXPECT_EQ(frame->y(), -DomainList::toPixels(430));
    EXPECT_TRUE(focus->hasFocus());

    const QPoint thumb = barPart(bar, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(bar, thumb + QPoint(0, 40));
    EXPECT_EQ(frame->y(), -DomainList::toPixels(430)) << "the panel waits for the end of the drag";
    QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb + QPoint(0, 40));
    EXPECT_GT(bar->value(), 430);
    EXPECT_EQ(frame->y(), -DomainList::toPixels(bar->value()));

    bar->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(focus->hasFocus());
    EXPECT_FALSE(bar->hasFocus());
}

TEST(DomainList, ClearRemovesTheRowsAndResizeMovesTheBar)
{
    Shown s;
    s.list.AddDomain(u"a.com"_s);
    s.list.AddHost(u"www"_s);
    s.list.Clear();
    EXPECT_EQ(s.list.findChildren<QCheckBox*>().size(), 1);
    EXPECT_EQ(s.list.findChildren<QLabel*>().size(), 1);
    EXPECT_EQ(s.list.ListCount(), 1);
    EXPECT_EQ(s.child<QWidget>(u"ScrollFrame"_s)->height(), 0);

    s.list.resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(s.list.layoutModel().containerHeight(), 4500);
    auto* bar = s.child<QScrollBar>(u"scrollbar"_s);
    EXPECT_EQ(bar->x(), DomainList::toPixels(6000 - 315));
    EXPECT_EQ(bar->height(), DomainList::toPixels(4500 - 60));
    EXPECT_EQ(s.child<QWidget>(u"container"_s)->size(), QSize(400, 300));
}
