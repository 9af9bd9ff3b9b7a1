#include "app/Replay.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "Failure.h"
#include "WideText.h"
#include "base/AtomicFile.h"
#include "base/UserFolders.h"

namespace {

constexpr char kMagic[] = {'R', 'L', 'R', 'E', 'P', 'L', 'A', 'Y'};
constexpr std::size_t kShortTextLimit = 255;
constexpr std::size_t kWorldNameLimit = 65535;
// The largest file a valid replay can be: header limits plus the most steps.
constexpr std::size_t kMaxReplayFileBytes =
    sizeof kMagic + 2 + 2 * (1 + kShortTextLimit) + 2 + kWorldNameLimit + 4 + kMaxReplaySteps;
const wchar_t* const kReadFailure = L"Cannot play the replay ";
const wchar_t* const kWriteFailure = L"Cannot save the replay: ";

class ReplayWriter {
public:
    void Bytes(const void* data, std::size_t size) { out.append(static_cast<const char*>(data), size); }
    void Unsigned(std::uint32_t value, int bytes) {
        for (int index = 0; index < bytes; ++index) {
            out.push_back(static_cast<char>((value >> (8 * index)) & 0xFF));
        }
    }
    void Text(const std::string& text, int lengthBytes, std::size_t limit) {
        const std::size_t length = std::min(text.size(), limit);
        Unsigned(static_cast<std::uint32_t>(length), lengthBytes);
        Bytes(text.data(), length);
    }
    std::string Take() { return std::move(out); }

private:
    std::string out;
};

class ReplayReader {
public:
    ReplayReader(const std::uint8_t* bytes, std::size_t size, const std::wstring& name)
        : next(bytes), left(size), name(name) {}

    [[noreturn]] void Fail(const std::wstring& what) const { throw k_Failure(kReadFailure + name + L": " + what); }

    const std::uint8_t* Take(std::size_t size, const wchar_t* what) {
        if (size > left) {
            Fail(std::wstring(L"the file ends inside ") + what + L" (it is damaged or not a replay)");
        }
        const std::uint8_t* taken = next;
        next += size;
        left -= size;
        return taken;
    }
    std::uint32_t Unsigned(int bytes, const wchar_t* what) {
        const std::uint8_t* taken = Take(static_cast<std::size_t>(bytes), what);
        std::uint32_t value = 0;
        for (int index = 0; index < bytes; ++index) {
            value |= static_cast<std::uint32_t>(taken[index]) << (8 * index);
        }
        return value;
    }
    std::string Text(int lengthBytes, const wchar_t* what) {
        const std::size_t length = Unsigned(lengthBytes, what);
        const std::uint8_t* text = Take(length, what);
        return std::string(reinterpret_cast<const char*>(text), length);
    }
    std::size_t Left() const { return left; }

private:
    const std::uint8_t* next;
    std::size_t left;
    const std::wstring& name;
};

void ReadSteps(ReplayReader& in, Replay& replay) {
    const std::uint32_t count = in.Unsigned(4, L"the step count");
    if (count > kMaxReplaySteps) {
        in.Fail(L"it claims " + std::to_wstring(count) + L" steps, more than the " + std::to_wstring(kMaxReplaySteps) +
                L" a replay may hold");
    }
    if (count != in.Left()) {
        in.Fail(L"it claims " + std::to_wstring(count) + L" steps but holds " + std::to_wstring(in.Left()) +
                L" (it is damaged)");
    }
    const std::uint8_t* steps = in.Take(count, L"the steps");
    replay.steps.assign(steps, steps + count);
    for (std::size_t index = 0; index < replay.steps.size(); ++index) {
        if (replay.steps[index] & ~kAllStepKeys) {
            in.Fail(L"step " + std::to_wstring(index + 1) + L" holds keys this game does not know (it is damaged)");
        }
    }
}

}  // namespace

std::string EncodeReplay(const Replay& replay) {
    ReplayWriter out;
    out.Bytes(kMagic, sizeof kMagic);
    out.Unsigned(kReplayFormatVersion, 2);
    out.Text(replay.gameVersion, 1, kShortTextLimit);
    out.Text(replay.levelDigest, 1, kShortTextLimit);
    out.Text(replay.world, 2, kWorldNameLimit);
    out.Unsigned(static_cast<std::uint32_t>(replay.steps.size()), 4);
    out.Bytes(replay.steps.data(), replay.steps.size());
    return out.Take();
}

Replay DecodeReplay(const std::uint8_t* bytes, std::size_t size, const std::wstring& shownName) {
    ReplayReader in(bytes, size, shownName);
    if (size < sizeof kMagic || std::memcmp(in.Take(sizeof kMagic, L"the header"), kMagic, sizeof kMagic) != 0) {
        in.Fail(L"it is not a replay of this game");
    }
    const std::uint32_t version = in.Unsigned(2, L"the header");
    if (version != kReplayFormatVersion) {
        in.Fail(L"it was recorded in replay format " + std::to_wstring(version) + L"; this game plays format " +
                std::to_wstring(kReplayFormatVersion));
    }
    Replay replay;
    replay.gameVersion = in.Text(1, L"the game's version");
    replay.levelDigest = in.Text(1, L"the level digest");
    replay.world = in.Text(2, L"the world's name");
    ReadSteps(in, replay);
    return replay;
}

Replay ReadReplayFile(const std::filesystem::path& path) {
    const std::wstring name = path.wstring();
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        throw k_Failure(kReadFailure + name + L": " + FromUtf8(std::strerror(errno)));
    }
    if (!S_ISREG(status.st_mode)) {
        throw k_Failure(kReadFailure + name + L": it is not a regular file");
    }
    if (static_cast<std::uintmax_t>(status.st_size) > kMaxReplayFileBytes) {
        throw k_Failure(kReadFailure + name + L": at " + std::to_wstring(status.st_size) +
                        L" bytes it is larger than any replay");
    }
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        throw k_Failure(kReadFailure + name + L": it cannot be read");
    }
    return DecodeReplay(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), name);
}

void WriteReplayFile(const std::filesystem::path& path, const Replay& replay) {
    if (path.has_parent_path() && !MakeUserFolder(path.parent_path())) {
        throw k_Failure(kWriteFailure + path.parent_path().wstring() + L": the folder cannot be made");
    }
    WriteFileAtomically(path, EncodeReplay(replay), kWriteFailure, path.wstring());
}
