// The engine's audio on the game's own sounds, down to what reaches the output (SDL's disk
// driver writes it to a file).
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <fstream>
#include <optional>
#include <sstream>

#include "app/GameSettings.h"
#include "audio/k_Audio.h"
#include "tools/content_checks/ContentFiles.h"
#include "support/Failures.h"
#include "support/MemoryFiles.h"
#include "support/TempDirectory.h"

namespace {

const std::wstring kLaugh = L"sounds/laugh.ogg";   // 1.5 to 2 s
const std::wstring kExplosion = L"sounds/explosion.wav";
const std::wstring kBounce = L"sounds/s1.wav";     // under 0.4 s
const std::wstring kHardestBounce = L"sounds/s15.wav";
const std::wstring kModule = L"sounds/glimmerdrift.xm";

// Sets an environment variable for one scope.
struct ScopedVariable {
    ScopedVariable(const char* name, const char* value) : name(name) {
        if (const char* old = getenv(name)) previous = old;
        setenv(name, value, 1);
    }
    ~ScopedVariable() { previous ? setenv(name, previous->c_str(), 1) : unsetenv(name); }
    const char* name;
    std::optional<std::string> previous;
};

// Polls until condition holds, for at most seconds.
bool Eventually(const std::function<bool()>& condition, double seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition() && std::chrono::steady_clock::now() < deadline) SDL_Delay(20);
    return condition();
}

MemoryFileSystem GameSounds() {
    MemoryFileSystem files;
    for (const std::wstring& name : {kLaugh, kExplosion, kBounce, kHardestBounce, kModule})
        files.files[name] = content::ReadBytes(content::DataPath(ToUtf8(name)));
    return files;
}

struct AudioTest : ::testing::Test {
    void SetUp() override { audio.Open(nullptr); }
    MemoryFileSystem files = GameSounds();
    k_Audio audio{&files};
};

}  // namespace

TEST(AudioStartTest, WrongVersionOrNoDeviceStopsStartUpWithoutOpeningTheDevice) {
    struct Case { DWORD version; const char* driver; std::wstring message; };
    const std::wstring wrongVersion = L"BASS :: An incorrect version of BASS.DLL was loaded!";
    for (const Case& c : {Case{0x02030000, "dummy", wrongVersion}, Case{0x02050000, "dummy", wrongVersion},
                          Case{BASSVERSION << 16, "no-such-driver", L"BASS :: Can't initialize audio device!"}}) {
        ScopedVariable driver("SDL_AUDIODRIVER", c.driver);
        BassReportVersionForTesting(c.version);
        k_Audio audio(nullptr);
        EXPECT_EQ(FailureOf([&] { audio.Open(nullptr); }), c.message);
        EXPECT_FALSE(BASS_Free()) << "the device was opened";
        BassReportVersionForTesting(0);
    }
}

TEST_F(AudioTest, SameNameRestartsDifferentNamesOverlapAndAMissingFileFreesTheOldStream) {
    audio.PlaySound(kLaugh);
    audio.PlaySound(kLaugh);
    EXPECT_EQ(Mix_Playing(-1), 1);
    audio.PlaySound(kExplosion);
    EXPECT_EQ(Mix_Playing(-1), 2);
    files.files.erase(kLaugh);
    audio.PlaySound(kLaugh);
    EXPECT_EQ(Mix_Playing(-1), 1);
    files.Add(L"sounds/broken.wav", "RIFF not really");
    EXPECT_EQ(FailureOf([&] { audio.PlaySound(L"sounds/broken.wav"); }),
              L"BASS :: Can't create the stream! sounds/broken.wav");
}

TEST_F(AudioTest, MusicLoopsUntilStoppedAndAMissingFileKeepsIt) {
    audio.StopMusic();  // nothing to stop yet
    audio.PlayMusic(kModule);
    audio.PlayMusic(L"sounds/missing.xm");
    EXPECT_TRUE(Mix_PlayingMusic());
    audio.PlayMusic(kBounce);  // a short file replaces the module and shows the looping
    SDL_Delay(1000);
    EXPECT_TRUE(Mix_PlayingMusic()) << "the music ended instead of looping";
    audio.StopMusic();
    EXPECT_FALSE(Mix_PlayingMusic());
}

TEST_F(AudioTest, LayerRejectsUnknownHandlesGrowsChannelsAndStopsOnlyWhatItOwns) {
    EXPECT_FALSE(BASS_ChannelPlay(0xDEAD, kBassTrue));
    auto streamOf = [&](const std::wstring& name) {
        return BASS_StreamCreateFile(kBassTrue, files.files[name].data(), 0, files.files[name].size(), 0);
    };
    std::vector<HSTREAM> streams;
    for (int count = 0; count < 17; ++count) {
        streams.push_back(streamOf(kLaugh));
        ASSERT_TRUE(BASS_ChannelPlay(streams.back(), kBassTrue));
    }
    EXPECT_FALSE(BASS_MusicFree(streams.front())) << "a stream is not a music";
    EXPECT_EQ(Mix_Playing(-1), 17);
    EXPECT_EQ(Mix_AllocateChannels(-1), 32);
    for (HSTREAM stream : streams) BASS_StreamFree(stream);

    HSTREAM finished = streamOf(kBounce);
    ASSERT_TRUE(BASS_ChannelPlay(finished, kBassTrue));
    ASSERT_TRUE(Eventually([&] { return BASS_ChannelIsActive(finished) == BASS_ACTIVE_STOPPED; }, 3));
    HSTREAM next = streamOf(kLaugh);
    ASSERT_TRUE(BASS_ChannelPlay(next, kBassTrue));  // on the channel the finished one left
    BASS_ChannelStop(finished);
    BASS_StreamFree(finished);
    EXPECT_EQ(BASS_ChannelIsActive(next), BASS_ACTIVE_PLAYING);
}

// The disk driver writes the mixed output as raw 16-bit stereo at 44.1 kHz in real time.
struct AudioOutputTest : ::testing::Test {
    void SetUp() override { audio.Open(nullptr); }
    std::vector<std::int16_t> Samples() const {
        std::vector<std::uint8_t> bytes = content::ReadBytes(output);
        std::vector<std::int16_t> samples(bytes.size() / 2);
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
        return samples;
    }
    TempDirectory folder;
    const std::string output = folder.Path("out.raw");
    ScopedVariable driver{"SDL_AUDIODRIVER", "disk"}, file{"SDL_DISKAUDIOFILE", output.c_str()};
    MemoryFileSystem files = GameSounds();
    k_Audio audio{&files};
};

TEST_F(AudioOutputTest, SoundAndMusicAreAudibleAndStoppedMusicIsSilent) {
    constexpr std::size_t kWindowSamples = 4410 * 2;  // 100 ms of both channels
    // Whether a whole 100 ms window written after this call is loud or not: the music, turned
    // down, has an RMS near 0.02; silence has 0.
    auto windowBecomes = [&](bool loud) {
        std::size_t from = std::filesystem::file_size(output) / 2;
        return Eventually([&] {
            std::vector<std::int16_t> samples = Samples();
            for (std::size_t at = from; at + kWindowSamples <= samples.size(); at += kWindowSamples) {
                double sum = 0;
                for (std::size_t i = at; i < at + kWindowSamples; ++i) sum += std::pow(samples[i] / 32768.0, 2);
                if ((std::sqrt(sum / kWindowSamples) > 0.005) == loud) return true;
            }
            return false;
        }, 8);
    };
    audio.PlayMusic(kModule);
    EXPECT_TRUE(windowBecomes(true)) << "the music is silent";
    audio.StopMusic();
    EXPECT_TRUE(windowBecomes(false)) << "the music goes on after StopMusic";
    audio.PlaySound(kLaugh);
    EXPECT_TRUE(windowBecomes(true)) << "the sound is silent";
}

// A hard hit that breaks a piece starts the heaviest bounce and the explosion in one step; at
// full volume the two alone go far beyond full scale. Repeated over different bars of the music.
TEST_F(AudioOutputTest, TheLoudestSoundsTogetherOverTheMusicStayBelowFullScale) {
    constexpr std::size_t kBytesPerSecond = 44100 * 4;
    audio.PlayMusic(kModule);
    for (int hit = 0; hit < 6; ++hit) {
        audio.PlaySound(kHardestBounce);
        audio.PlaySound(kExplosion);
        SDL_Delay(250);  // spaces the hits over the music; the waits below poll
    }
    std::uintmax_t end = std::filesystem::file_size(output) + kBytesPerSecond;
    ASSERT_TRUE(Eventually([&] { return std::filesystem::file_size(output) >= end; }, 8));
    std::vector<std::int16_t> samples = Samples();
    auto clipped = std::count_if(samples.begin(), samples.end(), [](std::int16_t v) { return v >= 32767 || v <= -32767; });
    std::int16_t loudest = *std::max_element(samples.begin(), samples.end());
    EXPECT_EQ(clipped, 0) << "samples at full scale";
    EXPECT_GT(loudest, 32767 / 4) << "the sounds are not heard";
}

// The player's music_volume = 0 turns the music off entirely while the sounds still play.
TEST_F(AudioOutputTest, MusicVolumeZeroInTheSettingsFileSilencesOnlyTheMusic) {
    constexpr std::uintmax_t kBytesPerSecond = 44100 * 4;
    constexpr std::int16_t kInaudible = 32;  // under 0.1 % of full scale, -60 dB
    const std::string settingsFile = folder.Path("settings.ini");
    std::ofstream(settingsFile) << "music_volume = 0\n";
    std::ostringstream warnings;
    const GameSettings player = ReadGameSettings(settingsFile, warnings);
    audio.SetVolumes(player.musicVolume, player.effectsVolume);
    auto loudestOfTheNextSecond = [&] {
        const std::uintmax_t from = std::filesystem::file_size(output);
        Eventually([&] { return std::filesystem::file_size(output) >= from + kBytesPerSecond; }, 8);
        std::vector<std::int16_t> samples = Samples();
        samples.erase(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(from / 2));
        return samples.empty() ? -1 : *std::max_element(samples.begin(), samples.end());
    };
    audio.PlayMusic(kModule);
    EXPECT_LT(loudestOfTheNextSecond(), kInaudible) << "the music is heard";
    audio.PlaySound(kLaugh);
    EXPECT_GT(loudestOfTheNextSecond(), 1000) << "the sounds are silenced too";
}
