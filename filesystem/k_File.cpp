#include "filesystem/k_File.h"

#include <cstdio>
#include <cstring>

#include "Failure.h"
#include "WideText.h"

namespace {

constexpr const wchar_t* kIntegrityMessage = L"File integrity is broken.";
constexpr std::uint32_t kWordSize = 4;

// The cursor may have been set anywhere: compare addresses as integers, never by pointer
// arithmetic that could leave the array.
std::uintptr_t Address(const std::uint8_t* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

}  // namespace

k_File::k_File(std::unique_ptr<std::uint8_t[]> content, std::uint32_t size)
    : data(std::move(content)), cursor(data.get()), size(size) {
    data[size] = 0;
}

const std::uint8_t* k_File::GetData() { return data.get(); }

std::uint32_t k_File::GetSize() { return size; }

void k_File::SaveAs(const std::wstring& path) {
    std::string target = ToUtf8(path);
    // A name with a zero character would silently write to a shorter path.
    std::FILE* file = target.find('\0') == std::string::npos ? std::fopen(target.c_str(), "wb") : nullptr;
    if (file == nullptr) {
        throw k_Failure(L"Cannot create file: " + path);
    }
    bool written = std::fwrite(data.get(), 1, size, file) == size;
    bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        throw k_Failure(L"Cannot write file: " + path);
    }
}

std::wstring k_File::ReadString() {
    std::wstring text;
    for (;;) {
        RequireReadable(1);
        auto byte = static_cast<signed char>(*cursor++);
        if (byte == 0) {
            return text;
        }
        // Widened as a signed byte into one 16-bit character unit: 80-FF become FF80-FFFF,
        // the same characters on every width of wchar_t.
        text += static_cast<wchar_t>(static_cast<std::uint16_t>(byte));
    }
}

float k_File::ReadFloat() {
    std::uint32_t bits = ReadLittleEndian32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::int32_t k_File::ReadInt() { return static_cast<std::int32_t>(ReadLittleEndian32()); }

std::unique_ptr<std::uint8_t[]> k_File::ReadBytes(std::uint32_t count) {
    RequireReadable(count);
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[count]);
    std::memcpy(bytes.get(), cursor, count);
    cursor += count;
    return bytes;
}

void k_File::Rewind() { cursor = data.get(); }

const std::uint8_t* k_File::GetPosition() { return cursor; }

void k_File::SetPosition(const std::uint8_t* position) {
    cursor = position;
    RequireReadable(0);
}

bool k_File::IsAtEnd() { return Address(cursor) == Address(data.get()) + size; }

void k_File::RequireReadable(std::uint32_t count) const {
    std::uintptr_t start = Address(data.get());
    std::uintptr_t position = Address(cursor);
    bool inside = position >= start && position - start <= size;
    if (!inside || count > size - (position - start)) {
        throw k_Failure(kIntegrityMessage);
    }
}

std::uint32_t k_File::ReadLittleEndian32() {
    RequireReadable(kWordSize);
    std::uint32_t value = 0;
    for (std::uint32_t byte = 0; byte < kWordSize; ++byte) {
        value |= static_cast<std::uint32_t>(cursor[byte]) << (8 * byte);
    }
    cursor += kWordSize;
    return value;
}
