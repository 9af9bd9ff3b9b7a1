#include <gtest/gtest.h>

#include <utility>

#include "WideText.h"

TEST(WideText, DecodesUtf8AndUtf16WithReplacementCharactersAndRoundTripsEveryPlane) {
    const std::wstring emoji(1, static_cast<wchar_t>(0x1F600));
    const std::pair<std::string, std::wstring> utf8Cases[] = {
        {"caf\xc3\xa9", L"caf\u00e9"},
        {"a\xff" "b", L"a\ufffdb"},
        {"\xc0\xaf", L"\ufffd\ufffd"},              // overlong "/"
        {"\xed\xa0\x80", L"\ufffd\ufffd\ufffd"},    // encoded surrogate
        {"\xe2\x82", L"\ufffd\ufffd"},              // truncated at the end
    };
    for (const auto& [bytes, text] : utf8Cases) {
        EXPECT_EQ(FromUtf8(bytes), text) << bytes;
    }
    EXPECT_EQ(ToUtf8(L"caf\u00e9"), "caf\xc3\xa9");
    std::wstring everyPlane = L"sounds/\u00e9t\u00e9-\u6c34-" + emoji;
    EXPECT_EQ(FromUtf8(ToUtf8(everyPlane)), everyPlane);

    EXPECT_EQ(FromUtf16(u"a\U0001F600b"), L"a" + emoji + L"b");
    const char16_t lone[] = {u'x', 0xD800, u'y', 0xDC00, 0};
    EXPECT_EQ(FromUtf16(lone), L"x\ufffdy\ufffd");
    EXPECT_EQ(FromUtf16(nullptr), L"");
}
