#include <iterator>

#include "Failure.h"
#include "SpriteData.h"

namespace {

// The text forms in value order: the value is the index.
const wchar_t* const kTextForms[] = {L"SolidSphere", L"SolidCube", L"Background",
                                     L"Breakable",   L"Dangerous", L"Door"};
constexpr std::int32_t kTypeCount = static_cast<std::int32_t>(std::size(kTextForms));

wchar_t FoldAsciiCase(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// Case is folded for ASCII letters only: every text form is ASCII, so no other letter can match.
bool EqualIgnoringCase(const std::wstring& text, const wchar_t* form) {
    std::size_t i = 0;
    for (; i < text.size() && form[i] != L'\0'; ++i) {
        if (FoldAsciiCase(text[i]) != FoldAsciiCase(form[i])) {
            return false;
        }
    }
    return i == text.size() && form[i] == L'\0';
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
