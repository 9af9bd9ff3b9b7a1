#include <gtest/gtest.h>

#include <cstring>

#include "Failure.h"
#include "filesystem/TempDirectory.h"
#include "WideText.h"
#include "filesystem/k_File.h"
#include "support/ZipWriter.h"

namespace {

k_File MakeFile(const std::string& content) {
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[content.size() + 1]);
    std::memcpy(bytes.get(), content.data(), content.size());
    bytes[content.size()] = 0xAA;  // the file must zero it itself
    return k_File(std::move(bytes), static_cast<std::uint32_t>(content.size()));
}

// Runs a read that must fail the bounds check and leave the cursor where it was.
template <typename Read>
void ExpectIntegrityFailure(k_File& file, Read read) {
    const std::uint8_t* before = file.GetPosition();
    try {
        read();
        ADD_FAILURE() << "the read passed the bounds check";
    } catch (const k_Failure& failure) {
        EXPECT_EQ(failure.Message(), L"File integrity is broken.");
    }
    EXPECT_EQ(file.GetPosition(), before);
}

}  // namespace

TEST(File, EmptyFileHasATerminatorAndNothingToRead) {
    k_File file = MakeFile("");
    ASSERT_NE(file.GetData(), nullptr);
    EXPECT_EQ(file.GetData()[0], 0);
    EXPECT_EQ(file.GetSize(), 0u);
    EXPECT_TRUE(file.IsAtEnd());
    ExpectIntegrityFailure(file, [&] { file.ReadInt(); });
    ExpectIntegrityFailure(file, [&] { file.ReadString(); });
    EXPECT_NE(file.ReadBytes(0), nullptr);
    EXPECT_EQ(file.GetPosition(), file.GetData());
}

TEST(File, StringsEndAtAZeroInsideTheContent) {
    k_File file = MakeFile(std::string("AB\0C", 4));
    EXPECT_EQ(file.ReadString(), L"AB");
    EXPECT_EQ(*file.GetPosition(), 'C');
    // The terminator after the content does not end a string; the consumed "C" stays consumed.
    EXPECT_THROW(file.ReadString(), k_Failure);
    EXPECT_TRUE(file.IsAtEnd());
}

TEST(File, HighBytesWidenAsSignedCharacters) {
    k_File file = MakeFile(std::string("\x7F\x80\xFF\0", 4));
    EXPECT_EQ(file.ReadString(), std::wstring({L'\x7F', L'\xFF80', L'\xFFFF'}));
}

TEST(File, NumbersAreLittleEndianAtAnyPosition) {
    std::string content("\x01\x78\x56\x34\x12\x00\x00\x80\x3F", 9);
    k_File file = MakeFile(content);
    file.SetPosition(file.GetData() + 1);
    EXPECT_EQ(file.ReadInt(), 0x12345678);
    EXPECT_FLOAT_EQ(file.ReadFloat(), 1.0f);
    EXPECT_TRUE(file.IsAtEnd());
    ExpectIntegrityFailure(file, [&] { file.ReadFloat(); });
    file.Rewind();
    EXPECT_EQ(file.ReadInt(), 0x34567801);
}

TEST(File, ReadsNeverPassTheEnd) {
    k_File file = MakeFile("12345678");
    file.ReadInt();
    file.SetPosition(file.GetData() + 6);
    ExpectIntegrityFailure(file, [&] { file.ReadInt(); });
    ExpectIntegrityFailure(file, [&] { file.ReadBytes(3); });
    ExpectIntegrityFailure(file, [&] { file.ReadBytes(0xFFFFFFFFu); });
    auto bytes = file.ReadBytes(2);
    EXPECT_EQ(bytes[0], '7');
    EXPECT_EQ(bytes[1], '8');
    EXPECT_TRUE(file.IsAtEnd());
}

TEST(File, PositionsOutsideTheContentFailEveryLaterRead) {
    k_File file = MakeFile("abcd");
    const std::uint8_t* end = file.GetData() + file.GetSize();
    file.SetPosition(end);
    EXPECT_TRUE(file.IsAtEnd());

    auto past = reinterpret_cast<const std::uint8_t*>(reinterpret_cast<std::uintptr_t>(end) + 1);
    EXPECT_THROW(file.SetPosition(past), k_Failure);
    EXPECT_EQ(file.GetPosition(), past);
    ExpectIntegrityFailure(file, [&] { file.ReadBytes(0); });

    auto before = reinterpret_cast<const std::uint8_t*>(reinterpret_cast<std::uintptr_t>(file.GetData()) - 1);
    EXPECT_THROW(file.SetPosition(before), k_Failure);
    ExpectIntegrityFailure(file, [&] { file.ReadString(); });

    file.Rewind();
    EXPECT_EQ(file.ReadInt(), 0x64636261);
}

TEST(File, SaveAsWritesExactlyTheContent) {
    TempDirectory directory;
    k_File file = MakeFile(std::string("x\0y", 3));
    file.SaveAs(FromUtf8(directory.Path("copy.bin")));
    EXPECT_EQ(zipwriter::ReadWholeFile(directory.Path("copy.bin")), std::string("x\0y", 3));
}

TEST(File, SaveAsReportsATargetItCannotWrite) {
    TempDirectory directory;
    k_File file = MakeFile("content");
    std::wstring missing = FromUtf8(directory.Path("no/such/dir/out.bin"));
    try {
        file.SaveAs(missing);
        ADD_FAILURE() << "an impossible target was reported as written";
    } catch (const k_Failure& failure) {
        EXPECT_NE(failure.Message().find(missing), std::wstring::npos);
    }
    // Opening succeeds but the data never reaches the device.
    EXPECT_THROW(file.SaveAs(L"/dev/full"), k_Failure);
    // A zero character would cut the name short and write elsewhere.
    EXPECT_THROW(file.SaveAs(FromUtf8(directory.Path("a")) + std::wstring(1, L'\0') + L"b"), k_Failure);
    EXPECT_FALSE(std::filesystem::exists(directory.Path("a")));
}
