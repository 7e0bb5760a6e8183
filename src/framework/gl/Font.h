// Font.h - glyph records keyed by 8-bit character code.
#pragma once

#include "../core/LifecycleState.h"
#include "../core/Math.h"

#include <cstdint>
#include <map>

namespace Ostrel {

class ITexture2D;

enum FontType : uint32_t { TrueType = 0, Bitmap = 1 };

struct Character {
    LifecycleState state = LifecycleCreated;
    ITexture2D* texture = nullptr;
    ivec2 size;
    ivec2 bearing;
    uint32_t advance[2] = {0, 0};  // TrueType: 26.6 fixed point; bitmap: pixels
    vec2 uv[4];

    void Destroy();
};

class Font {
public:
    std::map<char, Character> characters;
    LifecycleState state = LifecycleCreated;
    int32_t height = 0;
    FontType type;
    ITexture2D* atlas = nullptr;

    explicit Font(FontType type);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    void AddCharacter(char code, Character glyph);
    Character* GetOrCreateCharacter(char code);
    Character* GetCharacter(char code);
    int GetHeight() const { return height; }
    void Destroy();
};

}  // namespace Ostrel
