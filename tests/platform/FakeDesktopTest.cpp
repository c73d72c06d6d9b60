#include "support/FakeDesktop.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

TEST(FakeDesktopTest, AnswersFromTheScriptAndRecordsEveryBox)
{
    FakeDesktop desktop;
    desktop.queueAnswer(Desktop::Answer::No);
    desktop.queueAnswer(Desktop::Answer::Cancel);

    EXPECT_EQ(
        desktop.message(QStringLiteral("A"), QStringLiteral("one"), Desktop::Icon::Question, Desktop::Buttons::YesNo),
        Desktop::Answer::No);
    EXPECT_EQ(desktop.message(QStringLiteral("B"), QStringLiteral("two"), Desktop::Icon::Exclamation,
                              Desktop::Buttons::OkCancel),
              Desktop::Answer::Cancel);
    // Unscripted boxes get their first button.
    EXPECT_EQ(desktop.message(QStringLiteral("C"), QStringLiteral("three"), Desktop::Icon::Question,
                              Desktop::Buttons::YesNoCancel),
              Desktop::Answer::Yes);
    EXPECT_EQ(
        desktop.message(QStringLiteral("D"), QStringLiteral("four"), Desktop::Icon::Critical, Desktop::Buttons::Ok),
        Desktop::Answer::Ok);

    ASSERT_EQ(desktop.messages().size(), 4);
    EXPECT_EQ(desktop.messages().at(1).title, QStringLiteral("B"));
    EXPECT_EQ(desktop.messages().at(1).text, QStringLiteral("two"));
    EXPECT_EQ(desktop.messages().at(1).icon, Desktop::Icon::Exclamation);
    EXPECT_EQ(desktop.messages().at(1).buttons, Desktop::Buttons::OkCancel);
    EXPECT_EQ(desktop.lastMessage().text, QStringLiteral("four"));
}

TEST(FakeDesktopTest, AnAnswerTheBoxDoesNotOfferFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            FakeDesktop desktop;
            desktop.queueAnswer(Desktop::Answer::Yes);
            desktop.message(QStringLiteral("Error"), QStringLiteral("x"), Desktop::Icon::Critical,
                            Desktop::Buttons::Ok);
        },
        "not a button");
}

TEST(FakeDesktopTest, RecordsPagesAndTheEndWithoutEnding)
{
    FakeDesktop desktop;
    EXPECT_FALSE(desktop.hasEnded());
    desktop.openUrl(QStringLiteral("http://127.0.0.1:8780/"));
    desktop.endProgram();
    EXPECT_TRUE(desktop.hasEnded());
    EXPECT_EQ(desktop.endProgramCalls(), 1);
    EXPECT_EQ(desktop.openedUrls(), QStringList{QStringLiteral("http://127.0.0.1:8780/")});
}
