#include <gtest/gtest.h>

#include <cstring>

#include "filesystem/k_File.h"
#include "support/Failures.h"
#include "support/TempDirectory.h"

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
    EXPECT_EQ(FailureOf(read), L"File integrity is broken.");
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

TEST(File, StringsEndAtAZeroInsideTheContentAndWidenHighBytesAsSigned) {
    k_File file = MakeFile(std::string("AB\0\x7F\x80\xFF\0C", 8));
    EXPECT_EQ(file.ReadString(), L"AB");
    EXPECT_EQ(file.ReadString(), std::wstring({L'\x7F', L'\xFF80', L'\xFFFF'}));
    EXPECT_EQ(*file.GetPosition(), 'C');
    // The terminator after the content does not end a string; the consumed "C" stays consumed.
    EXPECT_THROW(file.ReadString(), k_Failure);
    EXPECT_TRUE(file.IsAtEnd());
}

TEST(File, NumbersAreLittleEndianAtAnyPosition) {
    k_File file = MakeFile(std::string("\x01\x78\x56\x34\x12\x00\x00\x80\x3F", 9));
    file.SetPosition(file.GetData() + 1);
    EXPECT_EQ(file.ReadInt(), 0x12345678);
    EXPECT_FLOAT_EQ(file.ReadFloat(), 1.0f);
    EXPECT_TRUE(file.IsAtEnd());
    ExpectIntegrityFailure(file, [&] { file.ReadFloat(); });
    file.Rewind();
    EXPECT_EQ(file.ReadInt(), 0x34567801);
}

TEST(File, ReadsNeverPassTheEndNorStartOutsideTheContent) {
    k_File file = MakeFile("12345678");
    file.SetPosition(file.GetData() + 6);
    ExpectIntegrityFailure(file, [&] { file.ReadInt(); });
    ExpectIntegrityFailure(file, [&] { file.ReadBytes(3); });
    ExpectIntegrityFailure(file, [&] { file.ReadBytes(0xFFFFFFFFu); });
    auto bytes = file.ReadBytes(2);
    EXPECT_EQ(std::string(bytes.get(), bytes.get() + 2), "78");
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
    EXPECT_EQ(file.ReadInt(), 0x34333231);
}

TEST(File, SaveAsWritesExactlyTheContentOrReportsTheTarget) {
    TempDirectory directory;
    MakeFile(std::string("x\0y", 3)).SaveAs(directory.WidePath("copy.bin"));
    EXPECT_EQ(directory.Read("copy.bin"), std::string("x\0y", 3));

    k_File file = MakeFile("content");
    const std::wstring missing = directory.WidePath("no/such/dir/out.bin");
    EXPECT_TRUE(Contains(FailureOf([&] { file.SaveAs(missing); }), {missing}));
    // Opening succeeds but the data never reaches the device.
    EXPECT_THROW(file.SaveAs(L"/dev/full"), k_Failure);
    // A zero character would cut the name short and write elsewhere.
    EXPECT_THROW(file.SaveAs(directory.WidePath("a") + std::wstring(1, L'\0') + L"b"), k_Failure);
    EXPECT_FALSE(std::filesystem::exists(directory.Path("a")));
}
