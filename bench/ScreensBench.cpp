// The game's screens on the real renderer (run under Xvfb or with a display):
// start-up to the first frame of the intro, and the cost of one frame (update,
// render, swap, finished on the GPU; without the pacing sleep) of the frame
// statistics screen, of the menu and of the 20-card table through each effect,
// at 800 x 600 and 1920 x 1080.
#include "Game.h"
#include "GameIntroState.h"
#include "GameRunState.h"
#include "components/TimerComponent.h"
#include "core/EventBuffer.h"
#include "core/InputManager.h"
#include "core/Renderer.h"
#include "core/State.h"
#include "core/WindowManager.h"
#include "editor/ImGuiLayer.h"

#include <GL/glew.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

class BenchGame : public Game {
public:
    // One pass of the frame loop without the time manager's pacing; the
    // finish makes the software rasteriser's work part of the frame.
    void Frame(float dt) {
        RunFrame(dt);
        glFinish();
    }

    bool Shows(const std::string& name) const {
        auto it = states.find(name);
        return it != states.end() && it->second == currentState;
    }
    GameData& Data() { return gameData; }
    void Show(const std::string& name, int width, int height) {
        windowManager->Resize(width, height);
        SwitchState(name);
        Frame(16.0f);
    }
    void Deal(int cards, int width, int height) {
        gameData.cardCount = cards;
        gameData.newGameRequested = true;
        Show("game", width, height);
        // Past the memorise phase: the table as it is played.
        auto* table = dynamic_cast<GameRunState*>(states["game"]);
        if (table != nullptr) Frame(static_cast<float>(table->startTimer->duration) + 1.0f);
    }
};

BenchGame* game = nullptr;

BenchGame& TheGame() {
    if (game == nullptr) {
        game = new BenchGame();
        game->Initialize();
        game->Frame(0.0f);
    }
    return *game;
}

const char* EffectName(int effect) {
    static const char* const names[] = {"none", "crt", "dither", "gameboy"};
    return names[effect];
}

void BM_StartupToFirstIntroFrame(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        BenchGame& g = TheGame();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (!g.Shows("intro")) state.SkipWithError("the first frame is not the intro");
    }
}
BENCHMARK(BM_StartupToFirstIntroFrame)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_IntroFrame(benchmark::State& state) {
    BenchGame& g = TheGame();
    g.Show("intro", static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) g.Frame(16.0f);
}
BENCHMARK(BM_IntroFrame)->Args({800, 600})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

// 752 text draws a frame: the fixed load the screen exists for.
void BM_TestScreenFrame(benchmark::State& state) {
    BenchGame& g = TheGame();
    g.Show("test", static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) g.Frame(16.0f);
}
BENCHMARK(BM_TestScreenFrame)->Args({800, 600})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

void BM_MenuFrame(benchmark::State& state) {
    BenchGame& g = TheGame();
    g.Data().postEffect = static_cast<PostEffect>(state.range(0));
    g.Show("menu", static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    for (auto _ : state) g.Frame(16.0f);
    state.SetLabel(EffectName(static_cast<int>(state.range(0))));
    g.Data().postEffect = PostEffect::None;
}
BENCHMARK(BM_MenuFrame)
    ->ArgsProduct({{0, 1, 2, 3}, {800}, {600}})
    ->ArgsProduct({{0, 1, 2, 3}, {1920}, {1080}})
    ->Unit(benchmark::kMillisecond);

void BM_TwentyCardTableFrame(benchmark::State& state) {
    BenchGame& g = TheGame();
    g.Data().postEffect = static_cast<PostEffect>(state.range(0));
    g.Deal(20, static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    for (auto _ : state) g.Frame(16.0f);
    state.SetLabel(EffectName(static_cast<int>(state.range(0))));
    g.Data().postEffect = PostEffect::None;
}
BENCHMARK(BM_TwentyCardTableFrame)
    ->ArgsProduct({{0, 1, 2, 3}, {800}, {600}})
    ->ArgsProduct({{0, 1, 2, 3}, {1920}, {1080}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Assets are found relative to the repository root.
    if (chdir(OSTREL_SOURCE_DIR) != 0) return 1;
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (game != nullptr) game->Shutdown();
    return 0;
}
