// ITextureManager.h - textures loaded from pictures, owned under string keys.
#pragma once

#include "ITexture2D.h"

#include <string>

namespace Ostrel {

class ITextureManager {
public:
    virtual void Initialize() = 0;
    virtual ITexture2D* LoadTexture(std::string path, std::string key) = 0;
    virtual ITexture2D* LoadTexture(std::string path, TextureParameters params) = 0;
    virtual ITexture2D* LoadTexture(std::string path, std::string key, TextureParameters params) = 0;
    virtual ITexture2D* LoadTexture(std::string path) = 0;
    virtual ITexture2D* CreateTexture(const unsigned char* pixels, unsigned width, unsigned height,
                                      TextureParameters params) = 0;
    virtual ITexture2D* CreateTexture(const unsigned char* pixels, unsigned width, unsigned height) = 0;
    virtual ITexture2D* GetTexture(std::string key) = 0;
    virtual bool FindKey(ITexture2D* texture, std::string* key) = 0;
    virtual void UnloadTexture(std::string key) = 0;
    virtual void UnloadAll() = 0;
    virtual void Shutdown() = 0;

protected:
    ITextureManager() = default;
    ~ITextureManager() = default;
};

}  // namespace Ostrel
