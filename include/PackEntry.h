// What the pack reader tells about one archive entry, and the results of its operations.
#pragma once

#include <cstdint>
#include <string>

enum class PackResult {
    Success,
    CannotOpen,          // the file cannot be opened or is not an archive
    NotFound,
    MoreDataRemains,     // bytes were read and more remain; call again with the same index
    CorruptEntryHeader,
    ReadError,
    BadPassword,         // encrypted entry: wrong or missing password
    BadArguments,        // index out of range, no reader
    InflateError,        // corrupt data, a checksum mismatch or a truncated entry
};

// File attribute flags of an entry, in the values of the original platform's file API.
enum PackAttribute : std::uint32_t {
    PackAttributeReadOnly = 0x01,
    PackAttributeHidden = 0x02,
    PackAttributeSystem = 0x04,
    PackAttributeDirectory = 0x10,
    PackAttributeArchive = 0x20,
};

struct PackEntry {
    std::int32_t index = -1;          // position in the central directory, from 0
    std::wstring name;                // decoded from UTF-8 and cleaned
    std::uint32_t attributes = 0;     // PackAttribute flags
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;           // uncompressed
};
