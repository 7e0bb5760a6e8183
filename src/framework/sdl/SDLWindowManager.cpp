#include "SDLWindowManager.h"

#include <GL/glew.h>

#include <iostream>

namespace Ostrel {

SDLWindowManager::SDLWindowManager(EventBuffer* events_) : events(events_) {}

void SDLWindowManager::Create(WindowSettings newSettings) {
    closeHandler = [](WindowCloseClickedEvent*) {};
    settings = newSettings;

    // The close button arrives as a window close event; SDL's default echo of
    // it as SDL_QUIT would ask the close handler a second time.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_Init(SDL_INIT_EVERYTHING) != 0) {
        // One subsystem that fails (typically audio without a sound card) makes
        // SDL_Init undo all the others; bring up what does work one by one.
        std::cerr << "SDL_Init: " << SDL_GetError() << std::endl;
        const Uint32 subsystems[] = {SDL_INIT_TIMER,          SDL_INIT_VIDEO,  SDL_INIT_EVENTS, SDL_INIT_JOYSTICK,
                                     SDL_INIT_GAMECONTROLLER, SDL_INIT_HAPTIC, SDL_INIT_SENSOR, SDL_INIT_AUDIO};
        for (Uint32 subsystem : subsystems) SDL_InitSubSystem(subsystem);
    }

    int x = settings.x;
    int y = settings.y;
    if (settings.centred) {
        x = SDL_WINDOWPOS_CENTERED;
        y = SDL_WINDOWPOS_CENTERED;
    }
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
    if (settings.fullscreen) flags |= SDL_WINDOW_FULLSCREEN;
    if (settings.resizable) flags |= SDL_WINDOW_RESIZABLE;

    window = SDL_CreateWindow(settings.title.c_str(), x, y, settings.width, settings.height, flags);

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    glContext = SDL_GL_CreateContext(window);

    glewExperimental = GL_TRUE;
    const GLenum result = glewInit();
    // On an EGL context (Wayland, the offscreen driver) GLEW finds no GLX
    // display but has loaded every entry point: that is not a failure.
    if (result != GLEW_OK && result != GLEW_ERROR_NO_GLX_DISPLAY) {
        std::cout << glewGetErrorString(result) << std::endl;
    }
}

void SDLWindowManager::Resize(int width, int height) {
    int x = settings.x;
    int y = settings.y;
    if (settings.fullscreen) {
        x = 0;
        y = 0;
    } else if (settings.centred) {
        x = SDL_WINDOWPOS_CENTERED;
        y = SDL_WINDOWPOS_CENTERED;
    }
    SDL_SetWindowSize(window, width, height);
    SDL_SetWindowPosition(window, x, y);
    settings.width = width;
    settings.height = height;
    WindowResizedEvent event;
    event.width = width;
    event.height = height;
    NotifyWindowResized(&event);
}

void SDLWindowManager::SetFullscreen() {
    SDL_SetWindowPosition(window, 0, 0);
    SDL_DisplayMode mode{};
    SDL_GetCurrentDisplayMode(0, &mode);
    SDL_SetWindowSize(window, mode.w, mode.h);
    SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    settings.width = mode.w;
    settings.height = mode.h;
    WindowResizedEvent event;
    event.width = mode.w;
    event.height = mode.h;
    NotifyWindowResized(&event);
}

void SDLWindowManager::ProcessEvents() {
    for (int32_t i = 0; i < events->count; ++i) {
        const SDL_Event& event = events->events[i];
#ifndef _WIN32
        // On POSIX systems SDL turns SIGINT and SIGTERM into SDL_QUIT; without
        // this the game could only be stopped by killing it. It asks the close
        // handler like a click on the window's close button.
        if (event.type == SDL_QUIT) {
            WindowCloseClickedEvent close;
            close.handled = false;
            if (closeHandler) closeHandler(&close);
            if (!close.handled) closeRequested = true;
            continue;
        }
#endif
        if (event.type != SDL_WINDOWEVENT) continue;
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
            WindowCloseClickedEvent close;
            close.handled = false;
            if (closeHandler) closeHandler(&close);
            if (!close.handled) closeRequested = true;
        } else if (event.window.event == SDL_WINDOWEVENT_RESIZED) {
            // Drawable pixels: larger than the window size on high-density displays.
            SDL_GL_GetDrawableSize(window, &settings.width, &settings.height);
            WindowResizedEvent resized;
            resized.width = settings.width;
            resized.height = settings.height;
            NotifyWindowResized(&resized);
        }
    }
}

void SDLWindowManager::SwapBuffers() {
    SDL_GL_SwapWindow(window);
}

void SDLWindowManager::Destroy() {
    // The context belongs to this manager too; release it before its window.
    if (glContext != nullptr) SDL_GL_DeleteContext(glContext);
    glContext = nullptr;
    SDL_DestroyWindow(window);
    window = nullptr;
    SDL_Quit();
}

}  // namespace Ostrel
