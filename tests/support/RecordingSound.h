// RecordingSound.h - a Sound that plays nothing and counts its plays.
#pragma once

#include "core/SoundManager.h"

#include <string>
#include <vector>

namespace OstrelTest {

struct RecordingSound : public Ostrel::Sound {
    explicit RecordingSound(std::string name = "");
    virtual ~RecordingSound() = default;

    std::string name;
    int playCount = 0;
    int releaseCount = 0;
    // Optional shared journal: "sound.Play(<name>)" per play.
    std::vector<std::string>* journal = nullptr;

    void Play() override;
    void Release() override;
};

}  // namespace OstrelTest
