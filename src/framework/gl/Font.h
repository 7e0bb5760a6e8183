// Font.h - glyph records keyed by 8-bit character code.
//   TrueType glyphs each own a single-channel texture; bitmap glyphs share the
//   font's atlas and carry the texture coordinates of their cell.
#pragma once

#include "../core/LifecycleState.h"
#include "../core/Math.h"

#include <cstdint>
#include <map>

namespace Ostrel {

class ITexture2D;

enum FontType : uint32_t { TrueType = 0, Bitmap = 1 };

// A record never loaded is all zero: no texture, zero size and advance.
struct Character {
    LifecycleState state = LifecycleCreated;  // released once its texture was deleted
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
    ITexture2D* atlas = nullptr;  // bitmap fonts: owned, deleted with the font

    explicit Font(FontType type);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Keeps the existing record when the code is already present.
    void AddCharacter(char code, Character glyph);
    // Both add an all-zero record for an absent code, so the map may grow.
    Character* GetOrCreateCharacter(char code);
    Character* GetCharacter(char code);
    int GetHeight() const { return height; }
    // Deletes every glyph texture and the atlas once; the records stay.
    void Destroy();

private:
    void ReleaseTextures();
};

}  // namespace Ostrel
