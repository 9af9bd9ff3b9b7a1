#include <gtest/gtest.h>

#include "SpriteData.h"
#include "support/Failures.h"

TEST(SpriteType, TextFormsRoundTripParseInAnyCaseAndUnknownsRaiseTheirMessages) {
    const std::wstring forms[] = {L"SolidSphere", L"SolidCube", L"Background", L"Breakable", L"Dangerous", L"Door"};
    for (std::int32_t value = 0; value < 6; ++value) {
        EXPECT_EQ(r_SpriteType::ToString(value), forms[value]);
        EXPECT_EQ(r_SpriteType::Parse(forms[value]), value);
    }
    EXPECT_EQ(r_SpriteType::Parse(L"DOOR"), r_SpriteType::Door);
    EXPECT_EQ(r_SpriteType::Parse(L"solidcube"), r_SpriteType::SolidCube);
    EXPECT_EQ(r_SpriteType::ToString(r_SpriteType::Parse(L"bREAKABLE")), L"Breakable");
    for (std::int32_t value : {-1, 6}) {
        EXPECT_EQ(FailureOf([&] { r_SpriteType::ToString(value); }), L"r_SpriteType::ToString: unrecognized value");
    }
    for (const std::wstring& text : {std::wstring(L"Water"), std::wstring(), std::wstring(L"Doo"),
                                     std::wstring(L"Doors"), std::wstring(L" Door"), std::wstring(L"Door\0", 5)}) {
        EXPECT_EQ(FailureOf([&] { r_SpriteType::Parse(text); }), L"r_SpriteType::Parse: unrecognized value");
    }
}
