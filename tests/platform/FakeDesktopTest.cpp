#include "support/FakeDesktop.h"

#include <gtest/gtest.h>

TEST(FakeDesktopTest, AnswersFromTheScriptAndRecordsWhatWasAsked)
{
    FakeDesktop desktop;
    desktop.queueAnswer(Desktop::Answer::No);
    EXPECT_EQ(
        desktop.message(QStringLiteral("A"), QStringLiteral("one"), Desktop::Icon::Question, Desktop::Buttons::YesNo),
        Desktop::Answer::No);
    // Unscripted boxes get their first button.
    EXPECT_EQ(desktop.message(QStringLiteral("B"), QStringLiteral("two"), Desktop::Icon::Exclamation,
                              Desktop::Buttons::YesNoCancel),
              Desktop::Answer::Yes);
    ASSERT_EQ(desktop.messages().size(), 2);
    EXPECT_EQ(desktop.messages().at(0).title, QStringLiteral("A"));
    EXPECT_EQ(desktop.lastMessage().text, QStringLiteral("two"));
    EXPECT_EQ(desktop.lastMessage().icon, Desktop::Icon::Exclamation);
    EXPECT_EQ(desktop.lastMessage().buttons, Desktop::Buttons::YesNoCancel);

    EXPECT_FALSE(desktop.hasEnded());
    desktop.openUrl(QStringLiteral("http://127.0.0.1:8780/"));
    desktop.endProgram();
    EXPECT_TRUE(desktop.hasEnded());
    EXPECT_EQ(desktop.openedUrls(), QStringList{QStringLiteral("http://127.0.0.1:8780/")});
}
