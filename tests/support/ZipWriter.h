// Writes real zip archives with minizip's own writer, for tests and benchmarks: stored and
// deflated entries, directory entries as MS-DOS and Unix tools make them, and helpers that
// damage a written archive (forged header fields, flipped or cut bytes).
#pragma once

#include <minizip/zip.h>
#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace zipwriter {

enum class Host { MsDos, Unix };

constexpr unsigned long kZipVersion = 20;
constexpr unsigned long kMsDosDirectory = 0x10;
constexpr unsigned long kMsDosArchive = 0x20;

inline unsigned long VersionMadeBy(Host host) { return (host == Host::Unix ? 3ul << 8 : 0ul) | kZipVersion; }

inline unsigned long UnixAttributes(unsigned long mode) { return static_cast<unsigned long>(mode) << 16; }

struct EntryOptions {
    bool deflate = true;
    Host host = Host::MsDos;
    unsigned long externalAttributes = kMsDosArchive;
    const char* password = nullptr;
};

class ZipWriter {
public:
    explicit ZipWriter(const std::string& path) : zip(zipOpen64(path.c_str(), APPEND_STATUS_CREATE)) {}
    ~ZipWriter() { Close(); }
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    bool IsOpen() const { return zip != nullptr; }

    // Adds an entry; false when minizip refuses it.
    bool Add(const std::string& name, const std::string& content, const EntryOptions& options = {}) {
        if (zip == nullptr) {
            return false;
        }
        zip_fileinfo info{};
        info.external_fa = options.externalAttributes;
        unsigned long crc = crc32(0, reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size()));
        int method = options.deflate ? Z_DEFLATED : 0;
        int level = options.deflate ? Z_DEFAULT_COMPRESSION : 0;
        if (zipOpenNewFileInZip4_64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method, level, 0,
                                    -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, options.password, crc,
                                    VersionMadeBy(options.host), 0, 0) != ZIP_OK) {
            return false;
        }
        bool written = zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size())) == ZIP_OK;
        return zipCloseFileInZip(zip) == ZIP_OK && written;
    }

    bool AddFile(const std::string& name, const std::string& content, bool deflate = true) {
        EntryOptions options;
        options.deflate = deflate;
        return Add(name, content, options);
    }

    bool AddDirectory(const std::string& name, Host host) {
        EntryOptions options;
        options.deflate = false;
        options.host = host;
        options.externalAttributes = host == Host::Unix ? UnixAttributes(S_IFDIR | 0755) : kMsDosDirectory;
        return Add(name, "", options);
    }

    bool Close() {
        bool closed = zip == nullptr || zipClose(zip, nullptr) == ZIP_OK;
        zip = nullptr;
        return closed;
    }

private:
    zipFile zip;
};

inline void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Offsets of the fields that forging changes, in a local header and in a central directory record.
struct HeaderField {
    std::size_t local;
    std::size_t central;
};
constexpr HeaderField kCrcField{14, 16};
constexpr HeaderField kCompressedSizeField{18, 20};
constexpr HeaderField kUncompressedSizeField{22, 24};

// Sets a 32-bit field of the named entry in both its local header and its central directory
// record; false when the entry is not found twice.
inline bool ForgeField(std::string& archive, const std::string& name, HeaderField field, std::uint32_t value) {
    struct Record {
        const char* signature;
        std::size_t nameLengthOffset;
        std::size_t nameOffset;
        std::size_t fieldOffset;
    };
    const Record records[] = {{"PK\x03\x04", 26, 30, field.local}, {"PK\x01\x02", 28, 46, field.central}};
    int patched = 0;
    for (const Record& record : records) {
        for (std::size_t at = archive.find(record.signature); at != std::string::npos;
             at = archive.find(record.signature, at + 1)) {
            if (at + record.nameOffset + name.size() > archive.size()) {
                break;
            }
            auto byteAt = [&](std::size_t offset) { return static_cast<unsigned char>(archive[at + offset]); };
            std::size_t nameLength = byteAt(record.nameLengthOffset) | byteAt(record.nameLengthOffset + 1) << 8;
            if (nameLength == name.size() && archive.compare(at + record.nameOffset, nameLength, name) == 0) {
                for (int byte = 0; byte < 4; ++byte) {
                    archive[at + record.fieldOffset + byte] = static_cast<char>((value >> (8 * byte)) & 0xFF);
                }
                ++patched;
                break;
            }
        }
    }
    return patched == 2;
}

// Where the named entry's data starts: after its local header, name and extra field.
inline std::size_t EntryDataOffset(const std::string& archive, const std::string& name) {
    for (std::size_t at = archive.find("PK\x03\x04"); at != std::string::npos; at = archive.find("PK\x03\x04", at + 1)) {
        auto byteAt = [&](std::size_t offset) { return static_cast<unsigned char>(archive[at + offset]); };
        std::size_t nameLength = byteAt(26) | byteAt(27) << 8;
        std::size_t extraLength = byteAt(28) | byteAt(29) << 8;
        if (nameLength == name.size() && archive.compare(at + 30, nameLength, name) == 0) {
            return at + 30 + nameLength + extraLength;
        }
    }
    return std::string::npos;
}

}  // namespace zipwriter
