// Loads arbitrary bytes as a level into a universe over a headless stand-in engine. A bad
// level may only end in k_Failure; a level that loads must save to text that loads again
// to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "Failure.h"
#include "IFile.h"
#include "tests/support/WorldFakes.h"
#include "world/LevelWriter.h"
#include "world/XmlPlatformSession.h"
#include "world/k_Universe.h"

namespace {

// The bytes as an opened data file: content followed by one zero byte.
class BytesFile : public IFile {
public:
    BytesFile(const std::uint8_t* data, std::size_t size) : bytes(data, data + size) { bytes.push_back(0); }
    const std::uint8_t* GetData() override { return bytes.data(); }
    std::uint32_t GetSize() override { return static_cast<std::uint32_t>(bytes.size() - 1); }
    void SaveAs(const std::wstring&) override {}
    std::wstring ReadString() override { return {}; }
    float ReadFloat() override { return 0; }
    std::int32_t ReadInt() override { return 0; }
    std::unique_ptr<std::uint8_t[]> ReadBytes(std::uint32_t) override { return nullptr; }
    void Rewind() override {}
    const std::uint8_t* GetPosition() override { return bytes.data(); }
    void SetPosition(const std::uint8_t*) override {}
    bool IsAtEnd() override { return true; }

private:
    std::vector<std::uint8_t> bytes;
};

std::string LoadAndFormat(const std::uint8_t* data, std::size_t size) {
    WorldFakeEngine engine;
    k_Universe universe(&engine);
    engine.universe = &universe;
    BytesFile file(data, size);
    universe.Load(&file);
    return FormatLevel(universe);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Held for the whole run, so that each load only counts the XML library's set-up.
    static XmlPlatformSession session;
    std::string saved;
    try {
        saved = LoadAndFormat(data, size);
    } catch (const k_Failure&) {
        return 0;
    }
    const auto* savedBytes = reinterpret_cast<const std::uint8_t*>(saved.data());
    if (LoadAndFormat(savedBytes, saved.size()) != saved) {
        std::abort();
    }
    return 0;
}
