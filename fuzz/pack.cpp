// Opens a pack from arbitrary bytes and reads every entry twice: whole, as the file system
// opens it, and in small parts. Both reads must agree on the outcome and on every byte.
#include <cstdint>
#include <cstring>
#include <memory>

#include "filesystem/k_PackReader.h"

namespace {

constexpr std::uint32_t kPartSize = 4096;
// Entries may share one highly compressed stream; stop inflating after this much per input.
constexpr std::uint64_t kInflateBudget = std::uint64_t{256} << 20;

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// Extracts the entry in parts, comparing each part with the whole content when there is one.
// Returns the bytes extracted.
std::uint64_t CheckPartsMatch(k_PackReader& reader, std::int32_t index, const std::uint8_t* whole,
                              std::uint32_t wholeSize) {
    std::uint8_t part[kPartSize];
    std::uint64_t total = 0;
    PackResult result;
    do {
        std::uint32_t written = 0;
        result = reader.ExtractEntry(index, part, kPartSize, &written);
        Require(written <= kPartSize);
        if (whole != nullptr) {
            Require(total + written <= wholeSize && std::memcmp(part, whole + total, written) == 0);
        }
        total += written;
    } while (result == PackResult::MoreDataRemains && total < kInflateBudget);
    if (whole != nullptr) {
        Require(result == PackResult::Success && total == wholeSize);
    } else if (result == PackResult::Success) {
        // Only an entry declaring more than the whole-read limit may read in parts alone.
        Require(total > k_PackReader::kMaxEntrySize);
    }
    return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<k_PackReader> reader = k_PackReader::OpenPackInMemory(data, size);
    if (!reader) {
        return 0;
    }
    std::uint64_t inflated = 0;
    for (std::int32_t index = 0; index < reader->GetEntryCount() && inflated < kInflateBudget; ++index) {
        PackEntry entry;
        if (reader->GetEntry(index, entry) == PackResult::Success) {
            Require(entry.index == index);
            PackEntry found;
            reader->FindEntry(entry.name, found);
        }
        std::unique_ptr<std::uint8_t[]> content;
        std::uint32_t contentSize = 0;
        if (reader->ReadEntry(index, content, contentSize) == PackResult::Success) {
            Require(content != nullptr && content[contentSize] == 0);
        } else {
            Require(content == nullptr);
        }
        inflated += contentSize;
        inflated += CheckPartsMatch(*reader, index, content.get(), contentSize);
    }
    return 0;
}
