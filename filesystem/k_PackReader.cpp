#include "filesystem/k_PackReader.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "WideText.h"

// ---------------------------------------------------------------- an archive held in memory

// minizip's file functions over a byte range, so a pack can be read without a file.
struct k_PackReader::MemoryArchive {
    const std::uint8_t* bytes = nullptr;
    std::uint64_t size = 0;
    std::uint64_t position = 0;

    static voidpf ZCALLBACK Open(voidpf opaque, const void*, int) {
        auto* memory = static_cast<MemoryArchive*>(opaque);
        memory->position = 0;
        return memory;
    }

    static uLong ZCALLBACK Read(voidpf, voidpf stream, void* buffer, uLong count) {
        auto* memory = static_cast<MemoryArchive*>(stream);
        std::uint64_t available = memory->size - memory->position;
        std::uint64_t copied = std::min<std::uint64_t>(count, available);
        if (copied > 0) {
            std::memcpy(buffer, memory->bytes + memory->position, copied);
        }
        memory->position += copied;
        return static_cast<uLong>(copied);
    }

    static uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }

    static ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) { return static_cast<MemoryArchive*>(stream)->position; }

    static long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
        auto* memory = static_cast<MemoryArchive*>(stream);
        std::uint64_t base = 0;
        if (origin == ZLIB_FILEFUNC_SEEK_CUR) {
            base = memory->position;
        } else if (origin == ZLIB_FILEFUNC_SEEK_END) {
            base = memory->size;
        } else if (origin != ZLIB_FILEFUNC_SEEK_SET) {
            return -1;
        }
        if (offset > memory->size || base > memory->size - offset) {
            return -1;
        }
        memory->position = base + offset;
        return 0;
    }

    static int ZCALLBACK Close(voidpf, voidpf) { return 0; }

    static int ZCALLBACK Error(voidpf, voidpf) { return 0; }

    zlib_filefunc64_def Functions() {
        return zlib_filefunc64_def{Open, Read, Write, Tell, Seek, Close, Error, this};
    }
};

namespace {

// The length a stored name can have in a central directory record (a 16-bit field), plus
// room for minizip's terminating zero.
constexpr std::size_t kNameBufferSize = std::size_t{std::numeric_limits<std::uint16_t>::max()} + 1;
// A whole-entry read starts with at most this much memory and grows only as data arrives.
constexpr std::uint32_t kFirstReadCapacity = std::uint32_t{16} << 20;
// One minizip read call returns an int: keep each call well inside its range.
constexpr std::uint32_t kMaxReadCall = std::uint32_t{1} << 30;
constexpr unsigned kEncryptedFlag = 1;

// Hosts ("version made by" high byte) whose external attributes hold MS-DOS flags.
constexpr unsigned kHostMsDos = 0;
constexpr unsigned kHostMacintosh = 7;
constexpr unsigned kHostNtfs = 11;
constexpr unsigned kHostVfat = 14;
constexpr std::uint32_t kMsDosFlags = PackAttributeReadOnly | PackAttributeHidden | PackAttributeSystem |
                                      PackAttributeDirectory | PackAttributeArchive;
// Other hosts keep a Unix mode in the high 16 bits of the external attributes.
constexpr std::uint32_t kUnixDirectoryTypeBit = std::uint32_t{1} << 30;
constexpr std::uint32_t kUnixOwnerWriteBit = std::uint32_t{1} << 23;

std::uint32_t AttributesOf(std::uint64_t versionMadeBy, std::uint64_t externalAttributes) {
    auto host = static_cast<unsigned>((versionMadeBy >> 8) & 0xFF);
    auto external = static_cast<std::uint32_t>(externalAttributes);
    if (host == kHostMsDos || host == kHostMacintosh || host == kHostNtfs || host == kHostVfat) {
        return external & kMsDosFlags;
    }
    std::uint32_t attributes = PackAttributeArchive;
    if (external & kUnixDirectoryTypeBit) {
        attributes |= PackAttributeDirectory;
    }
    if (!(external & kUnixOwnerWriteBit)) {
        attributes |= PackAttributeReadOnly;
    }
    return attributes;
}

// Drops drive prefixes, leading separators and everything up to a parent-directory step, so
// that no listed name climbs out of the pack's root.
std::wstring CleanName(std::wstring name) {
    static const wchar_t* const kParentSteps[] = {L"\\..\\", L"\\../", L"/../", L"/..\\"};
    constexpr std::size_t kParentStepLength = 4;
    for (;;) {
        if (name.size() >= 2 && name[1] == L':') {
            name.erase(0, 2);
            continue;
        }
        if (!name.empty() && (name[0] == L'\\' || name[0] == L'/')) {
            name.erase(0, 1);
            continue;
        }
        bool dropped = false;
        for (const wchar_t* step : kParentSteps) {
            std::size_t at = name.find(step);
            if (at != std::wstring::npos) {
                name.erase(0, at + kParentStepLength);
                dropped = true;
                break;
            }
        }
        if (!dropped) {
            return name;
        }
    }
}

// The form in which names are matched: ASCII letters in upper case, "\" as "/".
std::string FoldName(std::string name) {
    for (char& byte : name) {
        if (byte >= 'a' && byte <= 'z') {
            byte = static_cast<char>(byte - 'a' + 'A');
        } else if (byte == '\\') {
            byte = '/';
        }
    }
    return name;
}

}  // namespace

// ---------------------------------------------------------------- opening and the index

std::unique_ptr<k_PackReader> k_PackReader::OpenPack(const std::wstring& path) {
    std::string utf8 = ToUtf8(path);
    if (utf8.find('\0') != std::string::npos) {
        return nullptr;
    }
    return FromArchive(unzOpen64(utf8.c_str()), nullptr);
}

std::unique_ptr<k_PackReader> k_PackReader::OpenPackInMemory(const std::uint8_t* bytes, std::size_t size) {
    if (bytes == nullptr && size > 0) {
        return nullptr;
    }
    auto memory = std::make_unique<MemoryArchive>();
    memory->bytes = bytes;
    memory->size = size;
    zlib_filefunc64_def functions = memory->Functions();
    return FromArchive(unzOpen2_64("memory", &functions), std::move(memory));
}

std::unique_ptr<k_PackReader> k_PackReader::FromArchive(void* archive, std::unique_ptr<MemoryArchive> memory) {
    if (archive == nullptr) {
        return nullptr;
    }
    std::unique_ptr<k_PackReader> reader(new k_PackReader(archive, std::move(memory)));
    reader->BuildIndex();
    return reader;
}

k_PackReader::k_PackReader(void* archive, std::unique_ptr<MemoryArchive> memory)
    : archive(archive), memory(std::move(memory)) {}

k_PackReader::~k_PackReader() {
    CloseEntryData();
    unzClose(archive);
}

// Walks the central directory once. The walk stops at the first record that cannot be read:
// the records behind it cannot be located, so the pack offers the entries before it.
void k_PackReader::BuildIndex() {
    std::string nameBuffer(kNameBufferSize, '\0');
    for (int step = unzGoToFirstFile(archive); step == UNZ_OK; step = unzGoToNextFile(archive)) {
        if (entries.size() == static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) ||
            !IndexCurrentEntry(nameBuffer)) {
            break;
        }
    }
    unz_global_info64 global;
    directoryComplete = unzGetGlobalInfo64(archive, &global) == UNZ_OK && global.number_entry == entries.size();
}

bool k_PackReader::IndexCurrentEntry(std::string& nameBuffer) {
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(archive, &info, nameBuffer.data(), nameBuffer.size(), nullptr, 0, nullptr, 0) !=
        UNZ_OK) {
        return false;
    }
    unz64_file_pos position;
    if (unzGetFilePos64(archive, &position) != UNZ_OK) {
        return false;
    }
    // The name field's length tells how much minizip copied; a stored zero ends the name.
    std::size_t length = std::min<std::size_t>(info.size_filename, nameBuffer.size());
    std::string storedName(nameBuffer.data(), ::strnlen(nameBuffer.data(), length));

    IndexedEntry indexed;
    indexed.entry.index = static_cast<std::int32_t>(entries.size());
    indexed.nameAccepted = storedName.size() < kMaxNameBytes;
    if (indexed.nameAccepted) {
        indexed.entry.name = CleanName(FromUtf8(storedName));
        firstEntryByName.emplace(FoldName(storedName), indexed.entry.index);
    }
    indexed.entry.attributes = AttributesOf(info.version, info.external_fa);
    constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();
    indexed.entry.compressedSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(info.compressed_size, kMax32));
    indexed.entry.size = static_cast<std::uint32_t>(std::min<std::uint64_t>(info.uncompressed_size, kMax32));
    indexed.declaredSize = info.uncompressed_size;
    indexed.position = ArchivePosition{position.pos_in_zip_directory, position.num_of_file};
    indexed.encrypted = (info.flag & kEncryptedFlag) != 0;
    entries.push_back(std::move(indexed));
    return true;
}

// ---------------------------------------------------------------- entries

std::int32_t k_PackReader::GetEntryCount() const { return static_cast<std::int32_t>(entries.size()); }

bool k_PackReader::IsValidIndex(std::int32_t index) const { return index >= 0 && index < GetEntryCount(); }

PackResult k_PackReader::GetEntry(std::int32_t index, PackEntry& entry) {
    CloseEntryData();
    entry = PackEntry{};
    if (!IsValidIndex(index)) {
        return PackResult::BadArguments;
    }
    const IndexedEntry& indexed = entries[static_cast<std::size_t>(index)];
    if (!indexed.nameAccepted) {
        return PackResult::CorruptEntryHeader;
    }
    entry = indexed.entry;
    return PackResult::Success;
}

std::int32_t k_PackReader::FindEntry(const std::wstring& name, PackEntry& entry) {
    entry = PackEntry{};
    std::string wanted = ToUtf8(name);
    if (wanted.size() >= kMaxNameBytes || wanted.find('\0') != std::string::npos) {
        return -1;
    }
    auto found = firstEntryByName.find(FoldName(std::move(wanted)));
    if (found == firstEntryByName.end()) {
        return -1;
    }
    GetEntry(found->second, entry);
    return found->second;
}

// ---------------------------------------------------------------- entry data

PackResult k_PackReader::OpenEntryData(std::int32_t index) {
    CloseEntryData();
    if (!IsValidIndex(index)) {
        return PackResult::BadArguments;
    }
    const IndexedEntry& indexed = entries[static_cast<std::size_t>(index)];
    if (indexed.encrypted) {
        return PackResult::BadPassword;
    }
    unz64_file_pos position{indexed.position.directoryOffset, indexed.position.entryNumber};
    if (unzGoToFilePos64(archive, &position) != UNZ_OK) {
        return PackResult::CorruptEntryHeader;
    }
    int opened = unzOpenCurrentFile(archive);
    if (opened != UNZ_OK) {
        return opened == UNZ_ERRNO ? PackResult::ReadError : PackResult::CorruptEntryHeader;
    }
    current = index;
    return PackResult::Success;
}

void k_PackReader::CloseEntryData() {
    if (current >= 0) {
        unzCloseCurrentFile(archive);
        current = -1;
    }
}

PackResult k_PackReader::ExtractEntry(std::int32_t index, std::uint8_t* buffer, std::uint32_t count,
                                      std::uint32_t* written) {
    if (written != nullptr) {
        *written = 0;
    }
    if (buffer == nullptr && count > 0) {
        return PackResult::BadArguments;
    }
    if (index != current || current < 0) {
        PackResult opened = OpenEntryData(index);
        if (opened != PackResult::Success) {
            return opened;
        }
    }
    std::uint32_t filled = 0;
    int lastRead = 0;
    while (filled < count) {
        lastRead = unzReadCurrentFile(archive, buffer + filled, std::min(count - filled, kMaxReadCall));
        if (lastRead <= 0) {
            break;
        }
        filled += static_cast<std::uint32_t>(lastRead);
    }
    if (written != nullptr) {
        *written = filled;
    }
    if (lastRead < 0) {
        CloseEntryData();
        return lastRead == UNZ_ERRNO ? PackResult::ReadError : PackResult::InflateError;
    }
    if (unzeof(archive) == 1) {
        // Every declared byte was read: only now does closing verify the checksum.
        int closed = unzCloseCurrentFile(archive);
        current = -1;
        return closed == UNZ_OK ? PackResult::Success : PackResult::InflateError;
    }
    if (filled < count) {
        // The data ended before the size its header declares.
        CloseEntryData();
        return PackResult::InflateError;
    }
    return PackResult::MoreDataRemains;
}

PackResult k_PackReader::ReadEntry(std::int32_t index, std::unique_ptr<std::uint8_t[]>& content,
                                   std::uint32_t& size) {
    content.reset();
    size = 0;
    CloseEntryData();  // a whole read always starts at the entry's beginning
    if (!IsValidIndex(index)) {
        return PackResult::BadArguments;
    }
    std::uint64_t declaredSize = entries[static_cast<std::size_t>(index)].declaredSize;
    if (declaredSize > kMaxEntrySize) {
        return PackResult::CorruptEntryHeader;
    }
    auto declared = static_cast<std::uint32_t>(declaredSize);
    std::uint32_t capacity = std::min(declared, kFirstReadCapacity);
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[capacity + std::size_t{1}]);
    std::uint32_t filled = 0;
    for (;;) {
        std::uint32_t written = 0;
        PackResult result = ExtractEntry(index, buffer.get() + filled, capacity - filled, &written);
        filled += written;
        if (result == PackResult::Success) {
            break;
        }
        if (result != PackResult::MoreDataRemains || capacity == declared) {
            CloseEntryData();
            return result == PackResult::MoreDataRemains ? PackResult::InflateError : result;
        }
        capacity = static_cast<std::uint32_t>(std::min<std::uint64_t>(declared, std::uint64_t{capacity} * 2));
        std::unique_ptr<std::uint8_t[]> larger(new std::uint8_t[capacity + std::size_t{1}]);
        std::memcpy(larger.get(), buffer.get(), filled);
        buffer = std::move(larger);
    }
    if (filled != declared) {
        return PackResult::InflateError;
    }
    buffer[filled] = 0;
    content = std::move(buffer);
    size = filled;
    return PackResult::Success;
}
