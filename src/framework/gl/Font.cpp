#include "Font.h"

#include "../core/ITexture2D.h"

namespace Ostrel {

void Character::Destroy() {
    if (state != LifecycleReleased && texture != nullptr) delete texture;
    state = LifecycleReleased;
}

Font::Font(FontType type_) : type(type_) {}

Font::~Font() {
    ReleaseTextures();
}

void Font::AddCharacter(char code, Character glyph) {
    characters.emplace(code, glyph);
}

Character* Font::GetOrCreateCharacter(char code) {
    return &characters[code];
}

Character* Font::GetCharacter(char code) {
    return &characters[code];
}

void Font::Destroy() {
    ReleaseTextures();
}

// Each glyph texture is deleted once: its record is marked released and keeps
// its (now dangling) pointer only as a record of what it held. The atlas of a
// bitmap font is made for this font alone, so it goes with the font too.
void Font::ReleaseTextures() {
    for (auto& entry : characters) {
        Character& glyph = entry.second;
        if (glyph.state != LifecycleReleased && glyph.texture != nullptr) delete glyph.texture;
        glyph.state = LifecycleReleased;
    }
    delete atlas;
    atlas = nullptr;
    state = LifecycleReleased;
}

}  // namespace Ostrel
