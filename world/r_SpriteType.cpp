#include <iterator>

#include "Failure.h"
#include "SpriteData.h"

namespace {

// Text forms in value order.
const wchar_t* const kTextForms[] = {L"SolidSphere", L"SolidCube", L"Background", L"Breakable", L"Dangerous", L"Door"};
constexpr std::int32_t kTypeCount = static_cast<std::int32_t>(std::size(kTextForms));

wchar_t FoldAsciiCase(wchar_t character) {
    return character >= L'A' && character <= L'Z' ? static_cast<wchar_t>(character - L'A' + L'a') : character;
}

bool EqualIgnoringCase(const std::wstring& text, const wchar_t* form) {
    std::size_t index = 0;
    for (; form[index] != L'\0'; ++index) {
        if (index == text.size() || FoldAsciiCase(text[index]) != FoldAsciiCase(form[index])) {
            return false;
        }
    }
    return index == text.size();
}

}  // namespace

std::wstring r_SpriteType::ToString(std::int32_t value) {
    if (value < 0 || value >= kTypeCount) {
        throw k_Failure(L"r_SpriteType::ToString: unrecognized value");
    }
    return kTextForms[value];
}

r_SpriteType::Value r_SpriteType::Parse(const std::wstring& text) {
    for (std::int32_t value = 0; value < kTypeCount; ++value) {
        if (EqualIgnoringCase(text, kTextForms[value])) {
            return static_cast<Value>(value);
        }
    }
    throw k_Failure(L"r_SpriteType::Parse: unrecognized value");
}
