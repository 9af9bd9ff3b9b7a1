// An in-memory file system for tests: named byte contents handed out as IFile objects that
// behave like opened data files (content followed by one uncounted zero byte).
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "IFileSystem.h"

class MemoryFile : public IFile {
public:
    explicit MemoryFile(std::vector<std::uint8_t> content) : bytes(std::move(content)), size(bytes.size()) {
        bytes.push_back(0);
    }
    MemoryFile(const void* data, std::size_t size)
        : MemoryFile(std::vector<std::uint8_t>(static_cast<const std::uint8_t*>(data),
                                               static_cast<const std::uint8_t*>(data) + size)) {}

    const std::uint8_t* GetData() override { return bytes.data(); }
    std::uint32_t GetSize() override { return static_cast<std::uint32_t>(size); }
    void SaveAs(const std::wstring&) override { Unsupported(); }
    std::wstring ReadString() override { Unsupported(); }
    float ReadFloat() override { Unsupported(); }
    std::int32_t ReadInt() override { Unsupported(); }
    std::unique_ptr<std::uint8_t[]> ReadBytes(std::uint32_t) override { Unsupported(); }
    void Rewind() override {}
    const std::uint8_t* GetPosition() override { return bytes.data(); }
    void SetPosition(const std::uint8_t*) override { Unsupported(); }
    bool IsAtEnd() override { return true; }

private:
    [[noreturn]] static void Unsupported() { throw std::logic_error("not offered by the test's memory file"); }

    std::vector<std::uint8_t> bytes;
    std::size_t size;
};

class MemoryFileSystem : public IFileSystem {
public:
    std::map<std::wstring, std::vector<std::uint8_t>> files;

    void Add(const std::wstring& name, const std::string& text) { files[name].assign(text.begin(), text.end()); }

    void UseDirectory(const std::wstring&) override {}
    void UsePackFile(const std::wstring&) override {}
    void Reload() override {}
    std::unique_ptr<IFile> Open(const std::wstring& name) override {
        auto found = files.find(name);
        if (found == files.end()) {
            return nullptr;
        }
        return std::make_unique<MemoryFile>(found->second);
    }
    std::vector<std::wstring> ListFiles(const std::wstring&) override { return {}; }
};
