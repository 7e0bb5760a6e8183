// The SDL_mixer sound manager on SDL's dummy and disk audio drivers, with WAV
// files written at run time.
#include "sdl/SDLSoundManager.h"

#include "TempDir.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// 16-bit stereo PCM WAV at 22050 Hz: a square-ish tone, or silence at amplitude 0.
void WriteWav(const std::string& path, int milliseconds, int16_t amplitude, int periodFrames = 50) {
    const uint32_t frames = static_cast<uint32_t>(22050 * milliseconds / 1000);
    const uint32_t dataBytes = frames * 4;
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(2);
    u32(22050);
    u32(22050 * 4);
    u16(4);
    u16(16);
    out.write("data", 4);
    u32(dataBytes);
    for (uint32_t i = 0; i < frames; ++i) {
        const int16_t s = (i % static_cast<uint32_t>(periodFrames)) < static_cast<uint32_t>(periodFrames / 2)
                              ? amplitude
                              : static_cast<int16_t>(-amplitude);
        u16(static_cast<uint16_t>(s));
        u16(static_cast<uint16_t>(s));
    }
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name(name) {
        if (const char* old = std::getenv(name)) previous = old, hadValue = true;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { hadValue ? setenv(name, previous.c_str(), 1) : unsetenv(name); }

private:
    const char* name;
    std::string previous;
    bool hadValue = false;
};

class SoundManagerTest : public testing::Test {
protected:
    OstrelTest::TempDir dir;
    std::string tone;
    std::string otherTone;

    void SetUp() override {
        tone = dir.File("tone.wav");
        otherTone = dir.File("other.wav");
        WriteWav(tone, 300, 12000);
        WriteWav(otherTone, 100, 4000);
    }
    void TearDown() override {
        // The manager leaves the device open (SDL is shut down by the window
        // manager in the program); close it so each test starts afresh.
        if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) {
            Mix_HaltChannel(-1);
            Mix_HaltMusic();
            Mix_CloseAudio();
        }
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    void InitQuietly(Ostrel::SDLSoundManager& sound) {
        ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
        testing::internal::CaptureStderr();
        sound.Init();
        const std::string err = testing::internal::GetCapturedStderr();
        ASSERT_EQ(err, "") << "audio init failed on the dummy driver";
    }
};

}  // namespace

TEST_F(SoundManagerTest, InitOpensDeviceInRequestedFormat) {
    Ostrel::SDLSoundManager sound;
    InitQuietly(sound);
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    EXPECT_EQ(frequency, 22050);
    EXPECT_EQ(format, AUDIO_S16LSB);
    EXPECT_EQ(channels, 2);
}

TEST_F(SoundManagerTest, LoadKeepsFirstUnderNameAndLooksUpByName) {
    Ostrel::SDLSoundManager sound;
    InitQuietly(sound);
    Ostrel::Sound* first = sound.LoadSound(tone, "click");
    ASSERT_NE(first, nullptr);
    Ostrel::Sound* second = sound.LoadSound(otherTone, "click");
    EXPECT_EQ(second, first);
    EXPECT_EQ(sound.GetSound("click"), first);
    EXPECT_EQ(sound.sounds.size(), 1u);
    auto* stored = static_cast<Ostrel::SDLSound*>(first);
    EXPECT_EQ(stored->state, Ostrel::LifecycleCreated);
    EXPECT_NE(stored->chunk, nullptr);
    sound.ReleaseAll();
    EXPECT_TRUE(sound.sounds.empty());
}

TEST_F(SoundManagerTest, MissingSoundIsNullAndReportedAndNullEntriesAreSkipped) {
    Ostrel::SDLSoundManager sound;
    InitQuietly(sound);
    const std::string missing = dir.File("missing.wav");
    testing::internal::CaptureStderr();
    Ostrel::Sound* result = sound.LoadSound(missing, "card");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(err, "Error loading sound file: " + missing + "\n");
    EXPECT_TRUE(sound.sounds.empty());
    const std::string missingMusic = dir.File("missing.ogg");
    testing::internal::CaptureStderr();
    EXPECT_EQ(sound.LoadMusic(missingMusic, "theme"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error loading music file: " + missingMusic + "\n");
    EXPECT_TRUE(sound.music.empty());

    EXPECT_EQ(sound.GetSound("card"), nullptr);
    ASSERT_EQ(sound.sounds.count("card"), 1u);  // the lookup added a null entry
    EXPECT_EQ(sound.GetMusic("theme"), nullptr);
    sound.LoadSound(tone, "click");
    sound.ReleaseAll();  // skips the null entries without touching them
    EXPECT_TRUE(sound.sounds.empty());
    EXPECT_TRUE(sound.music.empty());
}

TEST_F(SoundManagerTest, LoadFillsTheNullEntryOfAnEarlierLookup) {
    // A screen may ask for a sound before the game has loaded it; the later
    // load must not be lost behind the placeholder the lookup left.
    Ostrel::SDLSoundManager sound;
    InitQuietly(sound);
    ASSERT_EQ(sound.GetSound("click"), nullptr);
    ASSERT_EQ(sound.GetMusic("theme"), nullptr);

    Ostrel::Sound* click = sound.LoadSound(tone, "click");
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(sound.GetSound("click"), click);
    EXPECT_EQ(sound.sounds.size(), 1u);
    EXPECT_EQ(sound.LoadSound(otherTone, "click"), click) << "a real first sound is still kept";

    Ostrel::Music* theme = sound.LoadMusic(tone, "theme");
    ASSERT_NE(theme, nullptr);
    EXPECT_EQ(sound.GetMusic("theme"), theme);
    EXPECT_TRUE(sound.unnamedMusic.empty());
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    sound.ReleaseAll();
    EXPECT_TRUE(sound.sounds.empty());
    EXPECT_TRUE(sound.music.empty());
}

TEST_F(SoundManagerTest, ReleasedSoundIsFreedOnceByReleaseAll) {
    Ostrel::SDLSoundManager sound;
    InitQuietly(sound);
    auto* loaded = static_cast<Ostrel::SDLSound*>(sound.LoadSound(tone, "click"));
    ASSERT_NE(loaded, nullptr);
    loaded->Release();
    EXPECT_EQ(loaded->state, Ostrel::LifecycleReleased);
    loaded->Release();
    sound.ReleaseAll();  // a second Mix_FreeChunk would show under the sanitizers
    EXPECT_TRUE(sound.sounds.empty());
}

TEST_F(SoundManagerTest, PlayingTwiceOverlapsOnTwoChannels) {
    Ostrel::SDLSoundManager sound;
    InitQuietly(sound);
    Ostrel::Sound* click = sound.LoadSound(tone, "click");
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(Mix_Playing(-1), 0);  // loading plays nothing
    click->Play();
    click->Play();
    EXPECT_EQ(Mix_Playing(-1), 2);
    sound.ReleaseAll();
}

TEST_F(SoundManagerTest, MusicIsStoredUnderItsPathAndLoops) {
    Ostrel::SDLSoundManager sound;
    InitQuietly(sound);
    Ostrel::Music* music = sound.LoadMusic(tone);
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(sound.GetMusic(tone), music);
    EXPECT_EQ(Mix_PlayingMusic(), 1);

    // A second load under the same name keeps the first entry but plays the new stream.
    Ostrel::Music* again = sound.LoadMusic(otherTone, tone);
    EXPECT_EQ(again, music);
    EXPECT_EQ(sound.music.size(), 1u);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    sound.ReleaseAll();
    EXPECT_TRUE(sound.music.empty());
    EXPECT_TRUE(sound.unnamedMusic.empty());
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

TEST_F(SoundManagerTest, ShutdownReleasesEverything) {
    Ostrel::SDLSoundManager sound;
    InitQuietly(sound);
    sound.LoadSound(tone, "a");
    sound.LoadSound(otherTone, "b");
    sound.LoadMusic(tone, "m");
    sound.Shutdown();
    EXPECT_TRUE(sound.sounds.empty());
    EXPECT_TRUE(sound.music.empty());
}

namespace {

// Peak absolute sample of 16-bit output written by SDL's disk driver.
int PeakOfRawFile(const std::string& path, size_t* samples) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    *samples = bytes.size() / 2;
    int peak = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        int16_t s;
        std::memcpy(&s, &bytes[i], 2);
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    return peak;
}

// Runs the sound manager on the disk driver for `ms` milliseconds, playing the
// sound at the start when asked; returns the peak of what reached the output.
int RecordOutput(const std::string& wav, const std::string& raw, bool play, int ms, size_t* samples) {
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", raw);
    Ostrel::SDLSoundManager sound;
    sound.Init();
    Ostrel::Sound* s = sound.LoadSound(wav, "tone");
    if (s == nullptr) return -1;
    if (play) s->Play();
    SDL_Delay(static_cast<Uint32>(ms));
    sound.Shutdown();
    // Closing the device flushes the output file.
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return PeakOfRawFile(raw, samples);
}

}  // namespace

TEST_F(SoundManagerTest, PlayedSoundReachesDiskOutput) {
    size_t silentSamples = 0;
    const int silentPeak = RecordOutput(tone, dir.File("silent.raw"), false, 600, &silentSamples);
    ASSERT_GT(silentSamples, 0u) << "the disk driver wrote nothing";
    EXPECT_EQ(silentPeak, 0);

    size_t playedSamples = 0;
    const int playedPeak = RecordOutput(tone, dir.File("played.raw"), true, 600, &playedSamples);
    ASSERT_GT(playedSamples, 0u);
    // The tone's amplitude is 12000; mixing at full volume keeps it near that.
    EXPECT_GT(playedPeak, 6000);
}
