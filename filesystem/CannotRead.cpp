#include "filesystem/CannotRead.h"

#include "filesystem/k_FileSystem.h"

std::wstring WhyCannotRead(IFileSystem* fileSystem, const std::wstring& name) {
    auto* files = dynamic_cast<k_FileSystem*>(fileSystem);
    return files != nullptr ? files->ExplainOpenFailure(name) : std::wstring();
}

std::wstring CannotReadMessage(IFileSystem* fileSystem, const std::wstring& name) {
    std::wstring message = L"Cannot read from file: " + name;
    std::wstring reason = WhyCannotRead(fileSystem, name);
    if (!reason.empty()) {
        message += L" (" + reason + L")";
    }
    return message;
}
