// SoundManager.h - music streams and sound effects loaded under names.
#pragma once

#include <string>

namespace Ostrel {

struct Music {
    virtual void Release() = 0;

protected:
    ~Music() = default;
};

struct Sound {
    virtual void Play() = 0;
    virtual void Release() = 0;

protected:
    ~Sound() = default;
};

class SoundManager {
public:
    virtual void Init() = 0;
    virtual Music* GetMusic(std::string name) = 0;
    virtual Music* LoadMusic(std::string path, std::string name) = 0;
    virtual Music* LoadMusic(std::string path) = 0;
    virtual Sound* GetSound(std::string name) = 0;
    virtual Sound* LoadSound(std::string path, std::string name) = 0;
    virtual void ReleaseAll() = 0;
    virtual void Shutdown() = 0;

protected:
    SoundManager() = default;
    ~SoundManager() = default;
};

}  // namespace Ostrel
