// Configuration lookups and whole-file reading.
#include "TempDir.h"
#include "UnitDoubles.h"
#include "core/Config.h"
#include "core/FileReader.h"
#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>

using namespace OstrelTest;

TEST(Config, FirstKeyEqualsAnywhereWinsAndNumbersConvert) {
    Config config;
    config.text =
        "xhide_time=5\nhide_time=1000\nlogo=a.png\nlogo=b.png\nname=two words \nspeed=0.008rad\nneg=-12\n"
        "nan=nan\nlast= 15";
    std::string s = "keep";
    int i = 0;
    float f = 0;
    EXPECT_FALSE(config.GetString("missing", &s) || config.GetInt("missing", &i));
    EXPECT_EQ(s + std::to_string(i), "keep0");
    EXPECT_TRUE(config.GetString("hide_time", &s));
    EXPECT_EQ(s, "5");  // the key inside "xhide_time" comes first
    EXPECT_TRUE(config.GetString("logo", &s) && config.GetString("name", &s));
    EXPECT_EQ(config.cache["logo"] + "|" + s, "a.png|two words ");
    EXPECT_TRUE(config.GetFloat("speed", &f) && config.GetInt("last", &i));
    EXPECT_FLOAT_EQ(f, 0.008f);
    EXPECT_EQ(i, 15);
    EXPECT_TRUE(config.GetInt("neg", &i) && config.GetFloat("nan", &f));
    EXPECT_EQ(i, -12);
    EXPECT_TRUE(std::isnan(f));
    EXPECT_EQ(config.cache.count("missing"), 0u);
}

TEST(Config, BadNumberPrintsOneLineNamingKeyAndValueAndKeepsTheOutput) {
    const std::pair<const char*, bool> rows[] = {{"soon", false}, {"", false},     {"99999999999", false}, {"-", false},
                                                 {"fast", true},  {"1e999", true}, {"-1e999", true},       {"", true}};
    for (auto [value, asFloat] : rows) {
        Config config;
        config.text = std::string("hide_time=") + value + "\n";
        int i = 3;
        float f = 4.0f;
        bool ok = true;
        const std::string err =
            Stderr([&] { ok = asFloat ? config.GetFloat("hide_time", &f) : config.GetInt("hide_time", &i); });
        EXPECT_FALSE(ok) << value;
        EXPECT_EQ(std::to_string(i) + std::to_string(f), "34.000000");
        EXPECT_EQ(Lines(err), 1) << err;
        EXPECT_NE(err.find(std::string("'hide_time' ")), std::string::npos) << err;
        EXPECT_NE(err.find(std::string("'") + value + "'"), std::string::npos) << err;
    }
}

TEST(FileReader, ReadsCrlfAsLfAndReportsUnreadablePaths) {
    TempDir dir;
    dir.Write("crlf.txt", "one\r\ntwo\r\n\r\nx\ry");
    dir.Write("empty.txt", "");
    std::filesystem::create_directory(dir.File("folder"));
    FileReader reader;
    EXPECT_EQ(reader.ReadFile(dir.File("crlf.txt")), "one\ntwo\n\nx\ry");  // no line end added
    EXPECT_EQ(Stderr([&] { EXPECT_EQ(reader.ReadFile(dir.File("empty.txt")), ""); }), "");
    for (const char* bad : {"missing.txt", "folder"}) {
        std::string text = "x";
        const std::string err = Stderr([&] { text = reader.ReadFile(dir.File(bad)); });
        EXPECT_EQ(text, "");
        EXPECT_EQ(err, "Current path: \nCould not open the file - '" + dir.File(bad) + "'\n");
    }
    // The game's configuration is read relative to the working directory.
    ScopedChdir chdir(dir.Path());
    dir.Write("assets/game/config.txt", "hide_time=250\r\n");
    Config config;
    config.Load();
    EXPECT_EQ(config.text, "hide_time=250\n");
}
