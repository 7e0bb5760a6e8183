// RecordingSoundManager.h - a SoundManager without audio. Loading a sound makes
// a RecordingSound under its name, so a test can count what was played. Like
// the real manager: the first sound under a name is kept, and looking up an
// absent name adds an entry holding null.
#pragma once

#include "RecordingSound.h"
#include "core/SoundManager.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace OstrelTest {

class RecordingSoundManager : public Ostrel::SoundManager {
public:
    std::map<std::string, RecordingSound*> sounds;
    std::vector<std::string> loadedPaths;  // every LoadSound/LoadMusic path, in call order
    int initCalls = 0;
    int releaseAllCalls = 0;
    int shutdownCalls = 0;
    std::vector<std::string>* journal = nullptr;  // handed to every sound made from now on

    RecordingSoundManager() = default;
    virtual ~RecordingSoundManager() = default;

    void Init() override;
    Ostrel::Music* GetMusic(std::string name) override;
    Ostrel::Music* LoadMusic(std::string path, std::string name) override;
    Ostrel::Music* LoadMusic(std::string path) override;
    Ostrel::Sound* GetSound(std::string name) override;
    Ostrel::Sound* LoadSound(std::string path, std::string name) override;
    void ReleaseAll() override;
    void Shutdown() override;

    // Plays of the sound under `name`; 0 when there is none.
    int PlayCount(const std::string& name) const;
    RecordingSound* Find(const std::string& name) const;

private:
    std::vector<std::unique_ptr<RecordingSound>> owned;
};

}  // namespace OstrelTest
