#include "AddressText.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(AddressText, TakesTheFirstDottedQuadAsItStands)
{
    EXPECT_EQ(AddressText::ExtractIP(u"Your IP is 203.0.113.7"_s), u"203.0.113.7"_s);
    EXPECT_EQ(AddressText::ExtractIP(u"Current IP Address: 10.1.2.3"_s), u"10.1.2.3"_s);
    EXPECT_EQ(AddressText::ExtractIP(u"1.1.1.1 then 2.2.2.2"_s), u"1.1.1.1"_s);
    EXPECT_EQ(AddressText::ExtractIP(u"1.2.3.4.5"_s), u"1.2.3.4"_s);
    EXPECT_EQ(AddressText::ExtractIP(u"300.300.300.300"_s), u"300.300.300.300"_s);
    EXPECT_EQ(AddressText::ExtractIP(u"ip=1234.5.6.7;"_s), u"1234.5.6.7"_s);
    EXPECT_EQ(AddressText::ExtractIP(u"v1.2.3 or 1..2.3.4 then 5.6.7.8"_s), u"5.6.7.8"_s);
}

TEST(AddressText, NothingWithoutFourGroups)
{
    EXPECT_EQ(AddressText::ExtractIP(u"1.2.3"_s), QString());
    EXPECT_EQ(AddressText::ExtractIP(u"Checking ..."_s), QString());
    EXPECT_EQ(AddressText::ExtractIP(QString()), QString());
    EXPECT_EQ(AddressText::ExtractIP(u"\u0661.\u0662.\u0663.\u0664"_s), QString()); // Arabic-Indic digits
}
