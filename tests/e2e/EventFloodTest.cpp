// An event flood on the running game: 1000 events pushed before one frame
// reach the frame's event buffer 100 a frame over the following frames, in
// order, none lost and none seen twice; a key press deep in the flood reaches
// the input manager in the frame that delivers it.
#include "E2EHarness.h"

#include "Game.h"
#include "core/EventBuffer.h"
#include "core/InputManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using App = OstrelTest::ScriptedApp<Game>;

constexpr int Flood = 1000;
constexpr int KeyPosition = 550;  // the key press is the 551st event pushed
constexpr int FloodFrame = 2;     // pushed during this frame, polled from the next

TEST(EventFlood, ThousandEventsAreConsumedHundredAFrameNoneLost) {
    OstrelTest::E2EWorkDir dir;
    App app;
    app.keepLastFrame = false;
    Uint32 floodType = 0;
    app.At(FloodFrame, [&](App&) {
        floodType = SDL_RegisterEvents(1);
        ASSERT_NE(floodType, static_cast<Uint32>(-1));
        for (int i = 0; i < Flood; ++i) {
            if (i == KeyPosition) {
                OstrelTest::PushKeyDown(SDLK_k);
                continue;
            }
            SDL_Event e{};
            e.type = floodType;
            e.user.code = i;
            ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
        }
    });

    std::vector<int> codes;          // flood codes in the order frames saw them
    std::vector<int> bufferCounts;   // the buffer's count in each frame after the flood
    std::vector<int> floodPerFrame;  // flood events (and the key) in each such frame
    int keyDeliveredFrame = -1;
    std::vector<int> keyPressedFrames;
    app.EveryFrame([&](App& a, int frame) {
        if (frame <= FloodFrame) return;
        const Ostrel::EventBuffer& events = a.Events();
        bufferCounts.push_back(events.count);
        int seen = 0;
        for (int i = 0; i < events.count; ++i) {
            const SDL_Event& e = events.events[i];
            if (e.type == floodType) {
                codes.push_back(e.user.code);
                ++seen;
            } else if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_k) {
                keyDeliveredFrame = frame;
                codes.push_back(KeyPosition);
                ++seen;
            }
        }
        floodPerFrame.push_back(seen);
        if (a.Input()->IsKeyPressed(SDLK_k)) keyPressedFrames.push_back(frame);
    });
    app.QuitAfterFrames(FloodFrame + 16);
    OstrelTest::RunApp(app);

    // None lost, none twice, in the order pushed.
    ASSERT_EQ(codes.size(), static_cast<size_t>(Flood));
    for (int i = 0; i < Flood; ++i) ASSERT_EQ(codes[static_cast<size_t>(i)], i) << "position " << i;

    // At most a full buffer a frame, and a full one in every frame after which
    // some of the flood is still queued.
    int framesWithFlood = 0;
    bool foreignEvents = false;
    for (size_t f = 0; f < bufferCounts.size(); ++f) {
        EXPECT_LE(bufferCounts[f], Ostrel::EventBuffer::Capacity) << "frame " << f;
        if (floodPerFrame[f] > 0) ++framesWithFlood;
        if (bufferCounts[f] != floodPerFrame[f]) foreignEvents = true;
        if (f + 1 < floodPerFrame.size() && floodPerFrame[f + 1] > 0) {
            EXPECT_EQ(bufferCounts[f], Ostrel::EventBuffer::Capacity) << "frame " << f;
        }
    }
    // The key press is the 551st event: it arrives with the sixth hundred and
    // counts in that frame only.
    ASSERT_EQ(keyPressedFrames.size(), 1u);
    EXPECT_EQ(keyPressedFrames[0], keyDeliveredFrame);
    if (!foreignEvents) {
        // Nothing else was queued: exactly ten frames of 100.
        EXPECT_EQ(framesWithFlood, Flood / Ostrel::EventBuffer::Capacity);
        EXPECT_EQ(keyDeliveredFrame, FloodFrame + 1 + KeyPosition / Ostrel::EventBuffer::Capacity);
    } else {
        // SDL's own events took a few places: at most one frame more.
        EXPECT_LE(framesWithFlood, Flood / Ostrel::EventBuffer::Capacity + 1);
        EXPECT_LE(keyDeliveredFrame, FloodFrame + 2 + KeyPosition / Ostrel::EventBuffer::Capacity);
    }
}

}  // namespace
