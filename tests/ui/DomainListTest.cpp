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
    QStringList hosts;
    for (int i = 1; i <= 12; ++i) {
        hosts.append(u"h%1"_s.arg(i));
        list.AddHost(hosts.last());
    }
    QStringList shown;
    for (const QCheckBox* box : list.findChildren<QCheckBox*>()) {
        if (box->isVisible()) {
            shown.append(box->text());
        }
    }
    EXPECT_EQ(shown, hosts);

    auto* second = list.findChild<QCheckBox*>(u"chkHost(2)"_s);
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(6, second->height() / 2));
    list.Selected(u"h1"_s, true); // not h10 to h12
    EXPECT_TRUE(list.findChild<QCheckBox*>(u"chkHost(1)"_s)->isChecked());
    EXPECT_TRUE(list.IsSelected(2));
    EXPECT_EQ(list.SelCount(), 2);

    list.Clear();
    EXPECT_EQ(list.findChildren<QCheckBox*>().size(), 1) << "only the hidden template is left";
}
