// The SDL window manager with a real window: an OpenGL ES 3 context on
// creation, resizes (asked for or reported by the system) told to listeners,
// and the close button answered through the close handler.
#include "core/EventBuffer.h"
#include "sdl/SDLWindowManager.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace Ostrel;

namespace {

void PushWindowEvent(SDL_Window* window, Uint8 type) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = type;
    event.window.windowID = SDL_GetWindowID(window);
    SDL_PushEvent(&event);
}

TEST(SDLWindow, CreatesAContextFollowsResizesAndAsksBeforeClosing) {
    if (std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    EventBuffer events;
    SDLWindowManager manager(&events);
    WindowSettings settings;
    settings.title = "gl window test";
    settings.width = 640;
    settings.height = 480;
    manager.Create(settings);
    ASSERT_NE(manager.window, nullptr);
    ASSERT_NE(manager.glContext, nullptr);
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ASSERT_NE(version, nullptr);
    EXPECT_NE(std::string(version).find("OpenGL ES 3"), std::string::npos) << version;
    EXPECT_TRUE(SDL_GetWindowFlags(manager.window) & SDL_WINDOW_RESIZABLE);

    std::vector<std::pair<int, int>> heard;
    manager.AddWindowResizedListener([&](WindowResizedEvent* e) { heard.emplace_back(e->width, e->height); });
    manager.Resize(800, 600);
    int w = 0, h = 0;
    SDL_GetWindowSize(manager.window, &w, &h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(800, 600));
    EXPECT_EQ(manager.settings.width, 800);

    // A resize reported by the system is told with the drawable size.
    SDL_PumpEvents();
    SDL_FlushEvent(SDL_WINDOWEVENT);
    PushWindowEvent(manager.window, SDL_WINDOWEVENT_RESIZED);
    events.PollEvents();
    manager.ProcessEvents();
    const std::vector<std::pair<int, int>> expected = {{800, 600}, {800, 600}};
    EXPECT_EQ(heard, expected);

    // The close button asks the handler, which may refuse.
    bool refuse = true;
    manager.closeHandler = [&](WindowCloseClickedEvent* e) { e->handled = refuse; };
    for (bool refused : {true, false}) {
        refuse = refused;
        PushWindowEvent(manager.window, SDL_WINDOWEVENT_CLOSE);
        events.PollEvents();
        manager.ProcessEvents();
        EXPECT_EQ(manager.closeRequested, !refused);
    }
    manager.SwapBuffers();
    manager.Destroy();
    EXPECT_EQ(manager.window, nullptr);
}

}  // namespace
