#include <gtest/gtest.h>

#include "Failure.h"
#include "SpriteData.h"

namespace {

std::wstring FailureOf(void (*operation)()) {
    try {
        operation();
    } catch (const k_Failure& failure) {
        return failure.Message();
    }
    return L"(no failure)";
}

}  // namespace

TEST(SpriteType, TextFormsRoundTripInEveryCase) {
    const std::wstring forms[] = {L"SolidSphere", L"SolidCube", L"Background", L"Breakable", L"Dangerous", L"Door"};
    for (std::int32_t value = 0; value < 6; ++value) {
        std::wstring form = r_SpriteType::ToString(value);
        EXPECT_EQ(form, forms[value]);
        EXPECT_EQ(r_SpriteType::Parse(form), value);
    }
    EXPECT_EQ(r_SpriteType::Parse(L"DOOR"), r_SpriteType::Door);
    EXPECT_EQ(r_SpriteType::Parse(L"door"), r_SpriteType::Door);
    EXPECT_EQ(r_SpriteType::Parse(L"solidcube"), r_SpriteType::SolidCube);
    EXPECT_EQ(r_SpriteType::ToString(r_SpriteType::Parse(L"bREAKABLE")), L"Breakable");
}

TEST(SpriteType, UnknownValuesAndTextsRaiseTheirMessages) {
    const std::wstring toStringMessage = L"r_SpriteType::ToString: unrecognized value";
    EXPECT_EQ(FailureOf([] { r_SpriteType::ToString(6); }), toStringMessage);
    EXPECT_EQ(FailureOf([] { r_SpriteType::ToString(-1); }), toStringMessage);

    const std::wstring parseMessage = L"r_SpriteType::Parse: unrecognized value";
    for (auto parse : {+[] { r_SpriteType::Parse(L"Water"); }, +[] { r_SpriteType::Parse(L""); },
                       +[] { r_SpriteType::Parse(L"Doo"); }, +[] { r_SpriteType::Parse(L"Doors"); },
                       +[] { r_SpriteType::Parse(L" Door"); }, +[] { r_SpriteType::Parse(std::wstring(L"Door\0", 5)); }}) {
        EXPECT_EQ(FailureOf(parse), parseMessage);
    }
}
