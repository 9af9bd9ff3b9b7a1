#include <gtest/gtest.h>

#include "Settings.h"
#include "WideText.h"

TEST(Settings, ParseIntSkipsLeadingSpaceAndStopsAtNonDigits) {
    EXPECT_EQ(ParseInt(L"800"), 800);
    EXPECT_EQ(ParseInt(L"  -42"), -42);
    EXPECT_EQ(ParseInt(L"12abc"), 12);
    EXPECT_EQ(ParseInt(L"abc"), 0);
    EXPECT_EQ(ParseInt(L""), 0);
    EXPECT_EQ(ParseInt(L"99999999999"), 0);
}

TEST(Settings, ParseBoolReadsNumbersOnly) {
    EXPECT_TRUE(ParseBool(L"1"));
    EXPECT_TRUE(ParseBool(L" 1"));
    EXPECT_FALSE(ParseBool(L"0"));
    EXPECT_FALSE(ParseBool(L"true"));
    EXPECT_FALSE(ParseBool(L"2"));
    EXPECT_FALSE(ParseBool(L""));
}

TEST(WideText, RoundTripsEveryPlane) {
    std::wstring text = L"sounds/\u00e9t\u00e9-\u6c34-";
    text += static_cast<wchar_t>(0x1F600);
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(L"caf\u00e9"), "caf\xc3\xa9");
}

TEST(WideText, MalformedBytesBecomeReplacementCharacters) {
    EXPECT_EQ(FromUtf8("a\xff" "b"), L"a\ufffdb");
    EXPECT_EQ(FromUtf8("\xc0\xaf"), L"\ufffd\ufffd");          // overlong "/"
    EXPECT_EQ(FromUtf8("\xed\xa0\x80"), L"\ufffd\ufffd\ufffd");  // encoded surrogate
    EXPECT_EQ(FromUtf8("\xe2\x82"), L"\ufffd\ufffd");           // truncated at the end
}

TEST(WideText, Utf16PairsJoinAndLoneSurrogatesAreReplaced) {
    EXPECT_EQ(FromUtf16(u"a\U0001F600b"), std::wstring(L"a") + static_cast<wchar_t>(0x1F600) + L"b");
    const char16_t lone[] = {u'x', 0xD800, u'y', 0xDC00, 0};
    EXPECT_EQ(FromUtf16(lone), L"x\ufffdy\ufffd");
    EXPECT_EQ(FromUtf16(nullptr), L"");
}
