#include "ValidationAnswer.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Verdict = ValidationAnswer::Verdict;

const QString validationUrl = u"http://127.0.0.1:8780/ipupdate/account_validate.jsp?login=a&password=b"_s;
const QString otherUrl = u"http://127.0.0.1:8780/portal/login"_s;

TEST(ValidationAnswerTest, FirstCodeOnTheValidationPage)
{
    EXPECT_EQ(ValidationAnswer::classify(validationUrl, u"0=OK"_s), Verdict::Valid);
    EXPECT_EQ(ValidationAnswer::classify(validationUrl, u"status: 0=ok"_s), Verdict::Valid);
    EXPECT_EQ(ValidationAnswer::classify(validationUrl, u"1=Invalid"_s), Verdict::Invalid);
    // Only the first code counts, and "10=" is not "0=".
    EXPECT_EQ(ValidationAnswer::classify(validationUrl, u"10=Hostname 0="_s), Verdict::Invalid);
    EXPECT_EQ(ValidationAnswer::classify(validationUrl, u"00=OK"_s), Verdict::Invalid);
    EXPECT_EQ(ValidationAnswer::classify(validationUrl, u"Service unavailable = try later"_s), Verdict::Invalid);
    // A digit of another script is no code, so the ASCII "0=" after it is the first.
    EXPECT_EQ(ValidationAnswer::classify(validationUrl, u"\u0661= 0=OK"_s), Verdict::Valid);
    EXPECT_TRUE(ValidationAnswer::isValid(validationUrl, u"0=OK"_s));
    EXPECT_FALSE(ValidationAnswer::isValid(validationUrl, u"1=Invalid"_s));

    EXPECT_EQ(ValidationAnswer::statusCode(u"x 12a34=5=y"_s), u"34="_s);
    EXPECT_EQ(ValidationAnswer::statusCode(u"no code"_s), QString());
}

TEST(ValidationAnswerTest, OtherPagesNeedTheHostnameMark)
{
    EXPECT_EQ(ValidationAnswer::classify(otherUrl, u"10=Hostname 0="_s), Verdict::Valid);
    EXPECT_EQ(ValidationAnswer::classify(otherUrl, u"error: 10=Hostname"_s), Verdict::Valid);
    EXPECT_EQ(ValidationAnswer::classify(otherUrl, u"0=OK"_s), Verdict::Undetermined);
    EXPECT_EQ(ValidationAnswer::classify(otherUrl, u"10=hostname"_s), Verdict::Undetermined);
    EXPECT_FALSE(ValidationAnswer::isValid(otherUrl, u"0=OK"_s));
    // The URL test is plain and case-sensitive.
    EXPECT_EQ(ValidationAnswer::classify(u"http://h/ipupdate/Account_Validate.jsp"_s, u"0=OK"_s),
              Verdict::Undetermined);
    EXPECT_FALSE(ValidationAnswer::isValidationPage(u"about:blank"_s));
}

} // namespace
