// Loads arbitrary bytes as a level into a universe over a headless stand-in engine. A bad
// level may only end in k_Failure; a level that loads must save to text that loads again
// to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Failure.h"
#include "tests/support/WorldFakes.h"
#include "world/LevelWriter.h"
#include "world/XmlPlatformSession.h"
#include "world/k_Universe.h"

namespace {

std::string LoadAndFormat(const std::uint8_t* data, std::size_t size) {
    WorldFakeEngine engine;
    k_Universe universe(&engine);
    engine.universe = &universe;
    MemoryFile file(data, size);
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
