#include "DomainListLayout.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Layout = DomainListLayout;

TEST(DomainListLayout, TheScrollRangeAndPositionFollowHowMuchOfThePanelIsHidden)
{
    struct Case
    {
        int hosts, barHeight, maximum, large, small; // maximum 0: no bar
    };
    // Steps are 2/5 and 1/2 of the range, halves to even, never 0; the last row lies past 16 bits.
    const Case cases[] = {
        {4, 1521, 0, 1, 1}, {4, 1520, 1, 1, 1},  {4, 1518, 3, 1, 2}, {4, 1514, 7, 3, 4},
        {4, 1512, 9, 4, 4}, {4, 1506, 15, 6, 8}, {8, 2700, 0, 1, 1}, {140, 2700, 33501, 13400, 16750}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.hosts << " hosts, bar " << c.barHeight);
        Layout layout;
        layout.Resize(Layout::DesignWidth, c.barHeight + Layout::ScrollBarMargin);
        layout.AddDomain(u"example.com"_s); // and the hosts below it: a panel of 501 + 255 * hosts twips
        for (int i = 0; i < c.hosts; ++i) {
            layout.AddHost(u"h%1"_s.arg(i));
        }
        EXPECT_EQ(layout.scrollBarVisible(), c.maximum > 0);
        EXPECT_EQ(layout.scrollBarMaximum(), c.maximum);
        EXPECT_EQ(layout.scrollBarLargeStep(), c.large);
        EXPECT_EQ(layout.scrollBarSmallStep(), c.small);
        EXPECT_EQ(layout.rows().last().top, 119 + 255 * c.hosts);
        EXPECT_EQ(layout.scrollTo(1 << 20), c.maximum > 0);
        EXPECT_EQ(layout.scrollFrameTop(), -c.maximum) << "the end of the list, and no further";
        layout.Clear();
        layout.AddDomain(u"example.net"_s);
        EXPECT_EQ(layout.scrollFrameTop(), 0) << "a refilled list that fits shows from its top";
    }
}
