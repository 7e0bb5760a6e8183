#include "RecordingTextureManager.h"

#include <algorithm>

namespace OstrelTest {

namespace {
size_t BytesPerPixel(int channels) {
    return channels == 1 ? 1 : channels == 3 ? 3 : 4;
}
}  // namespace

RecordingTextureManager::~RecordingTextureManager() {
    // Textures handed out by CreateTexture belong to the caller; only keyed ones are ours.
    UnloadAll();
}

int RecordingTextureManager::DeleteCount(const Ostrel::ITexture2D* texture) const {
    return static_cast<int>(std::count(deleted.begin(), deleted.end(), texture));
}

RecordingTexture* RecordingTextureManager::Make(const unsigned char* pixels, unsigned width, unsigned height,
                                                Ostrel::TextureParameters params) {
    auto* texture = new RecordingTexture(pixels, width, height, params, BytesPerPixel(params.channels));
    texture->onDelete = [this](RecordingTexture* gone) { deleted.push_back(gone); };
    return texture;
}

void RecordingTextureManager::Initialize() {
    initialised = true;
}

Ostrel::ITexture2D* RecordingTextureManager::LoadTexture(std::string path, std::string key) {
    return LoadTexture(path, key, Ostrel::TextureParameters());
}

Ostrel::ITexture2D* RecordingTextureManager::LoadTexture(std::string path, Ostrel::TextureParameters params) {
    return LoadTexture(path, path, params);
}

Ostrel::ITexture2D* RecordingTextureManager::LoadTexture(std::string path, std::string key,
                                                         Ostrel::TextureParameters params) {
    loadedPaths.push_back(path);
    auto it = textures.find(key);
    if (it != textures.end()) delete it->second;
    Ostrel::ITexture2D* texture = Make(nullptr, 0, 0, params);
    textures[key] = texture;
    return texture;
}

Ostrel::ITexture2D* RecordingTextureManager::LoadTexture(std::string path) {
    return LoadTexture(path, path, Ostrel::TextureParameters());
}

Ostrel::ITexture2D* RecordingTextureManager::CreateTexture(const unsigned char* pixels, unsigned width, unsigned height,
                                                           Ostrel::TextureParameters params) {
    RecordingTexture* texture = Make(pixels, width, height, params);
    created.push_back(texture);
    return texture;
}

Ostrel::ITexture2D* RecordingTextureManager::CreateTexture(const unsigned char* pixels, unsigned width,
                                                           unsigned height) {
    return CreateTexture(pixels, width, height, Ostrel::TextureParameters());
}

Ostrel::ITexture2D* RecordingTextureManager::GetTexture(std::string key) {
    return textures[key];
}

bool RecordingTextureManager::FindKey(Ostrel::ITexture2D* texture, std::string* key) {
    if (texture == nullptr) return false;
    for (const auto& entry : textures) {
        if (entry.second == texture) {
            *key = entry.first;
            return true;
        }
    }
    return false;
}

void RecordingTextureManager::UnloadTexture(std::string key) {
    delete textures.at(key);
    textures.erase(key);
}

void RecordingTextureManager::UnloadAll() {
    for (auto& entry : textures) delete entry.second;
    textures.clear();
}

void RecordingTextureManager::Shutdown() {
    UnloadAll();
    shutDown = true;
}

}  // namespace OstrelTest
