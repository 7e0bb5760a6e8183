// The game while its window reports no area (a minimised window can report
// 0 x 0) or a zero width or height: every screen, the effect's offscreen pass
// and the editor keep running, and once the window has a size again the table
// is drawn as before.
#include "E2EHarness.h"

#include "Game.h"
#include "core/WindowManager.h"
#include "sdl/SDLTimeManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

namespace {

class SizedApp : public OstrelTest::ScriptedApp<Game> {
public:
    void UseEffect(PostEffect effect) { gameData.postEffect = effect; }
};
using Base = OstrelTest::ScriptedApp<Game>;

void Press(SizedApp& app, int frame, int x, int y) {
    app.At(frame, [x, y](Base&) {
        OstrelTest::PushMouseMotion(x, y);
        OstrelTest::PushMouseButton(SDL_BUTTON_LEFT, true, x, y);
    });
    app.At(frame + 2, [x, y](Base&) { OstrelTest::PushMouseButton(SDL_BUTTON_LEFT, false, x, y); });
}

// Distinct colours in the middle third of a frame: more than one means
// something was drawn over the clear colour.
size_t ColoursInMiddle(const std::vector<uint8_t>& rgba, int width, int height) {
    std::set<uint32_t> colours;
    for (int y = height / 3; y < 2 * height / 3; y += 4) {
        for (int x = width / 3; x < 2 * width / 3; x += 4) {
            const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
            colours.insert(static_cast<uint32_t>(rgba[i]) << 16 | static_cast<uint32_t>(rgba[i + 1]) << 8 |
                           rgba[i + 2]);
        }
    }
    return colours.size();
}

TEST(ZeroSizeWindow, EveryScreenRunsWithoutAreaAndDrawsAgainAfterwards) {
    OstrelTest::E2EWorkDir dir;
    SizedApp app;
    static_cast<Ostrel::SDLTimeManager*>(app.Time())->delay = [](uint32_t) {};
    app.UseEffect(PostEffect::CRT);

    Press(app, 2, 400, 300);  // intro -> table
    std::vector<uint8_t> before;
    app.AfterRender([&](Base& a, int frame) {
        if (frame == 18) before = a.ReadFrame();
    });
    const std::vector<std::pair<int, int>> sizes = {{0, 0}, {0, 600}, {800, 0}, {1, 1}, {0, 0}};
    for (size_t i = 0; i < sizes.size(); ++i) {
        const int frame = 20 + static_cast<int>(i) * 16;
        const auto size = sizes[i];
        app.At(frame, [size](Base& a) { a.WindowManager()->Resize(size.first, size.second); });
        Press(app, frame + 2, 400, 300);                                           // a card, or nothing
        app.At(frame + 5, [](Base&) { OstrelTest::PushKeyPress(SDLK_ESCAPE); });   // menu
        app.At(frame + 8, [](Base&) { OstrelTest::PushKeyPress(SDLK_TAB); });      // editor shown
        Press(app, frame + 10, 30, 30);                                            // into the editor
        app.At(frame + 13, [](Base&) { OstrelTest::PushKeyPress(SDLK_TAB); });     // hidden
        app.At(frame + 14, [](Base&) { OstrelTest::PushKeyPress(SDLK_ESCAPE); });  // table again
    }
    app.At(110, [](Base& a) { a.WindowManager()->Resize(800, 600); });
    std::vector<uint8_t> after;
    int afterWidth = 0, afterHeight = 0;
    app.AfterRender([&](Base& a, int frame) {
        if (frame != 119) return;
        after = a.ReadFrame();
        a.DrawableSize(&afterWidth, &afterHeight);
    });
    app.QuitAfterFrames(120);
    OstrelTest::RunApp(app);

    EXPECT_EQ(app.FramesRendered(), 120);
    ASSERT_EQ(afterWidth, 800);
    ASSERT_EQ(afterHeight, 600);
    ASSERT_FALSE(before.empty());
    ASSERT_FALSE(after.empty());
    // The table (through the CRT effect) is on screen before and after.
    EXPECT_GT(ColoursInMiddle(before, 800, 600), 4u);
    EXPECT_GT(ColoursInMiddle(after, 800, 600), 4u);
}

}  // namespace
