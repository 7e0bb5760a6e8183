// RecordingPostProcessManager.h - the real Begin/End of the post-processing
// manager over a RecordingFramebuffer, so a test sees when a scene went
// offscreen and when an effect put it back on the window (the effect's shader
// counts its Use).
#pragma once

#include "RecordingFramebuffer.h"
#include "core/PostProcessManager.h"

namespace OstrelTest {

class RecordingPostProcessManager : public Ostrel::PostProcessManager {
public:
    RecordingFramebuffer recordingFramebuffer;
    int initializeCalls = 0;

    explicit RecordingPostProcessManager(Ostrel::Renderer* renderer);
    virtual ~RecordingPostProcessManager() = default;
    RecordingPostProcessManager(const RecordingPostProcessManager&) = delete;
    RecordingPostProcessManager& operator=(const RecordingPostProcessManager&) = delete;

    void Initialize() override;
};

}  // namespace OstrelTest
