#include "DomainListLayout.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using Layout = DomainListLayout;
using Kind = DomainListLayout::RowKind;

namespace {

// One domain with `hosts` hosts; returns the panel height.
int fill(Layout& layout, int hosts)
{
    layout.AddDomain(u"example.com"_s);
    for (int i = 0; i < hosts; ++i) {
        layout.AddHost(u"h%1"_s.arg(i));
    }
    return layout.scrollFrameHeight();
}

// A layout whose bar is sized so that one domain with four hosts (a panel of 1521) is `maximum`
// twips taller than the bar.
Layout withMaximum(int maximum)
{
    Layout sized;
    const int panel = fill(sized, 4);
    Layout layout;
    layout.Resize(Layout::DesignWidth, panel - maximum + Layout::ScrollBarMargin);
    fill(layout, 4);
    return layout;
}

} // namespace

TEST(DomainListLayout, EmptyControlHoldsOnlyTheTemplates)
{
    Layout layout;
    EXPECT_EQ(layout.PlaceGap(), 255);
    EXPECT_EQ(layout.PlaceTop(), -263);
    EXPECT_EQ(layout.ListCount(), 1);
    EXPECT_EQ(layout.SelCount(), 0);
    EXPECT_EQ(layout.List(0), u"host"_s);
    EXPECT_FALSE(layout.IsSelected(0));
    ASSERT_EQ(layout.headings().size(), 1);
    EXPECT_EQ(layout.headings().first().text, u"domain"_s);
    EXPECT_TRUE(layout.rows().isEmpty());
    EXPECT_FALSE(layout.scrollBarVisible());
    EXPECT_EQ(layout.scrollBarHeight(), 2700);
    EXPECT_EQ(layout.scrollBarLeft(), 4620);
}

TEST(DomainListLayout, TwoDomainsPlaceHeadingsAndIndentedHosts)
{
    Layout layout;
    EXPECT_EQ(layout.AddDomain(u"a.com"_s), 1);
    EXPECT_EQ(layout.scrollFrameHeight(), layout.PlaceTop() + layout.PlaceGap() + 127);
    EXPECT_EQ(layout.AddHost(u"www"_s), 1);
    EXPECT_EQ(layout.AddHost(u"mail"_s), 2);
    EXPECT_EQ(layout.AddDomain(u"b.org"_s), 2);
    EXPECT_EQ(layout.AddHost(u"ftp"_s), 3);

    const QList<Layout::Row> rows = layout.rows();
    ASSERT_EQ(rows.size(), 5);
    const QList<int> tops{119, 374, 629, 1011, 1266};
    const QList<Kind> kinds{Kind::Heading, Kind::Host, Kind::Host, Kind::Heading, Kind::Host};
    const QList<int> indices{1, 1, 2, 2, 3};
    for (int i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].top, tops[i]) << i;
        EXPECT_EQ(rows[i].kind, kinds[i]) << i;
        EXPECT_EQ(rows[i].index, indices[i]) << i;
        EXPECT_EQ(rows[i].left, kinds[i] == Kind::Heading ? 120 : 360) << i;
        EXPECT_EQ(rows[i].width, kinds[i] == Kind::Heading ? 4335 : 4215) << i;
        EXPECT_FALSE(rows[i].checked);
    }
    EXPECT_EQ(rows[3].text, u"b.org"_s);
    EXPECT_EQ(layout.PlaceTop(), 1266);
    EXPECT_EQ(layout.scrollFrameHeight(), 1648);
    EXPECT_FALSE(layout.scrollBarVisible());
}

TEST(DomainListLayout, ScrollBarShowsOnlyWhenThePanelIsTaller)
{
    Layout equal = withMaximum(0);
    EXPECT_FALSE(equal.scrollBarVisible());

    Layout design;
    EXPECT_EQ(fill(design, 8), 2541);
    EXPECT_FALSE(design.scrollBarVisible());
    design.AddDomain(u"b.org"_s);
    EXPECT_TRUE(design.scrollBarVisible());
    EXPECT_EQ(design.scrollBarMaximum(), 2923 - 2700);
}

TEST(DomainListLayout, StepsAreRoundedHalfToEvenAndNeverZero)
{
    struct Case
    {
        int maximum, large, small;
    };
    for (const Case c : {Case{1, 1, 1}, Case{2, 1, 1}, Case{3, 1, 2}, Case{5, 2, 2}, Case{7, 3, 4}, Case{9, 4, 4},
                         Case{15, 6, 8}, Case{223, 89, 112}}) {
        const Layout layout = withMaximum(c.maximum);
        EXPECT_TRUE(layout.scrollBarVisible()) << c.maximum;
        EXPECT_EQ(layout.scrollBarMaximum(), c.maximum);
        EXPECT_EQ(layout.scrollBarLargeStep(), c.large) << c.maximum;
        EXPECT_EQ(layout.scrollBarSmallStep(), c.small) << c.maximum;
    }
}

TEST(DomainListLayout, ClearStartsOverAndKeepsTheTemplatesAndTheScrollPosition)
{
    Layout layout = withMaximum(15);
    layout.Selected(u"host"_s, true);
    ASSERT_TRUE(layout.scrollTo(9));
    layout.Clear();
    EXPECT_EQ(layout.PlaceTop(), -263);
    EXPECT_EQ(layout.scrollFrameHeight(), 0);
    EXPECT_EQ(layout.ListCount(), 1);
    EXPECT_EQ(layout.headings().size(), 1);
    EXPECT_TRUE(layout.IsSelected(0)) << "the template is never removed, ticks included";
    EXPECT_FALSE(layout.scrollBarVisible());
    EXPECT_EQ(layout.scrollBarMaximum(), 15) << "a hidden bar keeps its range";
    EXPECT_EQ(layout.scrollBarSmallStep(), 8);
    EXPECT_EQ(layout.scrollPosition(), 9);
    EXPECT_EQ(layout.scrollFrameTop(), -9);

    layout.AddDomain(u"again.net"_s);
    EXPECT_EQ(layout.rows().first().top, 119);
    EXPECT_FALSE(layout.scrollBarVisible());
    // A refilled list that fits is shown from its top, not left pushed up out of sight.
    EXPECT_EQ(layout.scrollPosition(), 0);
    EXPECT_EQ(layout.scrollFrameTop(), 0);
}

TEST(DomainListLayout, LoweringTheMaximumBelowThePositionMovesThePanel)
{
    Layout layout;
    fill(layout, 20);
    ASSERT_TRUE(layout.scrollTo(100000));
    EXPECT_EQ(layout.scrollPosition(), layout.scrollBarMaximum());
    EXPECT_EQ(layout.scrollFrameTop(), -layout.scrollBarMaximum());
    EXPECT_FALSE(layout.scrollTo(100000));
    EXPECT_FALSE(layout.scrollTo(layout.scrollBarMaximum()));

    // A taller control makes the next add lower the maximum below the position.
    const int panel = layout.scrollFrameHeight();
    layout.Resize(Layout::DesignWidth, panel + 255 - 3 + Layout::ScrollBarMargin);
    layout.AddHost(u"one.more"_s);
    EXPECT_EQ(layout.scrollBarMaximum(), 3);
    EXPECT_EQ(layout.scrollPosition(), 3);
    EXPECT_EQ(layout.scrollFrameTop(), -3);
    EXPECT_TRUE(layout.scrollTo(-4));
    EXPECT_EQ(layout.scrollFrameTop(), 0);
}

TEST(DomainListLayout, ResizeMovesTheBarButLeavesTheRangeForTheNextAdd)
{
    Layout layout;
    fill(layout, 12);
    const int maximum = layout.scrollBarMaximum();
    layout.Resize(6000, 4000);
    EXPECT_EQ(layout.containerWidth(), 6000);
    EXPECT_EQ(layout.containerHeight(), 4000);
    EXPECT_EQ(layout.scrollBarHeight(), 3940);
    EXPECT_EQ(layout.scrollBarLeft(), 5685);
    EXPECT_EQ(layout.scrollBarMaximum(), maximum);
    EXPECT_TRUE(layout.scrollBarVisible());
    layout.AddHost(u"next"_s);
    EXPECT_FALSE(layout.scrollBarVisible());

    layout.Resize(300, 20);
    EXPECT_EQ(layout.scrollBarHeight(), 0);
}

TEST(DomainListLayout, LongListsKeepGrowingPastTheSixteenBitRange)
{
    Layout layout;
    fill(layout, 140);
    const QList<Layout::Row> rows = layout.rows();
    for (int i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].top, rows[i - 1].top + 255) << i;
    }
    EXPECT_EQ(rows.last().top, 119 + 140 * 255);
    EXPECT_GT(rows.last().top, 32385);
    EXPECT_EQ(layout.scrollFrameHeight(), 119 + 140 * 255 + 382);
    EXPECT_EQ(layout.scrollBarMaximum(), 36201 - 2700);
    EXPECT_EQ(layout.scrollBarLargeStep(), 13400);
    EXPECT_EQ(layout.scrollBarSmallStep(), 16750);
    EXPECT_EQ(layout.List(140), u"h139"_s);
}

TEST(DomainListLayout, ListAndSelectionReadEntriesByIndex)
{
    Layout layout;
    layout.AddDomain(u"a.com"_s);
    layout.AddHost(u"www"_s);
    layout.AddHost(u"mail"_s);
    layout.AddDomain(u"b.org"_s);
    layout.AddHost(u"www"_s);
    EXPECT_EQ(layout.ListCount(), 4);
    EXPECT_EQ(layout.List(1), u"www"_s);
    EXPECT_EQ(layout.List(2), u"mail"_s);
    EXPECT_EQ(layout.List(3), u"www"_s);
    EXPECT_EQ(layout.List(4), QString());
    EXPECT_EQ(layout.List(-1), QString());
    EXPECT_FALSE(layout.IsSelected(4));
    EXPECT_FALSE(layout.IsSelected(-1));

    layout.Selected(u"WWW"_s, true);
    layout.Selected(u"b.org"_s, true);
    EXPECT_EQ(layout.SelCount(), 0) << "case-sensitive, hosts only";
    layout.Selected(u"www"_s, true);
    EXPECT_TRUE(layout.IsSelected(1));
    EXPECT_FALSE(layout.IsSelected(2));
    EXPECT_TRUE(layout.IsSelected(3));
    layout.Selected(u"host"_s, true);
    EXPECT_TRUE(layout.IsSelected(0));
    EXPECT_EQ(layout.SelCount(), 3);
    layout.Selected(u"www"_s, false);
    layout.setChecked(2, true);
    layout.setChecked(9, true);
    EXPECT_EQ(layout.SelCount(), 2);
    EXPECT_TRUE(layout.IsSelected(2));
}
