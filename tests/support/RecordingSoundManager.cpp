#include "RecordingSoundManager.h"

#include <utility>

namespace OstrelTest {

void RecordingSoundManager::Init() {
    ++initCalls;
}

// Music is not recorded beyond its path: nothing under test plays it.
Ostrel::Music* RecordingSoundManager::GetMusic(std::string) {
    return nullptr;
}

Ostrel::Music* RecordingSoundManager::LoadMusic(std::string path, std::string) {
    loadedPaths.push_back(std::move(path));
    return nullptr;
}

Ostrel::Music* RecordingSoundManager::LoadMusic(std::string path) {
    loadedPaths.push_back(std::move(path));
    return nullptr;
}

Ostrel::Sound* RecordingSoundManager::GetSound(std::string name) {
    return sounds[name];
}

Ostrel::Sound* RecordingSoundManager::LoadSound(std::string path, std::string name) {
    loadedPaths.push_back(std::move(path));
    RecordingSound*& slot = sounds[name];
    if (slot == nullptr) {
        owned.push_back(std::make_unique<RecordingSound>(name));
        slot = owned.back().get();
        slot->journal = journal;
    }
    return slot;
}

void RecordingSoundManager::ReleaseAll() {
    ++releaseAllCalls;
}

void RecordingSoundManager::Shutdown() {
    ++shutdownCalls;
}

int RecordingSoundManager::PlayCount(const std::string& name) const {
    const RecordingSound* sound = Find(name);
    return sound == nullptr ? 0 : sound->playCount;
}

RecordingSound* RecordingSoundManager::Find(const std::string& name) const {
    auto it = sounds.find(name);
    return it == sounds.end() ? nullptr : it->second;
}

}  // namespace OstrelTest
