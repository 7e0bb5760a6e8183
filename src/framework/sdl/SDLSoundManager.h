// SDLSoundManager.h - music and sounds on SDL2_mixer.
#pragma once

#include "../core/LifecycleState.h"
#include "../core/SoundManager.h"

#include <SDL_mixer.h>

#include <map>
#include <string>
#include <vector>

namespace Ostrel {

struct SDLMusic final : public Music {
    int32_t state = LifecycleCreated;
    Mix_Music* mixMusic = nullptr;

    explicit SDLMusic(Mix_Music* music);
    ~SDLMusic();
    void Release() override;
};

struct SDLSound final : public Sound {
    int32_t state = LifecycleCreated;
    Mix_Chunk* chunk = nullptr;

    explicit SDLSound(Mix_Chunk* chunk);
    ~SDLSound();
    void Play() override;
    void Release() override;
};

class SDLSoundManager : public SoundManager {
public:
    std::map<std::string, SDLMusic*> music;
    std::map<std::string, SDLSound*> sounds;
    // Music loaded under a name already taken: not reachable by name, but
    // playing, so it is freed only by ReleaseAll.
    std::vector<SDLMusic*> unnamedMusic;

    void Init() override;
    Music* GetMusic(std::string name) override;
    Music* LoadMusic(std::string path, std::string name) override;
    Music* LoadMusic(std::string path) override;
    Sound* GetSound(std::string name) override;
    Sound* LoadSound(std::string path, std::string name) override;
    void ReleaseAll() override;
    void Shutdown() override;
};

}  // namespace Ostrel
