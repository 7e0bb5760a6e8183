// Framework core: configuration lookups, the input manager's update over a
// full event buffer, and the real frame loop (Initialize, Run) for start-up to
// the first presented frame and for frame pacing over 300 frames at the 60 fps
// target. The loop figures need a display: run under
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/bench_CoreBench
// (without DISPLAY SDL's offscreen driver is used and the figures say less).
#include "Game.h"
#include "core/Config.h"
#include "core/EventBuffer.h"
#include "core/Framework.h"
#include "core/ITimeManager.h"
#include "core/InputManager.h"
#include "core/State.h"
#include "sdl/SDLInputManager.h"
#include "sdl/SDLTimeManager.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

std::string RepoConfig() {
    std::ifstream in("assets/game/config.txt", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// --- Configuration ------------------------------------------------------------

void BM_ConfigGetString(benchmark::State& state) {
    Ostrel::Config config;
    config.text = RepoConfig();
    // The first key and the last key of the shipped file: the search is linear.
    const std::string key = state.range(0) == 0 ? "font_image_path" : "logo";
    std::string value;
    for (auto _ : state) {
        benchmark::DoNotOptimize(config.GetString(key, &value));
        benchmark::DoNotOptimize(value);
    }
    state.SetLabel(key);
}
BENCHMARK(BM_ConfigGetString)->Arg(0)->Arg(1);

void BM_ConfigGetInt(benchmark::State& state) {
    Ostrel::Config config;
    config.text = RepoConfig();
    int value = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(config.GetInt("hide_time", &value));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ConfigGetInt);

void BM_ConfigGetFloat(benchmark::State& state) {
    Ostrel::Config config;
    config.text = RepoConfig();
    float value = 0.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(config.GetFloat("animation_speed", &value));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ConfigGetFloat);

// --- Input --------------------------------------------------------------------

// A full buffer of what a busy frame holds: keys, motion, buttons, controller.
void FillBusyFrame(Ostrel::EventBuffer& buffer) {
    const SDL_Keycode keys[] = {SDLK_UP, SDLK_DOWN, SDLK_RETURN, SDLK_ESCAPE, SDLK_TAB, SDLK_a, SDLK_SPACE};
    for (int i = 0; i < Ostrel::EventBuffer::Capacity; ++i) {
        SDL_Event e{};
        switch (i % 5) {
            case 0:
                e.type = SDL_KEYDOWN;
                e.key.keysym.sym = keys[i % 7];
                break;
            case 1:
                e.type = SDL_MOUSEMOTION;
                e.motion.x = i * 3;
                e.motion.y = i * 2;
                break;
            case 2:
                e.type = (i / 5) % 2 == 0 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
                e.button.button = SDL_BUTTON_LEFT;
                break;
            case 3:
                e.type = SDL_CONTROLLERBUTTONDOWN;
                e.cbutton.which = 0;
                e.cbutton.button = static_cast<Uint8>(i % SDL_CONTROLLER_BUTTON_MAX);
                break;
            default:
                e.type = SDL_CONTROLLERAXISMOTION;
                e.caxis.which = 0;
                e.caxis.axis = static_cast<Uint8>(i % 4);
                e.caxis.value = static_cast<Sint16>(i * 300);
                break;
        }
        buffer.events[i] = e;
    }
    buffer.count = Ostrel::EventBuffer::Capacity;
}

void BM_InputUpdateFullBuffer(benchmark::State& state) {
    Ostrel::EventBuffer buffer;
    FillBusyFrame(buffer);
    Ostrel::SDLInputManager input(&buffer);
    int clicks = 0;
    input.AddClickListener([&](const Ostrel::OnClickEvent&) { ++clicks; });
    for (auto _ : state) {
        input.Update(16.0f);
        input.EndFrame();
    }
    benchmark::DoNotOptimize(clicks);
    state.SetItemsProcessed(state.iterations() * buffer.count);
}
BENCHMARK(BM_InputUpdateFullBuffer);

// --- The real frame loop ------------------------------------------------------

// Marks the moment just after the first SwapBuffers: the time manager's third
// tick read (Start, BeginFrame, then EndFrame right after the swap).
void WatchFirstSwap(Ostrel::ITimeManager* time, Clock::time_point* firstSwap) {
    auto* sdlTime = static_cast<Ostrel::SDLTimeManager*>(time);
    auto ticks = sdlTime->getTicks;
    auto reads = std::make_shared<int>(0);
    sdlTime->getTicks = [ticks, reads, firstSwap] {
        if (++*reads == 3) *firstSwap = Clock::now();
        return ticks();
    };
}

// The bare framework: no state, empty hooks. Records when each frame's Update
// hook runs and quits after a number of frames.
template <typename Base>
class TimedApp : public Base {
public:
    explicit TimedApp(int frames) : framesToRun(frames) {}
    void Init() override { Base::Init(); }
    void Update(float dt) override {
        Base::Update(dt);
        hookTimes.push_back(Clock::now());
        if (static_cast<int>(hookTimes.size()) >= framesToRun) this->Quit();
    }
    void Render() override { Base::Render(); }
    Ostrel::ITimeManager* Time() { return this->timeManager; }

    std::vector<Clock::time_point> hookTimes;
    int framesToRun;
};

class BareApp : public Ostrel::Framework {
public:
    void Init() override {}
    void Update(float) override {}
    void Render() override {}
};

template <typename Base>
void BM_LoopStartupToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        auto* app = new TimedApp<Base>(1);
        Clock::time_point firstSwap{};
        WatchFirstSwap(app->Time(), &firstSwap);
        const Clock::time_point start = Clock::now();
        app->Initialize();
        const Clock::time_point initialised = Clock::now();
        app->Run();
        app->Shutdown();
        state.SetIterationTime(std::chrono::duration<double>(firstSwap - start).count());
        state.counters["initialize_ms"] = Ms(initialised - start);
        // The application object is leaked on purpose: the framework never
        // deletes its managers, and the process ends right after.
    }
}
BENCHMARK_TEMPLATE(BM_LoopStartupToFirstFrame, BareApp)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_LoopStartupToFirstFrame, Game)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

template <typename Base>
void BM_LoopFramePacing300(benchmark::State& state) {
    constexpr int Periods = 300;
    for (auto _ : state) {
        auto* app = new TimedApp<Base>(Periods + 1);
        app->Initialize();
        app->Run();
        app->Shutdown();
        const std::vector<Clock::time_point>& t = app->hookTimes;
        if (t.size() != Periods + 1) {
            state.SkipWithError("the loop did not run the expected number of frames");
            break;
        }
        double sum = 0.0, sumSq = 0.0, lo = 1e9, hi = 0.0;
        for (int i = 0; i < Periods; ++i) {
            const double p = Ms(t[i + 1] - t[i]);
            sum += p;
            sumSq += p * p;
            lo = std::min(lo, p);
            hi = std::max(hi, p);
        }
        const double mean = sum / Periods;
        state.SetIterationTime(sum / 1000.0);
        state.counters["period_mean_ms"] = mean;
        state.counters["period_stddev_ms"] = std::sqrt(std::max(0.0, sumSq / Periods - mean * mean));
        state.counters["period_min_ms"] = lo;
        state.counters["period_max_ms"] = hi;
        state.counters["fps"] = 1000.0 / mean;
    }
}
BENCHMARK_TEMPLATE(BM_LoopFramePacing300, BareApp)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_LoopFramePacing300, Game)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Assets and the configuration are found relative to the repository root.
    if (chdir(OSTREL_SOURCE_DIR) != 0) return 1;
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        std::fprintf(stderr, "No display: the loop benchmarks use SDL's offscreen driver.\n");
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
