#include "world/LevelInteger.h"

namespace {

constexpr std::int64_t kLargestPositive = 2147483647;
constexpr std::int64_t kLargestNegative = 2147483648;
constexpr int kDecimalBase = 10;

bool IsXmlWhiteSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// The C library's white space, which its number parser skips before the sign.
bool IsCWhiteSpace(char16_t c) { return IsXmlWhiteSpace(c) || c == u'\v' || c == u'\f'; }

std::u16string_view TrimXmlWhiteSpace(std::u16string_view text) {
    while (!text.empty() && IsXmlWhiteSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsXmlWhiteSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

// The XML library trims XML white space and hands the rest to the C library's number parser,
// which also skips any further leading white space once a vertical tab or form feed (possible
// as character references in XML 1.1) starts the text; both steps are followed here.
std::optional<std::int32_t> ParseLevelInteger(std::u16string_view text) {
    text = TrimXmlWhiteSpace(text);
    while (!text.empty() && IsCWhiteSpace(text.front())) {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    const std::int64_t limit = negative ? kLargestNegative : kLargestPositive;
    std::int64_t magnitude = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        magnitude = magnitude * kDecimalBase + (c - u'0');
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}
