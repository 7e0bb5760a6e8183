// The frame's event buffer and the window manager's event handling, without a
// window: SDL's event queue needs only the events subsystem.
#include "core/EventBuffer.h"
#include "sdl/SDLWindowManager.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class SdlEvents : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_EVENTS); }

    static void PushUser(int code) {
        SDL_Event e{};
        e.type = SDL_USEREVENT;
        e.user.code = code;
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    }
};

SDL_Event WindowEvent(Uint8 kind) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = kind;
    return e;
}

}  // namespace

TEST_F(SdlEvents, EmptyQueueGivesZeroCount) {
    Ostrel::EventBuffer buffer;
    buffer.count = 5;
    buffer.PollEvents();
    EXPECT_EQ(buffer.count, 0);
}

TEST_F(SdlEvents, EventsArriveInOrder) {
    for (int i = 0; i < 10; ++i) PushUser(i);
    Ostrel::EventBuffer buffer;
    buffer.PollEvents();
    ASSERT_EQ(buffer.count, 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(buffer.events[i].type, static_cast<Uint32>(SDL_USEREVENT));
        EXPECT_EQ(buffer.events[i].user.code, i);
    }
}

TEST_F(SdlEvents, EventsBeyondCapacityWaitForNextFrame) {
    for (int i = 0; i < 150; ++i) PushUser(i);
    Ostrel::EventBuffer buffer;
    buffer.PollEvents();
    ASSERT_EQ(buffer.count, 100);
    EXPECT_EQ(buffer.events[99].user.code, 99);
    buffer.PollEvents();
    ASSERT_EQ(buffer.count, 50);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(buffer.events[i].user.code, 100 + i) << i;
    buffer.PollEvents();
    EXPECT_EQ(buffer.count, 0);
}

TEST(WindowSettings, Defaults) {
    const Ostrel::WindowSettings s;
    EXPECT_EQ(s.title, "Ostrel Framework");
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.y, 0);
    EXPECT_EQ(s.width, 800);
    EXPECT_EQ(s.height, 600);
    EXPECT_TRUE(s.centred);
    EXPECT_FALSE(s.fullscreen);
    EXPECT_TRUE(s.resizable);
}

TEST(WindowManager, ConstructedWithoutCloseRequestOrListeners) {
    Ostrel::EventBuffer buffer;
    Ostrel::SDLWindowManager window(&buffer);
    EXPECT_FALSE(window.closeRequested);
    EXPECT_TRUE(window.resizeListeners.empty());
    EXPECT_EQ(window.events, &buffer);
    EXPECT_EQ(window.window, nullptr);
}

TEST(WindowManager, ResizeReachesListenersInOrderBeforeReturning) {
    Ostrel::EventBuffer buffer;
    Ostrel::SDLWindowManager window(&buffer);
    std::vector<std::pair<int, int>> heard;  // (listener, width)
    window.AddWindowResizedListener([&](Ostrel::WindowResizedEvent* e) { heard.push_back({1, e->width}); });
    window.AddWindowResizedListener([&](Ostrel::WindowResizedEvent* e) { heard.push_back({2, e->height}); });
    window.Resize(1024, 768);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0], std::make_pair(1, 1024));
    EXPECT_EQ(heard[1], std::make_pair(2, 768));
    EXPECT_EQ(window.settings.width, 1024);
    EXPECT_EQ(window.settings.height, 768);

    // A listener added later hears only later resizes.
    int late = 0;
    window.AddWindowResizedListener([&](Ostrel::WindowResizedEvent*) { ++late; });
    EXPECT_EQ(late, 0);
    window.Resize(640, 480);
    EXPECT_EQ(late, 1);
    EXPECT_EQ(heard.size(), 4u);
}

TEST(WindowManager, ListenerAddedDuringAResizeHearsFromTheNextOne) {
    Ostrel::EventBuffer buffer;
    Ostrel::SDLWindowManager window(&buffer);
    std::vector<int> lateWidths;
    bool addedOnce = false;
    window.AddWindowResizedListener([&](Ostrel::WindowResizedEvent*) {
        if (addedOnce) return;
        addedOnce = true;
        // Enough to make the vector move its elements under the running listener.
        for (int i = 0; i < 16; ++i)
            window.AddWindowResizedListener([&](Ostrel::WindowResizedEvent* e) { lateWidths.push_back(e->width); });
    });
    int after = 0;
    window.AddWindowResizedListener([&](Ostrel::WindowResizedEvent*) { ++after; });

    window.Resize(1024, 768);
    EXPECT_EQ(after, 1) << "listeners present at the resize are all called";
    EXPECT_TRUE(lateWidths.empty());
    window.Resize(640, 480);
    EXPECT_EQ(after, 2);
    EXPECT_EQ(lateWidths, std::vector<int>(16, 640));
}

TEST(WindowManager, AllListenersSeeTheSameEvent) {
    Ostrel::EventBuffer buffer;
    Ostrel::SDLWindowManager window(&buffer);
    std::vector<Ostrel::WindowResizedEvent*> seen;
    for (int i = 0; i < 3; ++i)
        window.AddWindowResizedListener([&](Ostrel::WindowResizedEvent* e) { seen.push_back(e); });
    Ostrel::WindowResizedEvent event{300, 200};
    window.NotifyWindowResized(&event);
    ASSERT_EQ(seen.size(), 3u);
    for (auto* e : seen) EXPECT_EQ(e, &event);
}

TEST(WindowManager, CloseEventRequestsCloseUnlessVetoed) {
    Ostrel::EventBuffer buffer;
    Ostrel::SDLWindowManager window(&buffer);
    int asked = 0;
    bool veto = true;
    window.closeHandler = [&](Ostrel::WindowCloseClickedEvent* e) {
        EXPECT_FALSE(e->handled);
        ++asked;
        e->handled = veto;
    };
    buffer.events[0] = WindowEvent(SDL_WINDOWEVENT_CLOSE);
    buffer.count = 1;
    window.ProcessEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(window.closeRequested);

    veto = false;
    buffer.events[1] = WindowEvent(SDL_WINDOWEVENT_CLOSE);
    buffer.count = 2;
    window.ProcessEvents();
    EXPECT_EQ(asked, 3);  // two close events, two calls
    EXPECT_TRUE(window.closeRequested);

    // Once requested it stays requested, even if a later close is vetoed.
    veto = true;
    window.ProcessEvents();
    EXPECT_TRUE(window.closeRequested);
}

TEST(WindowManager, OtherEventsAreNotCloseRequests) {
    Ostrel::EventBuffer buffer;
    Ostrel::SDLWindowManager window(&buffer);
    window.closeHandler = [](Ostrel::WindowCloseClickedEvent*) {};
    buffer.events[0] = WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    buffer.events[1].type = SDL_KEYDOWN;
    buffer.events[2] = WindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    buffer.count = 3;
    window.ProcessEvents();
    EXPECT_FALSE(window.closeRequested);
}

#ifndef _WIN32
TEST(WindowManager, QuitFromASignalAsksTheCloseHandlerLikeTheCloseButton) {
    Ostrel::EventBuffer buffer;
    Ostrel::SDLWindowManager window(&buffer);
    bool veto = true;
    int asked = 0;
    window.closeHandler = [&](Ostrel::WindowCloseClickedEvent* e) {
        ++asked;
        e->handled = veto;
    };
    buffer.events[0].type = SDL_QUIT;
    buffer.count = 1;
    window.ProcessEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(window.closeRequested);  // vetoed
    veto = false;
    window.ProcessEvents();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(window.closeRequested);
}
#endif

TEST(WindowManager, OnlyCountedEventsAreScanned) {
    Ostrel::EventBuffer buffer;
    Ostrel::SDLWindowManager window(&buffer);
    window.closeHandler = [](Ostrel::WindowCloseClickedEvent*) {};
    buffer.events[0] = WindowEvent(SDL_WINDOWEVENT_CLOSE);  // stale, from an earlier frame
    buffer.count = 0;
    window.ProcessEvents();
    EXPECT_FALSE(window.closeRequested);
}
