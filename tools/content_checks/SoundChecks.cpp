// The generated sounds and music in data/sounds: remade byte for byte by tools/, decoded by the
// mixer, measured by sox, and the music rendered by two independent players.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/content_checks/ContentFiles.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;
using content::Quoted;
using content::ReadBytes;
using content::Succeeds;

namespace {

using Bytes = std::vector<std::uint8_t>;

const fs::path kSoundsDir = content::DataPath("sounds");
const char* const kModuleName = "glimmerdrift.xm";
// Every music module: the game's song and the songs worlds name.
const char* const kModuleNames[] = {kModuleName, "frostlight.xm"};
const char* const kLaughName = "laugh.ogg";
constexpr int kBounceCount = 15;  // the highest index the speed limit lets the ball reach
constexpr double kAudibleRms = 0.01;          // -40 dBFS: well above silence, below any real sound
constexpr double kAudibleMusicRms = 0.02;
constexpr double kPlayingChannelRms = 0.001;  // -60 dBFS: a channel alone plays something
constexpr double kUnclippedPeak = 0.99;
constexpr double kMinimumLoopSeconds = 30.0;
constexpr double kSampleRate = 44100;
constexpr double kSampleBits = 16;
const std::string kModuleSignature = "Extended Module: ";
constexpr size_t kRestartPositionOffset = 66;  // in the module's header, little-endian

std::string BounceName(int index) { return "s" + std::to_string(index) + ".wav"; }

// The sounds the game plays: the bounces from the softest up, the explosion, dying and the laugh.
std::vector<std::string> SoundNames() {
    std::vector<std::string> names;
    for (int index = 1; index <= kBounceCount; ++index) {
        names.push_back(BounceName(index));
    }
    names.insert(names.end(), {"explosion.wav", "die.wav", kLaughName});
    return names;
}

// The "name: number" lines a command prints (sox's stat, openmpt123's --info), by name
// without its padding of dots and spaces.
std::map<std::string, double> Figures(const std::string& command) {
    std::map<std::string, double> figures;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return figures;
    char line[256];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        auto colon = text.find(':');
        if (colon == std::string::npos || colon == 0) continue;
        std::string key = text.substr(0, text.find_last_not_of(". ", colon - 1) + 1);
        try {
            figures[key] = std::stod(text.substr(colon + 1));
        } catch (const std::exception&) {
        }
    }
    pclose(pipe);
    return figures;
}

struct Level {
    double seconds;
    double rms;    // of full scale
    double peak;   // of full scale
    double pitch;  // sox's rough frequency, in hertz
};

Level Measure(const fs::path& file) {
    auto stat = Figures("sox " + Quoted(file) + " -n stat");
    return {stat["Length (seconds)"], stat["RMS     amplitude"],
            std::max(stat["Maximum amplitude"], -stat["Minimum amplitude"]), stat["Rough   frequency"]};
}

void ExpectAudibleUnclippedMusic(const fs::path& rendered, const std::string& what) {
    Level level = Measure(rendered);
    EXPECT_GE(level.seconds, kMinimumLoopSeconds) << what;
    EXPECT_GT(level.rms, kAudibleMusicRms) << what << ": silent";
    EXPECT_LT(level.peak, kUnclippedPeak) << what << ": clipped";
}

}  // namespace

TEST(ContentSoundTools, RegenerateEveryFileByteForByte) {
    ASSERT_TRUE(Succeeds("command -v python3")) << "python3 is needed to run tools/make_*.py";
    ASSERT_TRUE(Succeeds("command -v oggenc")) << "oggenc (vorbis-tools) is needed to encode the laugh";
    TempDirectory temp;
    const fs::path output = temp.Path();
    for (const char* tool : {"make_sounds.py", "make_music.py"}) {
        std::string command = "python3 -B " + Quoted(content::SourcePath("tools") / tool) + " " + Quoted(output);
        ASSERT_TRUE(Succeeds(command)) << command;
    }
    std::vector<std::string> soundNames = SoundNames();
    std::set<std::string> expected(soundNames.begin(), soundNames.end());
    expected.insert(std::begin(kModuleNames), std::end(kModuleNames));
    EXPECT_EQ(content::FilesUnder(output), expected);
    for (const auto& name : expected) {
        Bytes committed = ReadBytes(kSoundsDir / name);
        EXPECT_FALSE(committed.empty()) << name << " is missing from data/sounds";
        EXPECT_TRUE(committed == ReadBytes(output / name))
            << name << " differs from what the tools make now: rerun them and commit";
    }
}

// As the game's audio layer loads them: from memory, on a mixer of the game's format (here on
// the dummy driver, which needs no device).
TEST(ContentSoundDecoding, EverySoundAndTheMusicDecodeFromMemoryThroughTheMixer) {
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MOD);
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    for (const auto& name : SoundNames()) {
        Bytes bytes = ReadBytes(kSoundsDir / name);
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1);
        ASSERT_NE(chunk, nullptr) << name << " does not decode: " << Mix_GetError();
        EXPECT_GT(chunk->alen, 0u) << name;
        Mix_FreeChunk(chunk);
    }
    for (const char* name : kModuleNames) {
        Bytes module = ReadBytes(kSoundsDir / name);
        Mix_Music* music = Mix_LoadMUS_RW(SDL_RWFromConstMem(module.data(), int(module.size())), 1);
        ASSERT_NE(music, nullptr) << name << ": " << Mix_GetError();
        EXPECT_EQ(Mix_GetMusicType(music), MUS_MOD);
        Mix_FreeMusic(music);
    }
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
}

// The bounces, in index order, also get longer, louder and lower.
TEST(ContentSoundFiles, EverySoundIsCdQualityAudibleUnclippedAndShortAndBouncesGrowWithTheirIndex) {
    ASSERT_TRUE(Succeeds("command -v sox")) << "sox measures the sounds";
    std::map<std::string, std::pair<double, double>> lengths = {
        {"explosion.wav", {0.6, 1.0}}, {"die.wav", {0.5, 0.9}}, {kLaughName, {1.5, 2.0}}};
    std::vector<std::string> names = SoundNames();
    Level previous{};
    for (size_t index = 0; index < names.size(); ++index) {
        const std::string& name = names[index];
        auto info = Figures("sox --i " + Quoted(kSoundsDir / name));
        EXPECT_EQ(info["Sample Rate"], kSampleRate) << name;
        EXPECT_EQ(info["Precision"], kSampleBits) << name;
        EXPECT_TRUE(info["Channels"] == 1 || info["Channels"] == 2) << name;
        // "16-bit Signed Integer PCM" for the WAV files, "Vorbis" (no figure) for the laugh.
        EXPECT_EQ(info["Sample Encoding"], name == kLaughName ? 0 : kSampleBits) << name;
        Level level = Measure(kSoundsDir / name);
        EXPECT_GT(level.rms, kAudibleRms) << name << " is silent";
        EXPECT_LT(level.peak, kUnclippedPeak) << name << " is clipped";
        auto [shortest, longest] = lengths.count(name) ? lengths[name] : std::pair(0.1, 0.55);
        EXPECT_GE(level.seconds, shortest - 1e-3) << name;
        EXPECT_LE(level.seconds, longest + 1e-3) << name;
        if (index > 0 && index < size_t(kBounceCount)) {
            EXPECT_GT(level.seconds, previous.seconds) << name;
            EXPECT_GT(level.peak, previous.peak) << name;
            EXPECT_LT(level.pitch, previous.pitch) << name << " is not lower";
        }
        previous = level;
    }
}

// The players measure what the module really plays, so tempo and order effects cannot make
// the song or its loop shorter than they look.
TEST(ContentMusic, IndependentPlayersRenderTheSongItsLoopAndEveryChannel) {
    for (const char* tool : {"sox", "openmpt123", "xmp"}) {
        ASSERT_TRUE(Succeeds(std::string("command -v ") + tool)) << tool << " is needed to render and measure the music";
    }
    TempDirectory temp;
    const fs::path output = temp.Path();
    const fs::path module = output / kModuleName;
    fs::copy_file(kSoundsDir / kModuleName, module);
    Bytes bytes = ReadBytes(module);
    ASSERT_GT(bytes.size(), kRestartPositionOffset + 1);
    ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + kModuleSignature.size()), kModuleSignature);
    int restartPosition = bytes[kRestartPositionOffset] | bytes[kRestartPositionOffset + 1] << 8;

    auto info = Figures("openmpt123 --info " + Quoted(module));
    EXPECT_GE(info["Channels"], 4);
    EXPECT_LE(info["Channels"], 8);
    EXPECT_GE(info["Patterns"], 4);
    EXPECT_GE(info["Instruments"], 4);
    ASSERT_TRUE(Succeeds("openmpt123 --quiet --render --samplerate 44100 --no-float " + Quoted(module)));
    ExpectAudibleUnclippedMusic(output / (std::string(kModuleName) + ".wav"), "the song by openmpt123");

    const fs::path rendered = output / "xmp.wav";
    auto renderWithXmp = [&](const std::string& options) {
        return Succeeds("xmp --quiet --norc " + options + " -o " + Quoted(rendered) + " " + Quoted(module));
    };
    ASSERT_TRUE(renderWithXmp("--start " + std::to_string(restartPosition)));
    ExpectAudibleUnclippedMusic(rendered, "the loop by xmp");
    for (int channel = 0; channel < info["Channels"]; ++channel) {
        ASSERT_TRUE(renderWithXmp("--solo " + std::to_string(channel)));
        EXPECT_GT(Measure(rendered).rms, kPlayingChannelRms) << "channel " << channel << " is unused";
    }
}
