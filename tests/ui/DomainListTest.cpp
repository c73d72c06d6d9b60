#include "DomainList.h"

#include "support/QtPrinters.h"

#include <QCheckBox>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(DomainList, ShowsEveryHostButTheTemplateAndTicksWhereTheUserClicksOrTheNameSays)
{
    DomainList list;
    list.show();
    list.AddDomain(u"example.com"_s);
    const QStringList hosts{u"h1"_s, u"h10"_s, u"h2"_s};
    for (const QString& host : hosts) {
        list.AddHost(host);
    }
    QStringList shown;
    for (const QCheckBox* box : list.findChildren<QCheckBox*>()) {
        if (box->isVisible()) {
            shown.append(box->text());
        }
    }
    EXPECT_EQ(shown, hosts);

    QTest::mouseClick(list.findChild<QCheckBox*>(u"chkHost(3)"_s), Qt::LeftButton, {}, QPoint(6, 8));
    list.Selected(u"h1"_s, true); // not h10
    EXPECT_TRUE(list.findChild<QCheckBox*>(u"chkHost(1)"_s)->isChecked());
    EXPECT_TRUE(list.IsSelected(3));
    EXPECT_EQ(list.SelCount(), 2);

    // The hidden template is never ticked, whatever the hosts are called.
    list.AddHost(u"host"_s);
    list.Selected(u"host"_s, true);
    list.Selected(u"host"_s, false);
    EXPECT_EQ(list.SelCount(), 2);
    list.Clear();
    EXPECT_EQ(list.findChildren<QCheckBox*>().size(), 1) << "only the hidden template is left";
    list.Selected(u"host"_s, true);
    EXPECT_EQ(list.SelCount(), 0);
}
