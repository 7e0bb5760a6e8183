// Frame budget arithmetic of the time manager, driven through its tick and
// sleep seams so no real time passes.
#include "sdl/SDLTimeManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A clock that only moves when the test (or the sleep) moves it.
struct FakeClock {
    uint64_t now = 1000;
    std::vector<uint32_t> sleeps;

    void Attach(Ostrel::SDLTimeManager& time) {
        time.getTicks = [this] { return now; };
        time.delay = [this](uint32_t ms) {
            sleeps.push_back(ms);
            now += ms;
        };
    }
};

}  // namespace

TEST(TimeManager, BudgetIsThousandOverFps) {
    Ostrel::SDLTimeManager sixty(60);
    EXPECT_FLOAT_EQ(sixty.targetFrameMs, 16.666667f);
    Ostrel::SDLTimeManager thirty(30);
    EXPECT_FLOAT_EQ(thirty.targetFrameMs, 33.333333f);
}

TEST(TimeManager, FirstFrameSeesZeroDelta) {
    Ostrel::SDLTimeManager time(60);
    FakeClock clock;
    clock.Attach(time);
    time.Start();
    clock.now += 50;  // time spent before the loop does not count
    time.BeginFrame();
    EXPECT_EQ(time.GetDeltaMs(), 0.0f);
    EXPECT_EQ(time.GetTotalSeconds(), 0.0f);
}

TEST(TimeManager, ShortFrameSleepsWholeRestAndRecordsBudget) {
    Ostrel::SDLTimeManager time(60);
    FakeClock clock;
    clock.Attach(time);
    time.BeginFrame();
    clock.now += 5;
    time.EndFrame();
    ASSERT_EQ(clock.sleeps.size(), 1u);
    EXPECT_EQ(clock.sleeps[0], 11u);  // 11.67 truncated
    EXPECT_FLOAT_EQ(time.deltaMs, 16.666667f);
    EXPECT_FLOAT_EQ(time.totalMs, 16.666667f);
    EXPECT_EQ(time.frameCount, 1u);
    EXPECT_NEAR(time.GetFPS(), 60.0f, 1e-3f);
}

TEST(TimeManager, LongFrameSleepsNothingAndRecordsMeasuredLength) {
    for (uint64_t took : {17u, 40u}) {
        Ostrel::SDLTimeManager time(60);
        FakeClock clock;
        clock.Attach(time);
        time.BeginFrame();
        clock.now += took;
        time.EndFrame();
        EXPECT_TRUE(clock.sleeps.empty()) << took;
        EXPECT_EQ(time.deltaMs, static_cast<float>(took));
        EXPECT_NEAR(time.GetFPS(), 1000.0f / static_cast<float>(took), 1e-3f);
    }
}

TEST(TimeManager, ExactlyBudgetBoundary) {
    // 16 ms is still short (16 < 16.67): sleeps 0 whole ms, records the budget.
    Ostrel::SDLTimeManager time(60);
    FakeClock clock;
    clock.Attach(time);
    time.BeginFrame();
    clock.now += 16;
    time.EndFrame();
    ASSERT_EQ(clock.sleeps.size(), 1u);
    EXPECT_EQ(clock.sleeps[0], 0u);
    EXPECT_FLOAT_EQ(time.deltaMs, 16.666667f);
}

TEST(TimeManager, TotalsAccumulateAcrossFrames) {
    Ostrel::SDLTimeManager time(60);
    FakeClock clock;
    clock.Attach(time);
    const uint64_t work[] = {2, 5, 30, 0, 16};
    float expected = 0.0f;
    for (uint64_t ms : work) {
        time.BeginFrame();
        clock.now += ms;
        time.EndFrame();
        expected += ms < 17 ? 1000.0f / 60.0f : static_cast<float>(ms);
        EXPECT_FLOAT_EQ(time.GetDeltaMs(), ms < 17 ? 1000.0f / 60.0f : static_cast<float>(ms));
    }
    EXPECT_EQ(time.frameCount, 5u);
    EXPECT_NEAR(time.totalMs, expected, 1e-3f);
    EXPECT_NEAR(time.GetTotalSeconds(), expected / 1000.0f, 1e-6f);
}

TEST(TimeManager, ShortFramesAdvanceEffectsTimeAtNominalRate) {
    Ostrel::SDLTimeManager time(60);
    FakeClock clock;
    clock.Attach(time);
    for (int i = 0; i < 60; ++i) {
        time.BeginFrame();
        clock.now += 1;
        time.EndFrame();
    }
    EXPECT_NEAR(time.GetTotalSeconds(), 1.0f, 1e-4f);
}

TEST(TimeManager, FpsBeforeAnyFrameIsInfinite) {
    Ostrel::SDLTimeManager time(60);
    EXPECT_TRUE(std::isinf(time.GetFPS()));
    EXPECT_GT(time.GetFPS(), 0.0f);
}

TEST(TimeManager, DefaultSeamsUseSdlClock) {
    // The defaults are real: a 20 ms frame spent sleeping is at least 20 ms long.
    Ostrel::SDLTimeManager time(60);
    ASSERT_TRUE(time.getTicks);
    ASSERT_TRUE(time.delay);
    time.BeginFrame();
    time.delay(20);
    time.EndFrame();
    EXPECT_GE(time.GetDeltaMs(), 20.0f);
}
