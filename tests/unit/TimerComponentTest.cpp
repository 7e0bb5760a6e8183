// Countdown timer: strict run-out, one callback per run-out, reset and repeat.
#include "components/TimerComponent.h"

#include <gtest/gtest.h>

using Ostrel::TimerComponent;

namespace {

struct Counter {
    int calls = 0;
    TimerComponent* last = nullptr;
    std::function<void(TimerComponent*)> Callback() {
        return [this](TimerComponent* t) {
            ++calls;
            last = t;
        };
    }
};

bool RunOut(const TimerComponent& t) {
    return t.elapsed > t.duration;
}

}  // namespace

TEST(TimerComponent, RunsOutStrictlyAfterDurationAndCallsOnce) {
    Counter counter;
    TimerComponent timer(counter.Callback(), 150.0f);
    for (int i = 0; i < 3; ++i) timer.Update(50.0f);
    EXPECT_EQ(timer.elapsed, 150.0f);
    EXPECT_FALSE(RunOut(timer));
    EXPECT_EQ(counter.calls, 0);

    timer.Update(50.0f);
    EXPECT_TRUE(RunOut(timer));
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(counter.last, &timer);
    EXPECT_TRUE(timer.fired);

    timer.Update(50.0f);
    timer.Update(50.0f);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(timer.elapsed, 300.0f);  // keeps counting, never clamped
}

TEST(TimerComponent, ZeroStepsNeverRunOut) {
    struct Case {
        float duration, first;
    };
    for (const Case& c : {Case{0.0f, 0.0f}, Case{100.0f, 100.0f}}) {
        Counter counter;
        TimerComponent timer(counter.Callback(), c.duration);
        timer.Update(c.first);
        timer.Update(0.0f);
        EXPECT_FALSE(RunOut(timer)) << c.duration;
        EXPECT_EQ(counter.calls, 0) << c.duration;
        timer.Update(0.001f);  // the first positive step past the duration
        EXPECT_EQ(counter.calls, 1) << c.duration;
    }
}

TEST(TimerComponent, ResetAllowsOneMoreCallback) {
    Counter counter;
    TimerComponent timer(counter.Callback(), 100.0f);
    timer.Update(150.0f);
    ASSERT_EQ(counter.calls, 1);
    timer.Reset();
    EXPECT_EQ(timer.elapsed, 0.0f);
    EXPECT_FALSE(timer.fired);
    EXPECT_FALSE(RunOut(timer));
    timer.Update(60.0f);
    EXPECT_EQ(counter.calls, 1);
    timer.Update(60.0f);
    EXPECT_EQ(counter.calls, 2);
    timer.Update(60.0f);
    EXPECT_EQ(counter.calls, 2);
}

TEST(TimerComponent, EmptyCallbackRunsOutWithoutError) {
    TimerComponent timer(nullptr, 10.0f);
    EXPECT_NO_THROW(timer.Update(20.0f));
    EXPECT_TRUE(timer.fired);
    EXPECT_TRUE(RunOut(timer));
}

TEST(TimerComponent, RepeatingTimerRearmsAndDropsOvershoot) {
    Counter counter;
    TimerComponent timer(counter.Callback(), 100.0f);
    timer.repeat = true;
    timer.Update(250.0f);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(timer.elapsed, 0.0f);
    EXPECT_FALSE(timer.fired);
    timer.Update(60.0f);
    EXPECT_EQ(counter.calls, 1);
    timer.Update(60.0f);
    EXPECT_EQ(counter.calls, 2);
}

TEST(TimerComponent, StoppedTimerDoesNotCount) {
    Counter counter;
    TimerComponent timer(counter.Callback(), 10.0f);
    timer.running = false;
    timer.Update(100.0f);
    EXPECT_EQ(timer.elapsed, 0.0f);
    EXPECT_EQ(counter.calls, 0);
    timer.running = true;
    timer.Update(100.0f);
    EXPECT_EQ(counter.calls, 1);
}

TEST(TimerComponent, CallbackMayResetItsOwnTimer) {
    int calls = 0;
    TimerComponent timer(
        [&](TimerComponent* t) {
            ++calls;
            t->Reset();
        },
        100.0f);
    timer.Update(150.0f);
    EXPECT_EQ(calls, 1);
    // The steps after the callback still run: fired is set again after the reset.
    EXPECT_TRUE(timer.fired);
    EXPECT_EQ(timer.elapsed, 0.0f);
    timer.Update(150.0f);
    EXPECT_EQ(calls, 1);
}

TEST(TimerComponent, CallbackIsACopy) {
    int calls = 0;
    std::function<void(TimerComponent*)> callback = [&](TimerComponent*) { ++calls; };
    TimerComponent timer(callback, 1.0f);
    callback = nullptr;
    timer.Update(2.0f);
    EXPECT_EQ(calls, 1);
}
