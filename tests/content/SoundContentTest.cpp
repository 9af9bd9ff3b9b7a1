// Checks the generated sounds and music in data/sounds: the tools in tools/ reproduce every file
// byte for byte; each sound decodes through SDL2_mixer from memory and is audible without
// clipping; the music module loads as a module, has the layout its players expect, and two
// independent players render at least half a minute of audible, unclipped music from it.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

const fs::path kSourceDir = ROLLANDIA_SOURCE_DIR;
const fs::path kSoundsDir = kSourceDir / "data" / "sounds";
const char* const kModuleName = "glimmerdrift.xm";
const char* const kLaughName = "laugh.ogg";
constexpr int kBounceCount = 7;
constexpr int kMixRate = 44100;
constexpr double kFullScale = 32768.0;
constexpr double kAudibleRms = 0.01;       // -40 dBFS: well above silence, below any real sound
constexpr double kUnclippedPeak = 0.99;
constexpr double kMinimumLoopSeconds = 30.0;

std::vector<std::string> WavNames() {
    std::vector<std::string> names;
    for (int index = 1; index <= kBounceCount; ++index) {
        names.push_back("s" + std::to_string(index) + ".wav");
    }
    names.push_back("explosion.wav");
    names.push_back("die.wav");
    return names;
}

Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

bool HasCommand(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// A fresh temporary folder, removed with everything in it when the test ends.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "rollandia-sound-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

// sox's "stat" figures of an audio file ("Length (seconds)", "RMS     amplitude", ...).
std::map<std::string, double> SoxStat(const fs::path& file) {
    std::map<std::string, double> figures;
    FILE* pipe = popen(("sox " + Quoted(file) + " -n stat 2>&1").c_str(), "r");
    if (pipe == nullptr) return figures;
    std::array<char, 256> line{};
    while (std::fgets(line.data(), line.size(), pipe) != nullptr) {
        std::string text(line.data());
        auto colon = text.find(':');
        if (colon == std::string::npos) continue;
        std::string key = text.substr(0, colon);
        key.erase(key.find_last_not_of(' ') + 1);
        try {
            figures[key] = std::stod(text.substr(colon + 1));
        } catch (const std::exception&) {
        }
    }
    pclose(pipe);
    return figures;
}

// ---------------------------------------------------------------- sounds through SDL2_mixer

struct Level {
    double seconds = 0;
    double rms = 0;          // of full scale
    double peak = 0;         // of full scale
    double crossingRate = 0; // zero crossings per second with hysteresis: a rough pitch measure
};

// Opens the mixer on the dummy driver (silent, no device needed) for the whole suite.
class SoundDecoding : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* previous = getenv("SDL_AUDIODRIVER");
        previousDriver = previous ? std::optional<std::string>(previous) : std::nullopt;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ready = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        Mix_Init(MIX_INIT_OGG | MIX_INIT_MOD);
        ready = ready && Mix_OpenAudio(kMixRate, AUDIO_S16SYS, 2, 1024) == 0;
        if (ready) Mix_QuerySpec(&rate, &format, &channels);
    }
    static void TearDownTestSuite() {
        if (ready) Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        if (previousDriver) {
            setenv("SDL_AUDIODRIVER", previousDriver->c_str(), 1);
        } else {
            unsetenv("SDL_AUDIODRIVER");
        }
    }
    void SetUp() override {
        ASSERT_TRUE(ready) << "mixer did not open: " << Mix_GetError();
        ASSERT_EQ(format, AUDIO_S16SYS);
    }

    // Decodes a file from memory exactly as the game's audio layer does and measures it.
    static std::optional<Level> Measure(const std::string& name) {
        Bytes bytes = ReadBytes(kSoundsDir / name);
        if (bytes.empty()) return std::nullopt;
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1);
        if (chunk == nullptr) return std::nullopt;
        const auto* samples = reinterpret_cast<const std::int16_t*>(chunk->abuf);
        size_t count = chunk->alen / sizeof(std::int16_t);
        Level level;
        level.seconds = double(count) / channels / rate;
        double sumOfSquares = 0;
        for (size_t index = 0; index < count; ++index) {
            double value = samples[index] / kFullScale;
            sumOfSquares += value * value;
            level.peak = std::max(level.peak, std::fabs(value));
        }
        level.rms = count ? std::sqrt(sumOfSquares / count) : 0.0;
        double threshold = 0.02 * level.peak;
        int sign = 0;
        int crossings = 0;
        for (size_t index = 0; index < count; index += channels) {
            double value = samples[index] / kFullScale;
            int now = value > threshold ? 1 : value < -threshold ? -1 : 0;
            if (now != 0 && sign != 0 && now != sign) ++crossings;
            if (now != 0) sign = now;
        }
        level.crossingRate = level.seconds > 0 ? crossings / 2.0 / level.seconds : 0.0;
        Mix_FreeChunk(chunk);
        return level;
    }

    static inline bool ready = false;
    static inline int rate = 0;
    static inline Uint16 format = 0;
    static inline int channels = 0;
    static inline std::optional<std::string> previousDriver;
};

// The WAV header's format fields: 16-bit PCM at 44.1 kHz, mono or stereo.
void ExpectCdQualityPcm(const std::string& name) {
    Bytes bytes = ReadBytes(kSoundsDir / name);
    ASSERT_GE(bytes.size(), 44u) << name;
    auto u16 = [&](size_t at) { return bytes[at] | bytes[at + 1] << 8; };
    auto u32 = [&](size_t at) { return std::uint32_t(u16(at)) | std::uint32_t(u16(at + 2)) << 16; };
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF") << name;
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ") << name;
    EXPECT_EQ(u16(20), 1) << name << ": not PCM";
    EXPECT_TRUE(u16(22) == 1 || u16(22) == 2) << name;
    EXPECT_EQ(u32(24), 44100u) << name;
    EXPECT_EQ(u16(34), 16) << name;
}

// ---------------------------------------------------------------- the module's layout

class ByteReader {
public:
    explicit ByteReader(const Bytes& bytes) : bytes(bytes) {}
    std::uint32_t Read(size_t at, int width) const {
        if (at + width > bytes.size()) throw std::out_of_range("module ends early");
        std::uint32_t value = 0;
        for (int index = width - 1; index >= 0; --index) value = value << 8 | bytes[at + index];
        return value;
    }
    const Bytes& bytes;
};

struct ModuleSummary {
    int songLength = 0, restart = 0, channels = 0, patterns = 0, instruments = 0;
    int speed = 0, bpm = 0;
    std::vector<int> orders;
    std::vector<int> rowsPerPattern;
    std::vector<int> notesPerChannel;
    bool changesFlow = false;   // an effect that alters speed, tempo or the order of play
    bool endsAtFileEnd = false;
    std::vector<std::string> layoutErrors;
};

// Effects that would make the order/tempo arithmetic wrong: position jump, pattern break,
// set speed or tempo, pattern loop and pattern delay.
bool ChangesFlow(int effect, int parameter) {
    return effect == 0x0B || effect == 0x0D || effect == 0x0F ||
           (effect == 0x0E && ((parameter >> 4) == 0x6 || (parameter >> 4) == 0xE));
}

size_t ReadPattern(const ByteReader& in, size_t at, ModuleSummary& summary) {
    if (in.Read(at, 4) != 9) summary.layoutErrors.push_back("pattern header length is not 9");
    int rows = int(in.Read(at + 5, 2));
    size_t end = at + 9 + in.Read(at + 7, 2);
    summary.rowsPerPattern.push_back(rows);
    size_t position = at + 9;
    for (int cell = 0; cell < rows * summary.channels; ++cell) {
        int first = int(in.Read(position++, 1));
        int mask = (first & 0x80) ? first & 0x1F : 0x1F;
        if (!(first & 0x80)) --position;  // an unpacked cell starts with its note
        std::array<int, 5> fields{-1, -1, -1, -1, -1};
        for (int field = 0; field < 5; ++field) {
            if (mask & (1 << field)) fields[field] = int(in.Read(position++, 1));
        }
        if (fields[0] >= 1 && fields[0] <= 96) ++summary.notesPerChannel[cell % summary.channels];
        if (ChangesFlow(fields[3], fields[4] < 0 ? 0 : fields[4])) summary.changesFlow = true;
    }
    if (position != end) summary.layoutErrors.push_back("pattern cells do not fill its size");
    return end;
}

size_t ReadInstrument(const ByteReader& in, size_t at, ModuleSummary& summary) {
    std::uint32_t headerSize = in.Read(at, 4);
    int sampleCount = int(in.Read(at + 27, 2));
    if (headerSize != (sampleCount > 0 ? 263u : 29u)) {
        summary.layoutErrors.push_back("instrument header size " + std::to_string(headerSize));
    }
    size_t position = at + headerSize;
    if (sampleCount == 0) return position;
    if (in.Read(at + 29, 4) != 40) summary.layoutErrors.push_back("sample header is not 40");
    size_t dataBytes = 0;
    for (int sample = 0; sample < sampleCount; ++sample) {
        dataBytes += in.Read(position, 4);
        position += 40;
    }
    return position + dataBytes;
}

ModuleSummary ReadModule(const Bytes& bytes) {
    ByteReader in(bytes);
    ModuleSummary summary;
    if (std::string(bytes.begin(), bytes.begin() + std::min<size_t>(17, bytes.size())) !=
            "Extended Module: " ||
        in.Read(37, 1) != 0x1A || in.Read(58, 2) != 0x0104) {
        summary.layoutErrors.push_back("not an extended module of version 1.04");
    }
    std::uint32_t headerSize = in.Read(60, 4);
    if (headerSize != 276) summary.layoutErrors.push_back("header size is not 276");
    summary.songLength = int(in.Read(64, 2));
    summary.restart = int(in.Read(66, 2));
    summary.channels = int(in.Read(68, 2));
    summary.patterns = int(in.Read(70, 2));
    summary.instruments = int(in.Read(72, 2));
    summary.speed = int(in.Read(76, 2));
    summary.bpm = int(in.Read(78, 2));
    for (int order = 0; order < summary.songLength && order < 256; ++order) {
        summary.orders.push_back(int(in.Read(80 + order, 1)));
    }
    summary.notesPerChannel.assign(summary.channels, 0);
    size_t position = 60 + headerSize;
    for (int pattern = 0; pattern < summary.patterns; ++pattern) {
        position = ReadPattern(in, position, summary);
    }
    for (int instrument = 0; instrument < summary.instruments; ++instrument) {
        position = ReadInstrument(in, position, summary);
    }
    summary.endsAtFileEnd = position == bytes.size();
    return summary;
}

// Seconds from the restart position to the end of the order list: rows x ticks x 2.5 / BPM.
double LoopSeconds(const ModuleSummary& module) {
    double seconds = 0;
    for (int order = module.restart; order < module.songLength; ++order) {
        seconds += module.rowsPerPattern.at(module.orders.at(order)) * module.speed * 2.5 /
                   module.bpm;
    }
    return seconds;
}

void ExpectAudibleUnclippedMusic(const fs::path& rendered, const std::string& player) {
    auto stat = SoxStat(rendered);
    ASSERT_TRUE(stat.count("Length (seconds)")) << player << " rendered nothing readable";
    EXPECT_GE(stat["Length (seconds)"], kMinimumLoopSeconds) << player;
    EXPECT_GT(stat["RMS     amplitude"], 0.02) << player << ": silent";
    EXPECT_LT(stat["Maximum amplitude"], kUnclippedPeak) << player << ": clipped";
    EXPECT_GT(stat["Minimum amplitude"], -kUnclippedPeak) << player << ": clipped";
}

}  // namespace

// ---------------------------------------------------------------- tests

TEST(SoundTools, RegenerateEveryFileByteForByte) {
    ASSERT_TRUE(HasCommand("python3")) << "python3 is needed to run tools/make_*.py";
    ASSERT_TRUE(HasCommand("oggenc")) << "oggenc (vorbis-tools) is needed to encode the laugh";
    TemporaryFolder output;
    for (const char* tool : {"make_sounds.py", "make_music.py"}) {
        std::string command = "python3 -B " + Quoted(kSourceDir / "tools" / tool) + " " +
                              Quoted(output.path);
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    std::set<std::string> generated;
    for (const auto& entry : fs::directory_iterator(output.path)) {
        generated.insert(entry.path().filename().string());
    }
    std::vector<std::string> wavNames = WavNames();
    std::set<std::string> expected(wavNames.begin(), wavNames.end());
    expected.insert({kLaughName, kModuleName});
    EXPECT_EQ(generated, expected);
    for (const auto& name : expected) {
        Bytes committed = ReadBytes(kSoundsDir / name);
        EXPECT_FALSE(committed.empty()) << name << " is missing from data/sounds";
        EXPECT_TRUE(committed == ReadBytes(output.path / name))
            << name << " differs from what the tools make now: rerun them and commit";
    }
}

TEST(SoundFiles, WavFilesAre16BitPcmAt44100Hz) {
    for (const auto& name : WavNames()) ExpectCdQualityPcm(name);
    Bytes laugh = ReadBytes(kSoundsDir / kLaughName);
    ASSERT_GE(laugh.size(), 4u);
    EXPECT_EQ(std::string(laugh.begin(), laugh.begin() + 4), "OggS");
}

TEST_F(SoundDecoding, EverySoundIsAudibleUnclippedAndShort) {
    std::map<std::string, std::pair<double, double>> lengths = {
        {"explosion.wav", {0.6, 1.0}}, {"die.wav", {0.5, 0.9}}, {kLaughName, {1.5, 2.0}}};
    std::vector<std::string> names = WavNames();
    names.push_back(kLaughName);
    for (const auto& name : names) {
        auto level = Measure(name);
        ASSERT_TRUE(level) << name << " does not decode: " << Mix_GetError();
        EXPECT_GT(level->rms, kAudibleRms) << name << " is silent";
        EXPECT_LT(level->peak, kUnclippedPeak) << name << " is clipped";
        auto [shortest, longest] = lengths.count(name) ? lengths[name] : std::pair(0.1, 0.4);
        EXPECT_GE(level->seconds, shortest - 1e-3) << name;
        EXPECT_LE(level->seconds, longest + 1e-3) << name;
    }
}

TEST_F(SoundDecoding, BounceSoundsGetLongerLouderAndLowerWithTheirIndex) {
    std::optional<Level> previous;
    for (int index = 1; index <= kBounceCount; ++index) {
        std::string name = "s" + std::to_string(index) + ".wav";
        auto level = Measure(name);
        ASSERT_TRUE(level) << name;
        if (previous) {
            EXPECT_GT(level->seconds, previous->seconds) << name;
            EXPECT_GT(level->peak, previous->peak) << name;
            EXPECT_LT(level->crossingRate, previous->crossingRate) << name << " is not lower";
        }
        previous = level;
    }
}

TEST_F(SoundDecoding, MusicLoadsAsATrackerModule) {
    Bytes bytes = ReadBytes(kSoundsDir / kModuleName);
    ASSERT_FALSE(bytes.empty());
    Mix_Music* music = Mix_LoadMUS_RW(SDL_RWFromConstMem(bytes.data(), int(bytes.size())), 1);
    ASSERT_NE(music, nullptr) << Mix_GetError();
    EXPECT_EQ(Mix_GetMusicType(music), MUS_MOD);
    Mix_FreeMusic(music);
}

TEST(MusicModule, LayoutIsCompleteAndTheLoopLastsHalfAMinute) {
    ModuleSummary module;
    ASSERT_NO_THROW(module = ReadModule(ReadBytes(kSoundsDir / kModuleName)));
    EXPECT_TRUE(module.layoutErrors.empty()) << module.layoutErrors.front();
    EXPECT_TRUE(module.endsAtFileEnd) << "sample data does not end at the end of the file";
    EXPECT_GE(module.channels, 4);
    EXPECT_LE(module.channels, 8);
    EXPECT_GE(module.patterns, 4);
    EXPECT_GE(module.instruments, 4);
    for (int channel = 0; channel < module.channels; ++channel) {
        EXPECT_GT(module.notesPerChannel[channel], 0) << "channel " << channel << " is unused";
    }
    ASSERT_GT(module.speed, 0);
    ASSERT_GT(module.bpm, 0);
    ASSERT_LT(module.restart, module.songLength);
    for (int order : module.orders) ASSERT_LT(order, module.patterns);
    EXPECT_FALSE(module.changesFlow) << "tempo or order effects: the loop length below is wrong";
    EXPECT_GE(LoopSeconds(module), kMinimumLoopSeconds);
}

TEST(MusicModule, IndependentPlayersRenderHalfAMinuteOfAudibleMusic) {
    ASSERT_TRUE(HasCommand("sox")) << "sox measures the rendered music";
    ASSERT_TRUE(HasCommand("openmpt123")) << "openmpt123 is one of the reference players";
    ASSERT_TRUE(HasCommand("xmp")) << "xmp is one of the reference players";
    TemporaryFolder output;
    fs::copy_file(kSoundsDir / kModuleName, output.path / kModuleName);
    std::string openmpt = "openmpt123 --quiet --render --samplerate 44100 --no-float " +
                          Quoted(output.path / kModuleName) + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(openmpt.c_str()), 0) << openmpt;
    ExpectAudibleUnclippedMusic(output.path / (std::string(kModuleName) + ".wav"), "openmpt123");
    std::string xmp = "xmp --quiet --norc -o " + Quoted(output.path / "xmp.wav") + " " +
                      Quoted(output.path / kModuleName) + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(xmp.c_str()), 0) << xmp;
    ExpectAudibleUnclippedMusic(output.path / "xmp.wav", "xmp");
}
