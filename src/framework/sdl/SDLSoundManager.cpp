#include "SDLSoundManager.h"

#include <SDL.h>

#include <iostream>

namespace Ostrel {

SDLMusic::SDLMusic(Mix_Music* music) : state(LifecycleCreated), mixMusic(music) {}

SDLMusic::~SDLMusic() {
    Release();
}

void SDLMusic::Release() {
    if (state != LifecycleReleased && mixMusic != nullptr) Mix_FreeMusic(mixMusic);
    mixMusic = nullptr;
    state = LifecycleReleased;
}

SDLSound::SDLSound(Mix_Chunk* chunk_) : state(LifecycleCreated), chunk(chunk_) {}

SDLSound::~SDLSound() {
    Release();
}

void SDLSound::Play() {
    if (chunk != nullptr) Mix_PlayChannel(-1, chunk, 0);
}

void SDLSound::Release() {
    if (state != LifecycleReleased && chunk != nullptr) Mix_FreeChunk(chunk);
    chunk = nullptr;
    state = LifecycleReleased;
}

void SDLSoundManager::Init() {
    if (SDL_Init(SDL_INIT_AUDIO) == -1) {
        std::cerr << "Error initializing SDL audio subsystem..." << std::endl;
        return;
    }
    if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 4096) == -1) {
        std::cerr << "Error initializing audio device..." << std::endl;
    }
}

Music* SDLSoundManager::GetMusic(std::string name) {
    return music[name];
}

Music* SDLSoundManager::LoadMusic(std::string path, std::string name) {
    Mix_Music* stream = Mix_LoadMUS(path.c_str());
    if (stream == nullptr) {
        std::cerr << "Error loading music file: " << path << std::endl;
        return nullptr;
    }
    auto* object = new SDLMusic(stream);
    // A null entry left by an earlier GetMusic is a placeholder, not a first
    // music: the load fills it.
    SDLMusic*& stored = music[name];
    if (stored == nullptr) {
        stored = object;
    } else {
        // A duplicate keeps playing below, so it cannot be freed now; it is
        // kept aside and freed with the rest in ReleaseAll.
        unnamedMusic.push_back(object);
    }
    Mix_PlayMusic(stream, -1);
    return stored;
}

Music* SDLSoundManager::LoadMusic(std::string path) {
    return LoadMusic(path, path);
}

Sound* SDLSoundManager::GetSound(std::string name) {
    return sounds[name];
}

Sound* SDLSoundManager::LoadSound(std::string path, std::string name) {
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (chunk == nullptr) {
        std::cerr << "Error loading sound file: " << path << std::endl;
        return nullptr;
    }
    auto* object = new SDLSound(chunk);
    // The first sound loaded under a name stays and a later one is freed at
    // once; a null entry left by an earlier GetSound is filled.
    SDLSound*& stored = sounds[name];
    if (stored == nullptr)
        stored = object;
    else
        delete object;
    return stored;
}

void SDLSoundManager::ReleaseAll() {
    // Null entries (from lookups of names never loaded) are skipped.
    for (auto& entry : music) {
        if (entry.second == nullptr) continue;
        entry.second->Release();
        delete entry.second;
    }
    music.clear();
    for (SDLMusic* orphan : unnamedMusic) {
        orphan->Release();
        delete orphan;
    }
    unnamedMusic.clear();
    for (auto& entry : sounds) {
        if (entry.second == nullptr) continue;
        entry.second->Release();
        delete entry.second;
    }
    sounds.clear();
}

void SDLSoundManager::Shutdown() {
    ReleaseAll();
    Mix_Quit();
}

}  // namespace Ostrel
