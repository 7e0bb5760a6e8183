// Configuration lookups and whole-file reading.
#include "TempDir.h"
#include "UnitDoubles.h"
#include "core/Config.h"
#include "core/FileReader.h"
#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>

using OstrelTest::Stderr;

TEST(Config, LookupFindsFirstKeyEqualsAnywhereAndConvertsNumbers) {
    Ostrel::Config config;
    config.text =
        "xhide_time=5\nhide_time=1000\nlogo=a.png\nlogo=b.png\nname=two words \nempty=\nspeed=0.008rad\n"
        "last= 15";
    std::string s;
    int i = 0;
    float f = 0;
    EXPECT_TRUE(config.GetString("hide_time", &s));
    EXPECT_EQ(s, "5");  // the key inside "xhide_time" comes first
    EXPECT_TRUE(config.GetString("logo", &s));
    EXPECT_EQ(s, "a.png");
    EXPECT_TRUE(config.GetString("name", &s));
    EXPECT_EQ(s, "two words ");
    EXPECT_TRUE(config.GetString("empty", &s));
    EXPECT_EQ(s, "");
    EXPECT_TRUE(config.GetFloat("speed", &f));
    EXPECT_FLOAT_EQ(f, 0.008f);
    EXPECT_TRUE(config.GetInt("last", &i));
    EXPECT_EQ(i, 15);
    EXPECT_EQ(config.cache["logo"], "a.png");
    s = "keep";
    EXPECT_FALSE(config.GetString("missing", &s));
    EXPECT_FALSE(config.GetInt("missing", &i));
    EXPECT_EQ(s, "keep");
    EXPECT_EQ(i, 15);
    EXPECT_EQ(config.cache.count("missing"), 0u);
}

TEST(Config, BadNumberPrintsOneLineNamingKeyAndValueAndKeepsOutput) {
    struct Row {
        const char* value;
        bool asFloat;
    };
    const Row rows[] = {{"soon", false}, {"", false},     {"99999999999", false}, {"-", false},
                        {"fast", true},  {"1e999", true}, {"-1e999", true},       {"", true}};
    for (const Row& row : rows) {
        Ostrel::Config config;
        config.text = std::string("hide_time=") + row.value + "\n";
        int i = 3;
        float f = 4.0f;
        bool ok = true;
        const std::string err =
            Stderr([&] { ok = row.asFloat ? config.GetFloat("hide_time", &f) : config.GetInt("hide_time", &i); });
        EXPECT_FALSE(ok) << row.value;
        EXPECT_EQ(i, 3);
        EXPECT_EQ(f, 4.0f);
        EXPECT_EQ(OstrelTest::Lines(err), 1) << err;
        EXPECT_NE(err.find("hide_time"), std::string::npos) << err;
        EXPECT_NE(err.find(std::string("'") + row.value + "'"), std::string::npos) << err;
    }
    // Negative numbers and NaN are numbers: they convert.
    Ostrel::Config config;
    config.text = "a=-12\nb=nan\n";
    int i = 0;
    float f = 0;
    EXPECT_TRUE(config.GetInt("a", &i));
    EXPECT_EQ(i, -12);
    EXPECT_TRUE(config.GetFloat("b", &f));
    EXPECT_TRUE(std::isnan(f));
}

TEST(Config, LoadReadsTheGameConfigRelativeToTheWorkingDirectory) {
    OstrelTest::TempDir dir;
    OstrelTest::ScopedChdir chdir(dir.Path());
    Ostrel::Config config;
    EXPECT_EQ(Stderr([&] { config.Load(); }), "Current path: \nCould not open the file - 'assets/game/config.txt'\n");
    EXPECT_EQ(config.text, "");
    dir.Write("assets/game/config.txt", "hide_time=250\r\n");
    config.Load();
    int v = 0;
    EXPECT_TRUE(config.GetInt("hide_time", &v));
    EXPECT_EQ(v, 250);
}

TEST(FileReader, ReadsCrlfAsLfAndReportsUnreadablePaths) {
    OstrelTest::TempDir dir;
    dir.Write("crlf.txt", "one\r\ntwo\r\n\r\nx\ry");
    dir.Write("empty.txt", "");
    std::filesystem::create_directory(dir.File("folder"));
    Ostrel::FileReader reader;
    EXPECT_EQ(Ostrel::GetCurrentPath(), "");
    EXPECT_EQ(reader.ReadFile(dir.File("crlf.txt")), "one\ntwo\n\nx\ry");  // no line end added
    EXPECT_EQ(Stderr([&] { EXPECT_EQ(reader.ReadFile(dir.File("empty.txt")), ""); }), "");
    for (const char* bad : {"missing.txt", "folder"}) {
        std::string text = "x";
        const std::string err = Stderr([&] { text = reader.ReadFile(dir.File(bad)); });
        EXPECT_EQ(text, "");
        EXPECT_EQ(err, "Current path: \nCould not open the file - '" + dir.File(bad) + "'\n");
    }
}
