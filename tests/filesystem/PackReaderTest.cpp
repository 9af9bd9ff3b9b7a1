#include <gtest/gtest.h>

#include <sys/stat.h>

#include "WideText.h"
#include "filesystem/k_PackReader.h"
#include "support/TempDirectory.h"
#include "support/ZipWriter.h"

using zipwriter::Host;
using zipwriter::ZipWriter;

namespace {

// About 6 kB of text that deflates well.
std::string LongText(int lines = 100) {
    std::string text;
    for (int line = 0; line < lines; ++line) {
        text += "Rolling over the hills of a small world, again and again. ";
    }
    return text;
}

class PackReader : public ::testing::Test {
protected:
    std::string PackPath() const { return directory.Path("data.pak"); }

    std::unique_ptr<k_PackReader> Open() const { return k_PackReader::OpenPack(FromUtf8(PackPath())); }

    // Writes a pack whose entries are the given names with their own names as content.
    void WritePack(std::initializer_list<std::string> names) const {
        ZipWriter zip(PackPath());
        for (const std::string& name : names) {
            ASSERT_TRUE(zip.AddFile(name, name));
        }
    }

    static std::string Extracted(k_PackReader& reader, std::int32_t index, PackResult expected = PackResult::Success) {
        std::unique_ptr<std::uint8_t[]> content;
        std::uint32_t size = 0;
        EXPECT_EQ(reader.ReadEntry(index, content, size), expected);
        return content ? std::string(reinterpret_cast<const char*>(content.get()), size) : std::string();
    }

    TempDirectory directory;
};

}  // namespace

TEST_F(PackReader, NamesAreCleanedOverlongOnesRefusedAloneAndFoundFoldingCaseAndSeparators) {
    const std::string longName(300, 'n');
    WritePack({"../../ball.png", "C:\\textures\\wall.png", "/abs/x.txt", "a/b\\..\\c.txt", "../one.png", longName,
               std::string(255, 'm'), "sounds/die.wav", "dup.txt", "DUP.TXT"});
    auto reader = Open();
    ASSERT_NE(reader, nullptr);
    ASSERT_EQ(reader->GetEntryCount(), 10);
    const wchar_t* expected[] = {L"ball.png", L"textures\\wall.png", L"abs/x.txt", L"c.txt", L"../one.png"};
    PackEntry entry;
    for (std::int32_t index = 0; index < 5; ++index) {
        EXPECT_EQ(reader->GetEntry(index, entry), PackResult::Success);
        EXPECT_EQ(entry.index, index);
        EXPECT_EQ(entry.name, expected[index]);
    }
    EXPECT_EQ(reader->GetEntry(5, entry), PackResult::CorruptEntryHeader);
    EXPECT_EQ(Extracted(*reader, 7), "sounds/die.wav");
    for (std::int32_t bad : {10, -1}) {
        EXPECT_EQ(reader->GetEntry(bad, entry), PackResult::BadArguments);
    }
    EXPECT_EQ(reader->FindEntry(L"SOUNDS\\Die.WAV", entry), 7);
    EXPECT_EQ(entry.name, L"sounds/die.wav");
    EXPECT_EQ(reader->FindEntry(L"textures/wall.png", entry), -1) << "names are matched as stored, not as cleaned";
    EXPECT_EQ(entry.index, -1);
    EXPECT_TRUE(entry.name.empty());
    const std::pair<std::wstring, std::int32_t> found[] = {
        {L"c:/Textures/WALL.png", 1}, {L"Dup.Txt", 8}, {FromUtf8(std::string(255, 'M')), 6}, {FromUtf8(longName), -1},
        {FromUtf8(longName.substr(0, 256)), -1}, {L"", -1}, {std::wstring(L"dup.txt\0x", 9), -1}};
    for (const auto& [name, index] : found) {
        EXPECT_EQ(reader->FindEntry(name, entry), index) << ToUtf8(name);
    }
}

TEST_F(PackReader, AttributesFollowTheHostThatMadeTheEntry) {
    {
        ZipWriter zip(PackPath());
        zip.AddDirectory("unix/", Host::Unix);
        zip.AddDirectory("dos/", Host::MsDos);
        zipwriter::EntryOptions options;
        options.host = Host::Unix;
        options.externalAttributes = zipwriter::UnixAttributes(S_IFREG | 0444);
        zip.Add("locked.txt", "x", options);
        options.externalAttributes = zipwriter::UnixAttributes(S_IFREG | 0644);
        zip.Add("plain.txt", "x", options);
        options.host = Host::MsDos;
        options.externalAttributes = 0x27;  // read-only, hidden, system, archive
        zip.Add("hidden.txt", "x", options);
    }
    auto reader = Open();
    ASSERT_NE(reader, nullptr);
    const std::uint32_t expected[] = {
        PackAttributeDirectory | PackAttributeArchive, PackAttributeDirectory,
        PackAttributeReadOnly | PackAttributeArchive, PackAttributeArchive,
        PackAttributeReadOnly | PackAttributeHidden | PackAttributeSystem | PackAttributeArchive};
    for (std::int32_t index = 0; index < 5; ++index) {
        PackEntry entry;
        reader->GetEntry(index, entry);
        EXPECT_EQ(entry.attributes, expected[index]) << "entry " << index;
    }
}

TEST_F(PackReader, ExtractsInPartsThatContinueWhereTheyStopped) {
    const std::string content = LongText(2000);
    for (bool deflate : {false, true}) {
        {
            ZipWriter zip(PackPath());
            zip.AddFile("first.txt", "first");
            zip.AddFile("big.txt", content, deflate);
        }
        auto reader = Open();
        ASSERT_NE(reader, nullptr);
        std::string buffer(content.size(), '\0');
        auto* bytes = reinterpret_cast<std::uint8_t*>(buffer.data());
        std::uint32_t written = 0;
        EXPECT_EQ(reader->ExtractEntry(1, bytes, 1000, &written), PackResult::MoreDataRemains);
        EXPECT_EQ(written, 1000u);
        EXPECT_EQ(reader->ExtractEntry(1, bytes + 1000, static_cast<std::uint32_t>(content.size()), &written),
                  PackResult::Success);
        EXPECT_EQ(written, content.size() - 1000);
        EXPECT_EQ(buffer, content);

        // Describing an entry closes the open data: the next extraction starts again.
        EXPECT_EQ(reader->ExtractEntry(1, bytes, 10, &written), PackResult::MoreDataRemains);
        PackEntry entry;
        reader->GetEntry(0, entry);
        EXPECT_EQ(reader->ExtractEntry(1, bytes, 10, &written), PackResult::MoreDataRemains);
        EXPECT_EQ(buffer.substr(0, 10), content.substr(0, 10));

        EXPECT_EQ(Extracted(*reader, 0), "first");
        EXPECT_EQ(Extracted(*reader, 1), content);
        EXPECT_EQ(reader->ExtractEntry(2, bytes, 10), PackResult::BadArguments);
        EXPECT_EQ(reader->ExtractEntry(0, nullptr, 10), PackResult::BadArguments);
    }
}

TEST_F(PackReader, EmptyAndEncryptedEntries) {
    {
        ZipWriter zip(PackPath());
        zip.AddFile("empty.txt", "");
        zipwriter::EntryOptions secret;
        secret.password = "secret";
        zip.Add("secret.txt", "hidden words", secret);
    }
    auto reader = Open();
    ASSERT_NE(reader, nullptr);
    std::unique_ptr<std::uint8_t[]> content;
    std::uint32_t size = 1;
    EXPECT_EQ(reader->ReadEntry(0, content, size), PackResult::Success);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(content[0], 0);
    std::uint8_t buffer[16];
    EXPECT_EQ(reader->ExtractEntry(1, buffer, sizeof buffer), PackResult::BadPassword);
}

TEST_F(PackReader, MissingBrokenAndForeignFilesDoNotOpenAndMemoryPacksReadLikeFiles) {
    EXPECT_EQ(Open(), nullptr);
    directory.Write("data.pak", "this is not a zip archive at all");
    EXPECT_EQ(Open(), nullptr);
    EXPECT_EQ(k_PackReader::OpenPack(FromUtf8(directory.Path())), nullptr);
    EXPECT_EQ(k_PackReader::OpenPackInMemory(nullptr, 0), nullptr);

    WritePack({"a.txt", "dir/b.txt"});
    const std::string archive = directory.Read("data.pak");
    auto fromMemory = k_PackReader::OpenPackInMemory(reinterpret_cast<const std::uint8_t*>(archive.data()),
                                                     archive.size());
    ASSERT_NE(fromMemory, nullptr);
    ASSERT_EQ(fromMemory->GetEntryCount(), 2);
    PackEntry entry;
    EXPECT_EQ(fromMemory->FindEntry(L"DIR\\B.TXT", entry), 1);
    EXPECT_EQ(Extracted(*fromMemory, 1), "dir/b.txt");
    EXPECT_EQ(Extracted(*fromMemory, 0), "a.txt");

    directory.Write("data.pak", archive.substr(0, archive.size() / 2));
    EXPECT_EQ(Open(), nullptr);
}

TEST_F(PackReader, DamagedDataAndForgedHeadersNeverPassAsContent) {
    const std::string content = LongText();
    struct Case {
        const char* name;
        bool deflate;
        zipwriter::HeaderField field;
        std::uint32_t value;
        PackResult expected;
    };
    const Case cases[] = {
        {"over-limit", true, zipwriter::kUncompressedSizeField, 0x80000000u, PackResult::CorruptEntryHeader},
        {"zip64-marker", true, zipwriter::kUncompressedSizeField, 0xFFFFFFFFu, PackResult::CorruptEntryHeader},
        {"huge-deflated", true, zipwriter::kUncompressedSizeField, 512u << 20, PackResult::InflateError},
        {"larger-deflated", true, zipwriter::kUncompressedSizeField, 7000, PackResult::InflateError},
        {"larger-stored", false, zipwriter::kUncompressedSizeField, 7000, PackResult::InflateError},
        {"smaller-deflated", true, zipwriter::kUncompressedSizeField, 100, PackResult::InflateError},
        {"cut-stream", true, zipwriter::kCompressedSizeField, 20, PackResult::InflateError},
        {"wrong-crc", true, zipwriter::kCrcField, 0x12345678u, PackResult::InflateError},
    };
    {
        ZipWriter zip(PackPath());
        for (const Case& forged : cases) {
            zip.AddFile(forged.name, content, forged.deflate);
        }
        zip.AddFile("stored.txt", content, false);
        zip.AddFile("deflated.txt", content, true);
        zip.AddFile("good.txt", "good");
    }
    std::string archive = directory.Read("data.pak");
    for (const Case& forged : cases) {
        ASSERT_TRUE(zipwriter::ForgeField(archive, forged.name, forged.field, forged.value)) << forged.name;
    }
    // A flipped byte of stored data reads fine and fails only its checksum, when closed; a
    // flipped byte early in a deflate stream breaks the stream or its checksum.
    archive[zipwriter::EntryDataOffset(archive, "stored.txt") + 10] ^= 0x01;
    archive[zipwriter::EntryDataOffset(archive, "deflated.txt") + 2] ^= 0x55;
    directory.Write("data.pak", archive);
    auto reader = Open();
    ASSERT_NE(reader, nullptr);

    for (const Case& forged : cases) {
        PackEntry entry;
        std::int32_t index = reader->FindEntry(FromUtf8(forged.name), entry);
        ASSERT_GE(index, 0) << forged.name;
        EXPECT_EQ(Extracted(*reader, index, forged.expected), "") << forged.name;
    }
    const std::int32_t stored = 8;
    std::string buffer(content.size(), '\0');
    auto* bytes = reinterpret_cast<std::uint8_t*>(buffer.data());
    for (std::int32_t flipped : {stored, stored + 1}) {
        EXPECT_EQ(reader->ExtractEntry(flipped, bytes, static_cast<std::uint32_t>(content.size())),
                  PackResult::InflateError);
        EXPECT_EQ(Extracted(*reader, flipped, PackResult::InflateError), "");
    }
    EXPECT_EQ(Extracted(*reader, stored + 2), "good");
}
