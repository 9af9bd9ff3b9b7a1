// Reads a zip pack through minizip. Opening builds an index of the central directory once
// (cleaned names, attributes, sizes, each entry's position, and a map from the folded stored
// name to the first entry carrying it), so finding and extracting an entry never walks the
// directory. Owns the open archive and closes it when destroyed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "PackEntry.h"

class k_PackReader {
public:
    // Stored and wanted names of this many UTF-8 bytes or more are refused.
    static constexpr std::size_t kMaxNameBytes = 256;
    // An entry declaring more uncompressed bytes than this is never loaded whole.
    static constexpr std::uint64_t kMaxEntrySize = std::uint64_t{1} << 30;

    // The reader of the zip file at path, or null when it cannot be opened or is no archive.
    static std::unique_ptr<k_PackReader> OpenPack(const std::wstring& path);
    // The same over an archive already in memory; the bytes must outlive the reader.
    static std::unique_ptr<k_PackReader> OpenPackInMemory(const std::uint8_t* bytes, std::size_t size);

    ~k_PackReader();
    k_PackReader(const k_PackReader&) = delete;
    k_PackReader& operator=(const k_PackReader&) = delete;

    std::int32_t GetEntryCount() const;
    // False when the central directory breaks off: the entries behind the damage are missing.
    bool IsDirectoryComplete() const { return directoryComplete; }
    // Describes the entry at index; closes the entry data that is open. An entry whose stored
    // name is too long gives CorruptEntryHeader and an empty description.
    PackResult GetEntry(std::int32_t index, PackEntry& entry);
    // The index of the first entry whose stored name equals name, ASCII letters compared
    // without case and "\" taken as "/", with its description; -1 and an empty description
    // when there is none.
    std::int32_t FindEntry(const std::wstring& name, PackEntry& entry);
    // Writes up to count bytes of the entry's uncompressed data into buffer and tells how many
    // in written. MoreDataRemains: buffer is full and the entry goes on; a later call with the
    // same index continues. Success: the entry's end was reached and its checksum matched.
    PackResult ExtractEntry(std::int32_t index, std::uint8_t* buffer, std::uint32_t count,
                            std::uint32_t* written = nullptr);
    // The entry's whole content in a new array of size + 1 bytes ending with a zero byte.
    // Declared sizes are not trusted: memory grows with the data really inflated, and the
    // entry must deliver exactly its declared size and pass its checksum.
    PackResult ReadEntry(std::int32_t index, std::unique_ptr<std::uint8_t[]>& content, std::uint32_t& size);

private:
    struct MemoryArchive;

    // Where minizip finds an entry's central directory record.
    struct ArchivePosition {
        std::uint64_t directoryOffset = 0;
        std::uint64_t entryNumber = 0;
    };

    struct IndexedEntry {
        PackEntry entry;
        std::uint64_t declaredSize = 0;
        ArchivePosition position;
        bool encrypted = false;
        bool nameAccepted = false;
    };

    k_PackReader(void* archive, std::unique_ptr<MemoryArchive> memory);
    static std::unique_ptr<k_PackReader> FromArchive(void* archive, std::unique_ptr<MemoryArchive> memory);
    void BuildIndex();
    bool IndexCurrentEntry(std::string& nameBuffer);
    PackResult OpenEntryData(std::int32_t index);
    void CloseEntryData();
    bool IsValidIndex(std::int32_t index) const;

    void* archive;  // the minizip handle
    std::unique_ptr<MemoryArchive> memory;
    std::int32_t current = -1;  // the entry whose data is open, or -1
    bool directoryComplete = true;
    std::vector<IndexedEntry> entries;
    std::unordered_map<std::string, std::int32_t> firstEntryByName;
};
