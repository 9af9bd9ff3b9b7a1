// Drives an in-memory file with a program of reads taken from the input: the first byte
// says how many of the following bytes are operations, the rest is the file's content.
// Every read must either succeed inside the content or fail and leave the cursor alone.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "Failure.h"
#include "filesystem/k_File.h"

namespace {

enum Operation { kReadString, kReadFloat, kReadInt, kReadBytes, kRewind, kSetPosition, kReadHuge, kOperationCount };

// SetPosition arguments reach this far before the content's start.
constexpr std::uintptr_t kPositionMargin = 4;

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

std::uintptr_t Address(const std::uint8_t* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

void Run(k_File& file, Operation operation, std::uint32_t argument) {
    const std::uint8_t* before = file.GetPosition();
    std::uintptr_t start = Address(file.GetData());
    bool inside = Address(before) >= start && Address(before) - start <= file.GetSize();
    std::uint32_t left = inside ? file.GetSize() - static_cast<std::uint32_t>(Address(before) - start) : 0;
    try {
        switch (operation) {
            case kReadString: {
                std::wstring text = file.ReadString();
                Require(inside && text.size() < left && file.GetPosition() == before + text.size() + 1);
                break;
            }
            case kReadFloat:
                file.ReadFloat();
                Require(inside && left >= 4 && file.GetPosition() == before + 4);
                break;
            case kReadInt: {
                std::int32_t value = file.ReadInt();
                Require(inside && left >= 4 && file.GetPosition() == before + 4);
                std::uint32_t expected = before[0] | before[1] << 8 | before[2] << 16 | std::uint32_t{before[3]} << 24;
                Require(static_cast<std::uint32_t>(value) == expected);
                break;
            }
            case kReadBytes:
            case kReadHuge: {
                std::uint32_t count = operation == kReadBytes ? argument : 0xFFFFFFFFu - argument;
                std::unique_ptr<std::uint8_t[]> bytes = file.ReadBytes(count);
                Require(inside && count <= left && std::memcmp(bytes.get(), before, count) == 0);
                break;
            }
            case kRewind:
                file.Rewind();
                Require(file.GetPosition() == file.GetData());
                break;
            case kSetPosition: {
                auto position = reinterpret_cast<const std::uint8_t*>(start + argument - kPositionMargin);
                file.SetPosition(position);
                Require(argument >= kPositionMargin && argument - kPositionMargin <= file.GetSize());
                break;
            }
            default:
                break;
        }
    } catch (const k_Failure&) {
        // A failed string read keeps what it consumed; every other failed read keeps the cursor.
        Require(operation == kReadString || operation == kSetPosition || file.GetPosition() == before);
    }
    Require(file.IsAtEnd() == (Address(file.GetPosition()) == start + file.GetSize()));
    Require(file.GetData()[file.GetSize()] == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::size_t operationCount = std::min<std::size_t>(data[0], size - 1);
    const std::uint8_t* operations = data + 1;
    const std::uint8_t* content = operations + operationCount;
    auto contentSize = static_cast<std::uint32_t>(size - 1 - operationCount);

    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[contentSize + std::size_t{1}]);
    std::memcpy(bytes.get(), content, contentSize);
    k_File file(std::move(bytes), contentSize);
    for (std::size_t step = 0; step < operationCount; ++step) {
        auto operation = static_cast<Operation>(operations[step] % kOperationCount);
        std::uint32_t argument = operations[step] / kOperationCount;
        Run(file, operation, argument);
    }
    return 0;
}
