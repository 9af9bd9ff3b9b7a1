#include "base/Digest.h"

#include <cstdio>

void Digest::Add(const void* bytes, std::size_t size) {
    const auto* next = static_cast<const unsigned char*>(bytes);
    for (std::size_t index = 0; index < size; ++index) {
        value = (value ^ next[index]) * kPrime;
    }
}

std::string Digest::Hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}
