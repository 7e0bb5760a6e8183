// Configuration lookups: how "key=" is found in the text, what a value is, how
// numbers convert and how a bad number or a missing file is reported.
#include "core/Config.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using Ostrel::Config;

namespace {

Config WithText(const std::string& text) {
    Config config;
    config.text = text;
    return config;
}

}  // namespace

TEST(ConfigLookup, WhereTheKeyIsFound) {
    struct Case {
        const char* text;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"xhide_time=5\nhide_time=1000\n", "hide_time", "5"},  // inside a longer key on an earlier line
        {"hide_time=1000\nxhide_time=5\n", "hide_time", "1000"},
        {"logo=first.png\nlogo=second.png\n", "logo", "first.png"},  // the first of two equal keys
        {"texture_10=ten.png\ntexture_1=one.png\n", "texture_1", "one.png"},
        {"texture_10=ten.png\ntexture_1=one.png\n", "texture_10", "ten.png"},
        {"a=1\ncard=assets/back.png", "card", "assets/back.png"},  // last line without a line end
    };
    for (const Case& c : cases) {
        std::string value;
        EXPECT_TRUE(WithText(c.text).GetString(c.key, &value)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    std::string value = "unchanged";
    EXPECT_FALSE(WithText("texture_10=ten.png\n").GetString("texture_1", &value));
    EXPECT_EQ(value, "unchanged");
}

TEST(ConfigLookup, ValueIsUntrimmedAndMayBeEmpty) {
    Config config = WithText("hide_time= 1500\nname=two words \nempty=\nlast=x\n");
    std::string text;
    EXPECT_TRUE(config.GetString("hide_time", &text));
    EXPECT_EQ(text, " 1500");
    int number = 0;
    EXPECT_TRUE(config.GetInt("hide_time", &number));
    EXPECT_EQ(number, 1500);
    EXPECT_TRUE(config.GetString("name", &text));
    EXPECT_EQ(text, "two words ");
    EXPECT_TRUE(config.GetString("empty", &text));
    EXPECT_EQ(text, "");
}

TEST(ConfigLookup, NumbersIgnoreTrailingText) {
    Config config = WithText("time_to_start=1500 ms\nanimation_speed=0.008rad\n");
    int ms = 0;
    float speed = 0.0f;
    EXPECT_TRUE(config.GetInt("time_to_start", &ms));
    EXPECT_EQ(ms, 1500);
    EXPECT_TRUE(config.GetFloat("animation_speed", &speed));
    EXPECT_FLOAT_EQ(speed, 0.008f);
}

TEST(ConfigLookup, MissingKeyLeavesOutputAndCacheAlone) {
    Config config = WithText("a=1\n");
    std::string text = "keep";
    int number = 7;
    float real = 2.5f;
    EXPECT_FALSE(config.GetString("b", &text));
    EXPECT_FALSE(config.GetInt("b", &number));
    EXPECT_FALSE(config.GetFloat("b", &real));
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(number, 7);
    EXPECT_EQ(real, 2.5f);
    EXPECT_TRUE(config.cache.empty());
}

TEST(ConfigLookup, SuccessfulLookupsAreCached) {
    Config config = WithText("a=1\nb=two\n");
    std::string value;
    config.GetString("b", &value);
    int number = 0;
    config.GetInt("a", &number);
    ASSERT_EQ(config.cache.size(), 2u);
    EXPECT_EQ(config.cache["a"], "1");
    EXPECT_EQ(config.cache["b"], "two");
}

TEST(ConfigNumbers, MalformedOrOutOfRangeNumbersReportKeyAndValueAndKeepDefault) {
    Config config = WithText("hide_time=soon\nanimation_speed=fast\nbig=99999999999\nhuge=1e999\n");
    const std::pair<const char*, const char*> cases[] = {
        {"hide_time", "soon"}, {"animation_speed", "fast"}, {"big", "99999999999"}, {"huge", "1e999"}};
    for (const auto& [key, text] : cases) {
        const bool isFloat = key[0] == 'a' || (key[0] == 'h' && key[1] == 'u');
        int number = 3;
        float real = 4.0f;
        testing::internal::CaptureStderr();
        EXPECT_FALSE(isFloat ? config.GetFloat(key, &real) : config.GetInt(key, &number)) << key;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(number, 3) << key;
        EXPECT_EQ(real, 4.0f) << key;
        EXPECT_NE(err.find(key), std::string::npos) << err;
        EXPECT_NE(err.find(text), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
}

TEST(ConfigLoad, ReadsConfigFileFromWorkingDirectory) {
    OstrelTest::TempDir dir;
    dir.Write("assets/game/config.txt", "hide_time=250\r\nlogo=l.png\r\n");
    OstrelTest::ScopedChdir chdir(dir.Path());
    Config config;
    config.Load();
    EXPECT_EQ(config.text, "hide_time=250\nlogo=l.png\n");
    int value = 0;
    EXPECT_TRUE(config.GetInt("hide_time", &value));
    EXPECT_EQ(value, 250);
}

TEST(ConfigLoad, MissingFilePrintsTwoLinesAndEveryKeyIsMissing) {
    OstrelTest::TempDir dir;
    OstrelTest::ScopedChdir chdir(dir.Path());
    Config config;
    testing::internal::CaptureStderr();
    config.Load();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Current path: \nCould not open the file - 'assets/game/config.txt'\n");
    EXPECT_TRUE(config.text.empty());
    int value = 42;
    EXPECT_FALSE(config.GetInt("hide_time", &value));
    EXPECT_EQ(value, 42);
}
