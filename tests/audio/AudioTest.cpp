// The engine's audio on the game's own sounds: start-up failures, sound streams replacing
// their name's previous stream, the looping music, the layer's handle and channel rules,
// and what really reaches the output (SDL's disk driver writes it to a file).
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

#include "audio/k_Audio.h"
#include "content/ContentFiles.h"
#include "support/Failures.h"
#include "support/MemoryFiles.h"

namespace {

const std::wstring kLaugh = L"sounds/laugh.ogg";   // 1.5 to 2 s
const std::wstring kExplosion = L"sounds/explosion.wav";
const std::wstring kBounce = L"sounds/s1.wav";     // under 0.4 s
const std::wstring kModule = L"sounds/glimmerdrift.xm";
constexpr DWORD kGoodVersion = BASSVERSION << 16;

// Sets an environment variable for one scope.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name(name) {
        const char* old = getenv(name);
        hadValue = old != nullptr;
        previous = hadValue ? old : "";
        setenv(name, value, 1);
    }
    ~ScopedVariable() { hadValue ? setenv(name, previous.c_str(), 1) : unsetenv(name); }

private:
    const char* name;
    bool hadValue;
    std::string previous;
};

// Polls until condition holds, for at most seconds.
bool Eventually(const std::function<bool()>& condition, double seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

MemoryFileSystem GameSounds() {
    MemoryFileSystem files;
    for (const std::wstring& name : {kLaugh, kExplosion, kBounce, kModule}) {
        files.files[name] = content::ReadBytes(content::DataPath(ToUtf8(name)));
    }
    return files;
}

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override { audio.Open(nullptr); }

    MemoryFileSystem files = GameSounds();
    k_Audio audio{&files};
};

}  // namespace

TEST(AudioStartTest, WrongVersionOrNoDeviceStopsStartUpWithoutOpeningTheDevice) {
    struct Case { DWORD version; const char* driver; std::wstring message; };
    const std::wstring wrongVersion = L"BASS :: An incorrect version of BASS.DLL was loaded!";
    for (const Case& c : {Case{0x02030000, "dummy", wrongVersion}, Case{0x02050000, "dummy", wrongVersion},
                          Case{kGoodVersion, "no-such-driver", L"BASS :: Can't initialize audio device!"}}) {
        ScopedVariable driver("SDL_AUDIODRIVER", c.driver);
        BassReportVersionForTesting(c.version);
        MemoryFileSystem files;
        k_Audio audio(&files);
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
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_TRUE(Mix_PlayingMusic()) << "the music ended instead of looping";
    audio.StopMusic();
    audio.StopMusic();
    EXPECT_FALSE(Mix_PlayingMusic());
}

TEST_F(AudioTest, LayerRejectsUnknownHandlesGrowsChannelsAndStopsOnlyWhatItOwns) {
    EXPECT_FALSE(BASS_ChannelPlay(0xDEAD, kBassTrue));
    EXPECT_FALSE(BASS_StreamFree(0));
    std::vector<std::uint8_t> laugh = files.files[kLaugh], bounce = files.files[kBounce];
    std::vector<HSTREAM> streams;
    for (int count = 0; count < 17; ++count) {
        streams.push_back(BASS_StreamCreateFile(kBassTrue, laugh.data(), 0, laugh.size(), 0));
        ASSERT_TRUE(BASS_ChannelPlay(streams.back(), kBassTrue));
    }
    EXPECT_FALSE(BASS_MusicFree(streams.front())) << "a stream is not a music";
    EXPECT_EQ(Mix_Playing(-1), 17);
    EXPECT_EQ(Mix_AllocateChannels(-1), 32);
    for (HSTREAM stream : streams) BASS_StreamFree(stream);

    HSTREAM finished = BASS_StreamCreateFile(kBassTrue, bounce.data(), 0, bounce.size(), 0);
    ASSERT_TRUE(BASS_ChannelPlay(finished, kBassTrue));
    ASSERT_TRUE(Eventually([&] { return BASS_ChannelIsActive(finished) == BASS_ACTIVE_STOPPED; }, 3));
    HSTREAM next = BASS_StreamCreateFile(kBassTrue, laugh.data(), 0, laugh.size(), 0);
    ASSERT_TRUE(BASS_ChannelPlay(next, kBassTrue));  // on the channel the finished one left
    BASS_ChannelStop(finished);
    BASS_StreamFree(finished);
    EXPECT_EQ(BASS_ChannelIsActive(next), BASS_ACTIVE_PLAYING);
}

// The disk driver writes the mixed output as raw 16-bit stereo at 44.1 kHz in real time.
TEST(AudioOutputTest, SoundAndMusicAreAudibleAndStoppedMusicIsSilent) {
    content::TemporaryFolder folder;
    const std::string output = (folder.Path() / "out.raw").string();
    ScopedVariable driver("SDL_AUDIODRIVER", "disk");
    ScopedVariable file("SDL_DISKAUDIOFILE", output.c_str());
    MemoryFileSystem files = GameSounds();
    k_Audio audio(&files);
    audio.Open(nullptr);

    constexpr std::size_t kWindowBytes = 4410 * 4;  // 100 ms
    // Whether a whole 100 ms window written after this call has an RMS above or below 0.02.
    auto windowBecomes = [&](bool loud) {
        std::size_t from = std::filesystem::file_size(output);
        return Eventually([&] {
            std::vector<std::uint8_t> bytes = content::ReadBytes(output);
            for (std::size_t at = from; at + kWindowBytes <= bytes.size(); at += kWindowBytes) {
                double sum = 0;
                for (std::size_t i = at; i < at + kWindowBytes; i += 2) {
                    double sample = std::int16_t(bytes[i] | bytes[i + 1] << 8) / 32768.0;
                    sum += sample * sample;
                }
                if ((std::sqrt(sum / (kWindowBytes / 2)) > 0.02) == loud) return true;
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
