#include "RecordingPostProcessManager.h"

namespace OstrelTest {

RecordingPostProcessManager::RecordingPostProcessManager(Ostrel::Renderer* renderer)
    : Ostrel::PostProcessManager(renderer) {
    framebuffer = &recordingFramebuffer;
}

void RecordingPostProcessManager::Initialize() {
    ++initializeCalls;
    state = Ostrel::LifecycleInitialised;
}

}  // namespace OstrelTest
