#include "SteadyTimeManager.h"

namespace OstrelTest {

void SteadyTimeManager::EndFrame() {
    ++frames;
    totalSeconds += deltaMs / 1000.0f;
}

}  // namespace OstrelTest
