// Configuration lookups, whole-file reading, and the matrices behind the renderers' projections.
#include "TempDir.h"
#include "UnitDoubles.h"
#include "core/Config.h"
#include "core/FileReader.h"
#include <filesystem>

using namespace OstrelTest;

TEST(Config, FirstKeyWinsNumbersConvertAndBadNumbersAreReported) {
    Config config;
    config.text =
        "xhide_time=5\nhide_time=1\nlogo=a.png\nlogo=b\nname=two words \nspeed=0.008rad\nneg=-12\nnan=nan\nx= 15";
    std::string s = "keep";
    int i = 7, neg = 0;
    float f = 0, nan = 0;
    EXPECT_FALSE(config.GetString("missing", &s));
    EXPECT_FALSE(config.GetInt("missing", &i));
    EXPECT_EQ(s, "keep");
    EXPECT_TRUE(config.GetFloat("speed", &f));
    EXPECT_TRUE(config.GetInt("x", &i));
    EXPECT_TRUE(config.GetInt("neg", &neg));
    EXPECT_TRUE(config.GetFloat("nan", &nan));
    EXPECT_EQ(f, 0.008f);
    EXPECT_EQ(i, 15);
    EXPECT_EQ(neg, -12);
    EXPECT_TRUE(std::isnan(nan));
    for (auto [key, value] : {std::pair{"hide_time", "5"}, {"logo", "a.png"}, {"name", "two words "}}) {
        EXPECT_TRUE(config.GetString(key, &s)) << key;
        EXPECT_EQ(s, value);  // "xhide_time=" holds the first "hide_time="
    }
    // A bad number prints one line naming key and value, and leaves the output unchanged.
    const std::pair<const char*, bool> rows[] = {{"soon", false}, {"", false},     {"99999999999", false}, {"-", false},
                                                 {"fast", true},  {"1e999", true}, {"-1e999", true},       {"", true}};
    for (auto [value, asFloat] : rows) {
        config.text = std::string("hide_time=") + value + "\n";
        config.cache.clear();
        i = 3, f = 4.0f;
        const std::string err = Captured([&] {
            EXPECT_FALSE(asFloat ? config.GetFloat("hide_time", &f) : config.GetInt("hide_time", &i)) << value;
        });
        EXPECT_EQ(asFloat ? f : float(i), asFloat ? 4.0f : 3.0f) << value;  // unchanged
        EXPECT_EQ(Lines(err), 1) << err;
        EXPECT_NE(err.find("'hide_time' "), std::string::npos) << err;
        EXPECT_NE(err.find(std::string("'") + value + "'"), std::string::npos) << err;
    }
}

TEST(FileReader, ReadsCrlfAsLfAndReportsUnreadablePaths) {
    TempDir dir;
    dir.Write("crlf.txt", "one\r\ntwo\r\n\r\nx\ry\r\n");
    std::filesystem::create_directory(dir.File("folder"));
    FileReader reader;
    EXPECT_EQ(reader.ReadFile(dir.File("crlf.txt")), "one\ntwo\n\nx\ry\n");  // no line end added
    for (const char* bad : {"missing.txt", "folder"}) {
        std::string text = "x";
        const std::string err = Captured([&] { text = reader.ReadFile(dir.File(bad)); });
        EXPECT_EQ(text, "");
        EXPECT_EQ(err, "Current path: \nCould not open the file - '" + dir.File(bad) + "'\n");
    }
}

static void ExpectColumns(const mat4& m, std::vector<float> expected) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m.m[i], expected[i], 1e-6f) << "element " << i;
}

TEST(Matrices, ProductsRotationsAndLookAt) {
    ExpectColumns(Translate(10, 20, 30) * Scale(2, 3, 4), {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 10, 20, 30, 1});
    ExpectColumns(Scale(2, 3, 4) * Translate(10, 20, 30), {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 20, 60, 120, 1});
    // A quarter turn about z (the axis need not be a unit one) takes x to y and y to -x.
    ExpectColumns(Rotate(1.5707964f, vec3(0, 0, 3)), {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    ExpectColumns(Rotate(1.0f, vec3(0, 0, 0)), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});  // not NaN
    EXPECT_EQ(ReverseBits(0x12) | ReverseBits(0x81) << 8 | ReverseBits(0x0f) << 16, 0xf08148);
    // Look-at from an oblique eye, up of length 2: the eye goes to the origin, the centre 5 ahead on -z,
    // a point above the eye straight up.
    const mat4 view = LookAt(vec3(1, 2, 3), vec3(4, 6, 3), vec3(0, 0, 2));
    for (auto [point, seen] :
         {std::pair{vec3(1, 2, 3), vec3(0, 0, 0)}, {vec3(4, 6, 3), vec3(0, 0, -5)}, {vec3(1, 2, 4), vec3(0, 1, 0)}}) {
        const mat4 at = view * Translate(point.x, point.y, point.z);  // its last column: the point in view space
        EXPECT_NEAR(at.m[12], seen.x, 1e-5f) << point.x;
        EXPECT_NEAR(at.m[13], seen.y, 1e-5f) << point.x;
        EXPECT_NEAR(at.m[14], seen.z, 1e-5f) << point.x;
    }
}

// Sprites: window pixels, y down, depth -1..1 and -5..5 after a resize. Text: y up, depth 0.1..1000,
// seen from z = 10. An empty size (a minimised window) keeps the last projection.
TEST(Matrices, RendererProjectionsFollowTheWindowAndIgnoreAnEmptySize) {
    ScreenBed bed;  // 800 x 600
    SpriteRecorder& sprites = bed.sprites;
    TextRecorder& text = bed.text;
    ExpectColumns(sprites.projection, {2.0f / 800, 0, 0, 0, 0, -2.0f / 600, 0, 0, 0, 0, -1, 0, -1, 1, 0, 1});
    ExpectColumns(sprites.view, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -1, 1});
    ExpectColumns(text.projection,
                  {2.0f / 800, 0, 0, 0, 0, 2.0f / 600, 0, 0, 0, 0, -2 / 999.9f, 0, -1, -1, -1000.1f / 999.9f, 1});
    ExpectColumns(text.view, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -10, 1});
    sprites.Resize(1024, 768);
    text.Resize(1024, 768);
    ExpectColumns(sprites.projection, {2.0f / 1024, 0, 0, 0, 0, -2.0f / 768, 0, 0, 0, 0, -0.2f, 0, -1, 1, 0, 1});
    EXPECT_NEAR(text.projection.m[5], 2.0f / 768, 1e-7f);
    const mat4 sprite = sprites.projection, words = text.projection;
    for (auto [w, h] : {std::pair{0, 0}, {0, 500}, {500, 0}, {-1, 300}}) {  // for both renderers
        sprites.Resize(w, h);
        text.Resize(w, h);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(sprites.projection.m[i], sprite.m[i]) << w << "x" << h;
        for (int i = 0; i < 16; ++i) EXPECT_EQ(text.projection.m[i], words.m[i]) << w << "x" << h;
    }
}
