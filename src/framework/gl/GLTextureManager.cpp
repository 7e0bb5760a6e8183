#include "GLTextureManager.h"

#include "GLTexture2D.h"

#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

namespace Ostrel {

namespace {

// Bytes per pixel that GLTexture2D reads for the given channel parameter.
uint32_t UploadBytesPerPixel(int32_t channels) {
    if (channels == 1) return 1;
    if (channels == 3) return 3;
    return 4;
}

// A loader may hand back fewer bytes per pixel than the requested format reads
// (e.g. grey + alpha into RGBA). Widen such a block instead of letting GL read
// past its end: grey is replicated, a missing alpha is opaque.
std::vector<uint8_t> WidenPixels(const ImageData& image, uint32_t dstChannels) {
    const size_t count = static_cast<size_t>(image.width) * image.height;
    std::vector<uint8_t> out(count * dstChannels);
    const uint32_t src = image.channels;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = image.pixels + i * src;
        uint8_t rgba[4];
        if (src == 0) {
            rgba[0] = rgba[1] = rgba[2] = 0;
            rgba[3] = 255;
        } else if (src <= 2) {
            rgba[0] = rgba[1] = rgba[2] = p[0];
            rgba[3] = src == 2 ? p[1] : 255;
        } else {
            rgba[0] = p[0];
            rgba[1] = p[1];
            rgba[2] = p[2];
            rgba[3] = 255;
        }
        for (uint32_t c = 0; c < dstChannels; ++c) out[i * dstChannels + c] = rgba[c];
    }
    return out;
}

}  // namespace

GLTextureManager::GLTextureManager(IImageLoader* loader_) : loader(loader_) {}

void GLTextureManager::Initialize() {
    state = LifecycleInitialised;
}

ITexture2D* GLTextureManager::LoadTexture(std::string path, std::string key) {
    return LoadTexture(std::move(path), std::move(key), TextureParameters());
}

ITexture2D* GLTextureManager::LoadTexture(std::string path, TextureParameters params) {
    std::string key = path;
    return LoadTexture(std::move(path), std::move(key), params);
}

ITexture2D* GLTextureManager::LoadTexture(std::string path, std::string key, TextureParameters params) {
    ImageData* image = loader->LoadImage(path, params.loadMode);
    if (image == nullptr) image = new ImageData();

    auto it = textures.find(key);
    if (it != textures.end() && it->second != nullptr) {
        it->second->Unload();
        delete it->second;
        it->second = nullptr;
    }

    if (params.channels == -1) params.channels = static_cast<int32_t>(image->channels);

    ITexture2D* texture = nullptr;
    const uint32_t needed = UploadBytesPerPixel(params.channels);
    if (image->pixels != nullptr && image->channels < needed) {
        std::vector<uint8_t> widened = WidenPixels(*image, needed);
        texture = new GLTexture2D(widened.data(), image->width, image->height, params);
    } else {
        texture = new GLTexture2D(image->pixels, image->width, image->height, params);
    }
    textures[key] = texture;
    delete image;
    return textures[key];
}

ITexture2D* GLTextureManager::LoadTexture(std::string path) {
    std::string key = path;
    return LoadTexture(std::move(path), std::move(key), TextureParameters());
}

ITexture2D* GLTextureManager::CreateTexture(const unsigned char* pixels, unsigned width, unsigned height,
                                            TextureParameters params) {
    return new GLTexture2D(pixels, width, height, params);
}

ITexture2D* GLTextureManager::CreateTexture(const unsigned char* pixels, unsigned width, unsigned height) {
    return CreateTexture(pixels, width, height, TextureParameters());
}

ITexture2D* GLTextureManager::GetTexture(std::string key) {
    return textures[key];
}

bool GLTextureManager::FindKey(ITexture2D* texture, std::string* key) {
    if (texture == nullptr) return false;
    for (const auto& entry : textures) {
        if (entry.second == texture) {
            *key = entry.first;
            return true;
        }
    }
    return false;
}

void GLTextureManager::UnloadTexture(std::string key) {
    ITexture2D* texture = textures.at(key);  // throws std::out_of_range for an absent key
    delete texture;
    textures.erase(key);
}

void GLTextureManager::UnloadAll() {
    for (auto& entry : textures) delete entry.second;
    textures.clear();
}

void GLTextureManager::Shutdown() {
    UnloadAll();
    state = LifecycleReleased;
}

}  // namespace Ostrel
