// GameData.h - the settings block shared by Game and its screens, and the
// full-screen effect the screens draw through.
#pragma once

#include "core/Math.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace Ostrel {
class Font;
class EffectInstance;
class TexturePicker;
}  // namespace Ostrel

enum class PostEffect : int32_t { None = 0, CRT = 1, OrderedDither = 2, Gameboy = 3 };

// Used when the configuration has no usable "animation_speed": a half turn in
// about 314 ms, slow enough to see the card turn.
constexpr float DefaultAnimationSpeed = 0.01f;

struct GameData {
    bool editorVisible = false;
    bool gameFinished = false;
    bool newGameRequested = false;
    int32_t cardCount = 12;
    Ostrel::Font* font = nullptr;
    float fontScale = 0.5f;
    PostEffect postEffect = PostEffect::None;
    Ostrel::vec4 menuColor{1.0f, 1.0f, 1.0f, 1.0f};
    Ostrel::vec4 menuSelectionColor{1.0f, 1.0f, 0.0f, 1.0f};
    Ostrel::EffectInstance* crtEffect = nullptr;
    Ostrel::EffectInstance* ditherEffect = nullptr;
    Ostrel::EffectInstance* gameboyEffect = nullptr;
    std::vector<std::string> textureNames;
    std::function<void(float)> onAnimationSpeedChanged;
    float animationSpeed = DefaultAnimationSpeed;
    Ostrel::TexturePicker* texturePicker = nullptr;
    std::map<std::string, bool> normalizeFlags;

    // The effect instance the screens draw through, or null for None (or for
    // an effect that was never created).
    Ostrel::EffectInstance* ChosenEffect() const {
        switch (postEffect) {
            case PostEffect::CRT:
                return crtEffect;
            case PostEffect::OrderedDither:
                return ditherEffect;
            case PostEffect::Gameboy:
                return gameboyEffect;
            case PostEffect::None:
                break;
        }
        return nullptr;
    }
};
