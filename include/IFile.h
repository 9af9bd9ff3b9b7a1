// An opened data file: its whole content in memory, followed by one zero byte that is not
// counted in its size, with a read cursor. Reads past either end raise
// k_Failure "File integrity is broken." and leave the cursor where it was.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class IFile {
public:
    virtual ~IFile() = default;

    virtual const std::uint8_t* GetData() = 0;
    virtual std::uint32_t GetSize() = 0;
    // Writes the content bytes (without the trailing zero) to a disk file.
    virtual void SaveAs(const std::wstring& path) = 0;
    // Bytes up to and including a zero byte inside the content, each widened as a signed char.
    virtual std::wstring ReadString() = 0;
    virtual float ReadFloat() = 0;
    virtual std::int32_t ReadInt() = 0;
    virtual std::unique_ptr<std::uint8_t[]> ReadBytes(std::uint32_t count) = 0;
    virtual void Rewind() = 0;
    virtual const std::uint8_t* GetPosition() = 0;
    virtual void SetPosition(const std::uint8_t* position) = 0;
    virtual bool IsAtEnd() = 0;
};
