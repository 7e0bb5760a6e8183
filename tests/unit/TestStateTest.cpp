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

    static void ExpectWhiteAtScaleOne(const OstrelTest::RecordingTextRenderer::TextCall& call) {
        EXPECT_FLOAT_EQ(call.scale, 1.0f);
        EXPECT_FLOAT_EQ(call.colour.x, 1.0f);
        EXPECT_FLOAT_EQ(call.colour.y, 1.0f);
        EXPECT_FLOAT_EQ(call.colour.z, 1.0f);
        EXPECT_FLOAT_EQ(call.colour.w, 1.0f);
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

    const auto& ms = bed.text.draws[0];
    EXPECT_EQ(ms.text, "MS: 16.666666");
    EXPECT_FLOAT_EQ(ms.position.x, 0.0f);
    EXPECT_FLOAT_EQ(ms.position.y, 0.0f);
    const auto& fps = bed.text.draws[1];
    EXPECT_EQ(fps.text, "FPS: 59.500000");
    EXPECT_FLOAT_EQ(fps.position.x, 0.0f);
    EXPECT_FLOAT_EQ(fps.position.y, 75.0f);

    const auto words = bed.text.DrawsOf("Test");
    EXPECT_EQ(words.size(), 750u);
    for (size_t i = 0; i < bed.text.draws.size(); ++i) {
        const auto& call = bed.text.draws[i];
        EXPECT_EQ(call.font, &bed.defaultFont) << "draw " << i;
        ExpectWhiteAtScaleOne(call);
        if (i >= 2) {
            EXPECT_EQ(call.text, "Test");
            EXPECT_FLOAT_EQ(call.position.x, 0.0f);
            EXPECT_FLOAT_EQ(call.position.y, 150.0f);
        }
    }
}

TEST_F(StatisticsTest, FiguresFollowTheTimeManagerEveryFrame) {
    bed.time.deltaMs = 0.0f;
    bed.time.fps = 0.0f;
    bed.Render();
    EXPECT_EQ(bed.text.draws[0].text, "MS: 0.000000");
    EXPECT_EQ(bed.text.draws[1].text, "FPS: 0.000000");

    bed.ClearRecords();
    bed.time.deltaMs = 33.25f;
    bed.time.fps = 1234.125f;
    bed.Render();
    EXPECT_EQ(bed.text.draws[0].text, "MS: 33.250000");
    EXPECT_EQ(bed.text.draws[1].text, "FPS: 1234.125000");
    EXPECT_EQ(bed.text.DrawsOf("Test").size(), 750u);
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
