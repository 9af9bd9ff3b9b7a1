// Reads arbitrary bytes as a replay. A bad replay may only end in k_Failure; one that reads
// must write back to exactly the same bytes.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>

#include "Failure.h"
#include "app/Replay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Replay replay;
    try {
        replay = DecodeReplay(data, size, L"fuzz.replay");
    } catch (const k_Failure&) {
        return 0;
    }
    const std::string written = EncodeReplay(replay);
    if (written.size() != size || !std::equal(written.begin(), written.end(), reinterpret_cast<const char*>(data))) {
        std::abort();
    }
    return 0;
}
