#include "ServiceConstants.h"
#include "HttpPageRequester.h"

#include <gtest/gtest.h>

// No test may reach beyond loopback, and the default build is the one the tests run in: every
// host the program would talk to must be the loopback address.
TEST(ServiceConstantsTest, DefaultBuildTalksOnlyToLoopback)
{
    const QUrl service = HttpPageRequester::requestUrl(ServiceConstants::serviceHost());
    EXPECT_EQ(service.host(), QStringLiteral("127.0.0.1")) << ServiceConstants::serviceHost().toStdString();
    EXPECT_TRUE(service.path().isEmpty()) << "the service host carries no path";

    const QStringList locators = ServiceConstants::defaultLocators();
    ASSERT_EQ(locators.size(), 4);
    for (const QString& locator : locators) {
        EXPECT_EQ(HttpPageRequester::requestUrl(locator).host(), QStringLiteral("127.0.0.1")) << locator.toStdString();
    }

    EXPECT_EQ(HttpPageRequester::requestUrl(ServiceConstants::keepAliveSite()).host(), QStringLiteral("127.0.0.1"))
        << ServiceConstants::keepAliveSite().toStdString();
}
