#include "TestState.h"

#include "core/ITimeManager.h"
#include "core/TextRenderer.h"
#include "gl/FontManager.h"

#include <cstdio>

TestState::TestState(Ostrel::Framework* framework) : Ostrel::State(framework) {}

std::string TestState::FormatNumber(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return text;
}

void TestState::Render() {
    Ostrel::Font* font = fontManager->defaultFont;
    const Ostrel::vec4 white(1.0f, 1.0f, 1.0f, 1.0f);

    textRenderer->Begin(0);
    const float ms = timeManager->GetDeltaMs();
    const float fps = timeManager->GetFPS();
    textRenderer->DrawText(font, "MS: " + FormatNumber(ms), Ostrel::vec2(0.0f, 0.0f), 1.0f, white);
    textRenderer->DrawText(font, "FPS: " + FormatNumber(fps), Ostrel::vec2(0.0f, 75.0f), 1.0f, white);
    for (int i = 0; i < LoadDraws; ++i) textRenderer->DrawText(font, "Test", Ostrel::vec2(0.0f, 150.0f), 1.0f, white);
    textRenderer->End();
}
