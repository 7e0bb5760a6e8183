// The frame statistics screen through a recording text renderer: its two
// lines of figures and its fixed load of 750 words.
#include "TestState.h"

#include "ScreenTestBed.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class StatisticsTest : public ::testing::Test {
protected:
    OstrelTest::ScreenTestBed bed;
    TestState screen{&bed.game};

    void SetUp() override {
        bed.Register("test", bed.Wire(&screen));
        bed.Switch("test");
    }
};

TEST_F(StatisticsTest, WritesFrameTimeAndRateThen750WordsInOneBatch) {
    bed.time.deltaMs = 16.666666f;
    bed.time.fps = 59.5f;
    bed.Render();

    ASSERT_EQ(bed.text.draws.size(), 752u);
    EXPECT_EQ(bed.text.begins, (std::vector<int>{0}));
    EXPECT_EQ(bed.text.ends, 1);
    EXPECT_EQ(bed.journal.front(), "text.Begin(0)");
    EXPECT_EQ(bed.journal.back(), "text.End()");
    EXPECT_EQ(bed.text.draws[0].text, "MS: 16.666666");
    EXPECT_EQ(bed.text.draws[1].text, "FPS: 59.500000");
    EXPECT_EQ(bed.text.DrawsOf("Test").size(), 750u);
    for (size_t i = 0; i < bed.text.draws.size(); ++i) {
        const auto& call = bed.text.draws[i];
        SCOPED_TRACE("draw " + std::to_string(i));
        EXPECT_EQ(call.font, &bed.defaultFont);
        EXPECT_FLOAT_EQ(call.scale, 1.0f);
        EXPECT_TRUE(call.colour.x == 1.0f && call.colour.y == 1.0f && call.colour.z == 1.0f && call.colour.w == 1.0f);
        EXPECT_FLOAT_EQ(call.position.x, 0.0f);
        EXPECT_FLOAT_EQ(call.position.y, i == 0 ? 0.0f : i == 1 ? 75.0f : 150.0f);
        if (i >= 2) {
            EXPECT_EQ(call.text, "Test");
        }
    }

    // The figures follow the time manager every frame.
    const struct {
        float ms, fps;
        const char *msText, *fpsText;
    } cases[] = {{0.0f, 0.0f, "MS: 0.000000", "FPS: 0.000000"},
                 {33.25f, 1234.125f, "MS: 33.250000", "FPS: 1234.125000"}};
    for (const auto& c : cases) {
        bed.ClearRecords();
        bed.time.deltaMs = c.ms;
        bed.time.fps = c.fps;
        bed.Render();
        EXPECT_EQ(bed.text.draws[0].text, c.msText);
        EXPECT_EQ(bed.text.draws[1].text, c.fpsText);
        EXPECT_EQ(bed.text.DrawsOf("Test").size(), 750u);
    }
}

TEST(TestStateNumbers, SixDecimalsFixedNotation) {
    EXPECT_EQ(TestState::FormatNumber(1e7f), "10000000.000000");
    EXPECT_EQ(TestState::FormatNumber(0.0000004f), "0.000000");
    EXPECT_EQ(TestState::FormatNumber(-2.5f), "-2.500000");
}

TEST_F(StatisticsTest, UpdateAndEnterDoNothingVisible) {
    bed.Frame();
    EXPECT_EQ(bed.Current(), &screen);
    EXPECT_TRUE(bed.journal.empty());
}

}  // namespace
