// RecordingWindowManager.h - a WindowManager without SDL: Resize updates the
// settings and notifies the resize listeners in order, as the SDL back end
// does; the other operations only count their calls.
#pragma once

#include "core/WindowManager.h"

namespace OstrelTest {

class RecordingWindowManager : public Ostrel::WindowManager {
public:
    int createCalls = 0;
    int resizeCalls = 0;
    int fullscreenCalls = 0;
    int processEventsCalls = 0;
    int swapCalls = 0;
    int destroyCalls = 0;

    RecordingWindowManager() = default;
    ~RecordingWindowManager() = default;
    RecordingWindowManager(const RecordingWindowManager&) = delete;
    RecordingWindowManager& operator=(const RecordingWindowManager&) = delete;

    void Resize(int width, int height) override;
    void SetFullscreen() override;
    void Create(Ostrel::WindowSettings settings) override;
    void ProcessEvents() override;
    void SwapBuffers() override;
    void Destroy() override;
};

}  // namespace OstrelTest
