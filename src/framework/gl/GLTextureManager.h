// GLTextureManager.h - textures by key, owned by the manager.
#pragma once

#include "../core/IImageLoader.h"
#include "../core/ITextureManager.h"
#include "../core/LifecycleState.h"

#include <map>
#include <string>

namespace Ostrel {

class GLTextureManager : public ITextureManager {
public:
    LifecycleState state = LifecycleCreated;
    IImageLoader* loader = nullptr;
    std::map<std::string, ITexture2D*> textures;

    explicit GLTextureManager(IImageLoader* loader);
    // Owns what it loaded: a copy would delete it twice.
    GLTextureManager(const GLTextureManager&) = delete;
    GLTextureManager& operator=(const GLTextureManager&) = delete;

    void Initialize() override;
    ITexture2D* LoadTexture(std::string path, std::string key) override;
    ITexture2D* LoadTexture(std::string path, TextureParameters params) override;
    ITexture2D* LoadTexture(std::string path, std::string key, TextureParameters params) override;
    ITexture2D* LoadTexture(std::string path) override;
    ITexture2D* CreateTexture(const unsigned char* pixels, unsigned width, unsigned height,
                              TextureParameters params) override;
    ITexture2D* CreateTexture(const unsigned char* pixels, unsigned width, unsigned height) override;
    ITexture2D* GetTexture(std::string key) override;
    bool FindKey(ITexture2D* texture, std::string* key) override;
    void UnloadTexture(std::string key) override;
    void UnloadAll() override;
    void Shutdown() override;
};

}  // namespace Ostrel
