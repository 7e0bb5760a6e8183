// The card table on the real renderer (run under Xvfb or with a display):
// start-up to the first presented frame, the cost of one frame of the table
// (update and render, without the pacing sleep) with 12 and 20 cards at two
// window sizes, and the peak resident memory over a whole scripted deal.
#include "Game.h"
#include "GameRunState.h"
#include "components/TimerComponent.h"
#include "core/EventBuffer.h"
#include "core/ITimeManager.h"
#include "core/InputManager.h"
#include "core/Renderer.h"
#include "core/State.h"
#include "core/WindowManager.h"
#include "editor/ImGuiLayer.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

class BenchGame : public Game {
public:
    // One pass of the frame loop, without the time manager's pacing.
    void Frame(float dt) { RunFrame(dt); }

    GameRunState* Table() { return dynamic_cast<GameRunState*>(states["game"]); }
    GameData& Data() { return gameData; }

    void Deal(int cards, int width, int height) {
        windowManager->Resize(width, height);
        gameData.cardCount = cards;
        gameData.newGameRequested = true;
        SwitchState("game");
        Frame(16.0f);
    }

    void EndMemorisePhase() {
        GameRunState* table = Table();
        Frame(table->startTimer->duration + 1.0f);
        Frame(16.0f);
    }

    // Press on a card and release in the next frame, through SDL's queue.
    void Click(const Card& card) {
        SDL_Event motion{};
        motion.type = SDL_MOUSEMOTION;
        motion.motion.x = card.x + card.w / 2;
        motion.motion.y = card.y + card.h / 2;
        SDL_PushEvent(&motion);
        SDL_Event press{};
        press.type = SDL_MOUSEBUTTONDOWN;
        press.button.button = SDL_BUTTON_LEFT;
        SDL_PushEvent(&press);
        Frame(16.0f);
        SDL_Event release{};
        release.type = SDL_MOUSEBUTTONUP;
        release.button.button = SDL_BUTTON_LEFT;
        SDL_PushEvent(&release);
        Frame(16.0f);
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

void BM_StartupToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        TheGame();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_StartupToFirstFrame)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TableFrame(benchmark::State& state) {
    BenchGame& g = TheGame();
    g.Deal(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
    // Keep the cards turning so the flip path is measured too.
    for (auto _ : state) {
        for (Card& card : g.Table()->cards) {
            if (!card.flipping) card.faceDown ? card.Reveal() : card.Hide();
        }
        g.Frame(16.0f);
    }
    state.counters["cards"] = static_cast<double>(g.Table()->cards.size());
}
BENCHMARK(BM_TableFrame)
    ->Args({12, 800, 600})
    ->Args({20, 800, 600})
    ->Args({12, 1920, 1080})
    ->Args({20, 1920, 1080})
    ->Unit(benchmark::kMillisecond);

void BM_WholeDealPeakRss(benchmark::State& state) {
    BenchGame& g = TheGame();
    for (auto _ : state) {
        g.Deal(20, 800, 600);
        g.EndMemorisePhase();
        GameRunState* table = g.Table();
        // One mismatch, then every pair in order.
        size_t other = 1;
        while (table->cards[other].frontTexture == table->cards[0].frontTexture) ++other;
        g.Click(table->cards[0]);
        g.Click(table->cards[other]);
        g.Frame(table->hideTimer->duration + 1.0f);
        for (size_t i = 0; i < table->cards.size(); ++i) {
            if (table->cards[i].matched) continue;
            for (size_t j = i + 1; j < table->cards.size(); ++j) {
                if (table->cards[j].frontTexture != table->cards[i].frontTexture) continue;
                g.Click(table->cards[i]);
                g.Click(table->cards[j]);
                break;
            }
        }
        g.Frame(16.0f);
        if (!g.Data().gameFinished) state.SkipWithError("the scripted deal did not finish");
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_WholeDealPeakRss)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Assets are found relative to the repository root.
    if (chdir(OSTREL_SOURCE_DIR) != 0) return 1;
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (game != nullptr) game->Shutdown();
    return 0;
}
