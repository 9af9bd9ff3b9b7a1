// An opened data file: owns one heap array holding the whole content plus a trailing zero
// byte, and a read cursor over it. Every read is bounds-checked against the content; a read
// that would pass either end raises k_Failure and leaves the cursor where it was.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "IFile.h"

class k_File : public IFile {
public:
    // content holds size + 1 bytes; the file takes it over and zeroes the last one.
    k_File(std::unique_ptr<std::uint8_t[]> content, std::uint32_t size);

    const std::uint8_t* GetData() override;
    std::uint32_t GetSize() override;
    void SaveAs(const std::wstring& path) override;
    std::wstring ReadString() override;
    float ReadFloat() override;
    std::int32_t ReadInt() override;
    std::unique_ptr<std::uint8_t[]> ReadBytes(std::uint32_t count) override;
    void Rewind() override;
    const std::uint8_t* GetPosition() override;
    void SetPosition(const std::uint8_t* position) override;
    bool IsAtEnd() override;

private:
    // Raises the integrity failure unless count bytes can be read at the cursor.
    void RequireReadable(std::uint32_t count) const;
    std::uint32_t ReadLittleEndian32();

    std::unique_ptr<std::uint8_t[]> data;
    const std::uint8_t* cursor;
    std::uint32_t size;
};
