#include "RecordingSound.h"

#include <utility>

namespace OstrelTest {

RecordingSound::RecordingSound(std::string name_) : name(std::move(name_)) {}

void RecordingSound::Play() {
    ++playCount;
    if (journal != nullptr) journal->push_back("sound.Play(" + name + ")");
}

void RecordingSound::Release() {
    ++releaseCount;
}

}  // namespace OstrelTest
