#include "SettingsModel.h"
#include "ProjConf.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ProjConf, FieldsAreEmptyUntilInitialized)
{
    ProjConf conf;
    EXPECT_TRUE(conf.Version.isEmpty());
    EXPECT_TRUE(conf.ProgramName.isEmpty());
    conf.Initialize();
    EXPECT_EQ(conf.Version, u"1.3"_s);
    EXPECT_EQ(conf.ProgramName, u"QUORVEX IP Updater Version 1.3"_s);
}

TEST(SettingsModel, StartsEmptyAndZero)
{
    const SettingsModel model;
    EXPECT_TRUE(model.GatewayURL.isEmpty() && model.ConfigPath.isEmpty() && model.LastUpdate.isEmpty() &&
                model.Version.isEmpty() && model.LastIP.isEmpty());
    EXPECT_EQ(model.Interval | model.PingInterval | model.Force | model.StartUp | model.TakeTurn | model.MinuteCounter,
              0);
    EXPECT_FALSE(model.AskedNewVersion);
    static_assert(sizeof(model.Interval) == 2 && sizeof(model.MinuteCounter) == 2, "16-bit counters");
}

TEST(SettingsModel, IntervalRoundsHalfToEvenWithinSixteenBits)
{
    EXPECT_EQ(SettingsModel::intervalMinutes(1, 30), 90);
    EXPECT_EQ(SettingsModel::intervalMinutes(0.5, 0), 30);
    EXPECT_EQ(SettingsModel::intervalMinutes(0, 2.5), 2);
    EXPECT_EQ(SettingsModel::intervalMinutes(0, 3.5), 4);
    EXPECT_EQ(SettingsModel::intervalMinutes(0.1, 0), 6); // 0.1 × 60 is a hair above 6
    EXPECT_EQ(SettingsModel::intervalMinutes(546, 7), 32767);
    EXPECT_FALSE(SettingsModel::intervalMinutes(546, 8));
    EXPECT_FALSE(SettingsModel::intervalMinutes(-600, 0));
}

TEST(SettingsModel, NextUpdateText)
{
    EXPECT_EQ(SettingsModel::nextUpdateText(90), u"1 Hours 30 Minutes"_s);
    EXPECT_EQ(SettingsModel::nextUpdateText(45), u"0 Hours 45 Minutes"_s);
    EXPECT_EQ(SettingsModel::nextUpdateText(0), u"0 Hours 0 Minutes"_s);
    EXPECT_EQ(SettingsModel::nextUpdateText(120), u"2 Hours 0 Minutes"_s);
    EXPECT_EQ(SettingsModel::nextUpdateText(32767), u"546 Hours 7 Minutes"_s);
}
