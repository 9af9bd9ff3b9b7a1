// A 64-bit FNV-1a digest: cheap, stable across machines and runs, enough to tell whether two
// level files or two simulation states are the same (it is no defence against forgery).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class Digest {
public:
    void Add(const void* bytes, std::size_t size);
    template <typename Value>
    void AddValue(const Value& value) {
        Add(&value, sizeof value);
    }
    std::uint64_t Value() const { return value; }
    // Sixteen lower-case hexadecimal digits.
    std::string Hex() const;

private:
    static constexpr std::uint64_t kOffsetBasis = 0xcbf29ce484222325ull;
    static constexpr std::uint64_t kPrime = 0x100000001b3ull;
    std::uint64_t value = kOffsetBasis;
};
