// RecordingTextureManager.h - an ITextureManager without GL. Textures are
// RecordingTextures; every creation and every deletion is recorded, so a test
// can tell which textures a component made and whether each died exactly once.
#pragma once

#include "RecordingTexture.h"
#include "core/ITextureManager.h"

#include <map>
#include <string>
#include <vector>

namespace OstrelTest {

class RecordingTextureManager : public Ostrel::ITextureManager {
public:
    std::vector<RecordingTexture*> created;               // every CreateTexture result, in order
    std::vector<const Ostrel::ITexture2D*> deleted;       // every texture destroyed, in order
    std::map<std::string, Ostrel::ITexture2D*> textures;  // keyed loads, owned
    std::vector<std::string> loadedPaths;                 // paths given to LoadTexture, in order
    bool initialised = false;
    bool shutDown = false;

    RecordingTextureManager() = default;
    ~RecordingTextureManager();
    RecordingTextureManager(const RecordingTextureManager&) = delete;
    RecordingTextureManager& operator=(const RecordingTextureManager&) = delete;

    // How often `texture` was destroyed (compares addresses only).
    int DeleteCount(const Ostrel::ITexture2D* texture) const;

    void Initialize() override;
    Ostrel::ITexture2D* LoadTexture(std::string path, std::string key) override;
    Ostrel::ITexture2D* LoadTexture(std::string path, Ostrel::TextureParameters params) override;
    Ostrel::ITexture2D* LoadTexture(std::string path, std::string key, Ostrel::TextureParameters params) override;
    Ostrel::ITexture2D* LoadTexture(std::string path) override;
    Ostrel::ITexture2D* CreateTexture(const unsigned char* pixels, unsigned width, unsigned height,
                                      Ostrel::TextureParameters params) override;
    Ostrel::ITexture2D* CreateTexture(const unsigned char* pixels, unsigned width, unsigned height) override;
    Ostrel::ITexture2D* GetTexture(std::string key) override;
    bool FindKey(Ostrel::ITexture2D* texture, std::string* key) override;
    void UnloadTexture(std::string key) override;
    void UnloadAll() override;
    void Shutdown() override;

private:
    RecordingTexture* Make(const unsigned char* pixels, unsigned width, unsigned height,
                           Ostrel::TextureParameters params);
};

}  // namespace OstrelTest
