// The SDL window manager with a real window on X: a click on the window's
// close button (the window manager's WM_DELETE_WINDOW message) reaches the
// close handler once, as one close request.
#include "core/EventBuffer.h"
#include "sdl/SDLWindowManager.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

// Last: Xlib's macros (None, Bool, Status) would break the headers above.
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace {

// Xlib through SDL's loader: the tests link no X library of their own.
class XlibCalls {
public:
    XlibCalls() {
        library = SDL_LoadObject("libX11.so.6");
        if (library == nullptr) return;
        openDisplay = reinterpret_cast<decltype(openDisplay)>(SDL_LoadFunction(library, "XOpenDisplay"));
        closeDisplay = reinterpret_cast<decltype(closeDisplay)>(SDL_LoadFunction(library, "XCloseDisplay"));
        internAtom = reinterpret_cast<decltype(internAtom)>(SDL_LoadFunction(library, "XInternAtom"));
        sendEvent = reinterpret_cast<decltype(sendEvent)>(SDL_LoadFunction(library, "XSendEvent"));
        flush = reinterpret_cast<decltype(flush)>(SDL_LoadFunction(library, "XFlush"));
    }
    ~XlibCalls() {
        if (library != nullptr) SDL_UnloadObject(library);
    }
    bool Ok() const { return openDisplay && closeDisplay && internAtom && sendEvent && flush; }

    // What the desktop's window manager sends when the close button is clicked.
    void SendDeleteWindow(::Window window) const {
        Display* display = openDisplay(nullptr);
        if (display == nullptr) return;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = internAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(internAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        sendEvent(display, window, False, NoEventMask, &event);
        flush(display);
        closeDisplay(display);
    }

private:
    void* library = nullptr;
    Display* (*openDisplay)(const char*) = nullptr;
    int (*closeDisplay)(Display*) = nullptr;
    Atom (*internAtom)(Display*, const char*, Bool) = nullptr;
    Status (*sendEvent)(Display*, ::Window, Bool, long, XEvent*) = nullptr;
    int (*flush)(Display*) = nullptr;
};

class SDLWindowOnX : public testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
        if (!xlib.Ok()) GTEST_SKIP() << "libX11 not found";
        Ostrel::WindowSettings settings;
        settings.title = "Ostrel window close test";
        settings.width = 160;
        settings.height = 120;
        windowManager.Create(settings);
        ASSERT_NE(windowManager.window, nullptr) << SDL_GetError();
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        ASSERT_TRUE(SDL_GetWindowWMInfo(windowManager.window, &info)) << SDL_GetError();
        ASSERT_EQ(info.subsystem, SDL_SYSWM_X11);
        xWindow = info.info.x11.window;
    }
    void TearDown() override {
        if (windowManager.window != nullptr) windowManager.Destroy();
    }

    // Clicks the close button, then runs frames (poll, process) until the
    // close has arrived and a little longer, so a late echo would be seen too.
    void CloseAndRunFrames() {
        xlib.SendDeleteWindow(xWindow);
        for (int frame = 0; frame < 40; ++frame) {
            buffer.PollEvents();
            windowManager.ProcessEvents();
            SDL_Delay(5);
        }
    }

    XlibCalls xlib;
    Ostrel::EventBuffer buffer;
    Ostrel::SDLWindowManager windowManager{&buffer};
    ::Window xWindow = 0;
};

TEST_F(SDLWindowOnX, CloseButtonAsksTheHandlerOnce) {
    int asked = 0;
    windowManager.closeHandler = [&](Ostrel::WindowCloseClickedEvent* event) {
        EXPECT_FALSE(event->handled);
        ++asked;
    };
    CloseAndRunFrames();
    EXPECT_EQ(asked, 1) << "one click, one question";
    EXPECT_TRUE(windowManager.closeRequested);
}

TEST_F(SDLWindowOnX, VetoedCloseButtonStaysVetoed) {
    int asked = 0;
    windowManager.closeHandler = [&](Ostrel::WindowCloseClickedEvent* event) {
        ++asked;
        event->handled = true;
    };
    CloseAndRunFrames();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(windowManager.closeRequested);
}

}  // namespace
