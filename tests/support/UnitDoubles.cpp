#include "UnitDoubles.h"

#include <algorithm>

namespace OstrelTest {

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

const SpriteCall* SpriteRecorder::Of(const Ostrel::ITexture2D* t) const {
    for (const SpriteCall& c : draws)
        if (c.texture == t) return &c;
    return nullptr;
}

const TextCall* TextRecorder::Of(const std::string& text) const {
    for (const TextCall& c : draws)
        if (c.text == text) return &c;
    return nullptr;
}

Ostrel::ITexture2D* TextureRecorder::Load(const std::string& path, const std::string& key) {
    paths.push_back(path);
    textures[key] = std::make_unique<FakeTexture>(16, 16);
    return textures[key].get();
}

Ostrel::ITexture2D* TextureRecorder::CreateTexture(const unsigned char* px, unsigned w, unsigned h,
                                                   Ostrel::TextureParameters params) {
    const size_t bpp = params.channels == 1 ? 1 : params.channels == 3 ? 3 : 4;
    created.emplace_back();
    if (px != nullptr) created.back().assign(px, px + w * h * bpp);
    return new FakeTexture(w, h);
}

Ostrel::ITexture2D* TextureRecorder::GetTexture(std::string key) {
    auto it = textures.find(key);
    return it == textures.end() ? nullptr : it->second.get();
}

bool TextureRecorder::FindKey(Ostrel::ITexture2D* texture, std::string* key) {
    for (auto& [k, t] : textures)
        if (t.get() == texture && texture != nullptr) {
            *key = k;
            return true;
        }
    return false;
}

Ostrel::Sound* SoundRecorder::GetSound(std::string name) {
    auto it = sounds.find(name);
    return it == sounds.end() ? nullptr : it->second.get();
}

Ostrel::Sound* SoundRecorder::LoadSound(std::string, std::string name) {
    auto& slot = sounds[name];
    if (!slot) slot = std::make_unique<CountingSound>();
    return slot.get();
}

int SoundRecorder::Plays(const std::string& name) const {
    auto it = sounds.find(name);
    return it == sounds.end() ? 0 : it->second->plays;
}

void WindowRecorder::Resize(int width, int height) {
    settings.width = width;
    settings.height = height;
    Ostrel::WindowResizedEvent event{width, height};
    NotifyWindowResized(&event);
}

}  // namespace OstrelTest
