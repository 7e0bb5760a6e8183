#include "RecordingWindowManager.h"

#include <utility>

namespace OstrelTest {

void RecordingWindowManager::Resize(int width, int height) {
    ++resizeCalls;
    settings.width = width;
    settings.height = height;
    Ostrel::WindowResizedEvent event;
    event.width = width;
    event.height = height;
    NotifyWindowResized(&event);
}

void RecordingWindowManager::SetFullscreen() {
    ++fullscreenCalls;
}

void RecordingWindowManager::Create(Ostrel::WindowSettings newSettings) {
    ++createCalls;
    settings = std::move(newSettings);
}

void RecordingWindowManager::ProcessEvents() {
    ++processEventsCalls;
}

void RecordingWindowManager::SwapBuffers() {
    ++swapCalls;
}

void RecordingWindowManager::Destroy() {
    ++destroyCalls;
}

}  // namespace OstrelTest
