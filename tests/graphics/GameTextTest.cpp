#include "graphics/GameText.h"
#include "support/DrawingFixture.h"

using GameTextTest = DrawingTest;

// The widths the picture tools give the same text, so that drawn and pictured text line up.
TEST(GameTextWidthTest, MatchesThePictureToolsAndCountsUnknownCharactersOnce) {
    EXPECT_EQ(GameTextWidth("Resume 1:05.30", 3), 219);
    EXPECT_EQ(GameTextWidth("Ij", 2), 14);
    EXPECT_EQ(GameTextWidth("\xC3\xA9", 1), GameTextWidth("?", 1));
    EXPECT_EQ(GameTextWidth("", 4), 0);
}

TEST_F(GameTextTest, InksTheGlyphsPixelsWithTheirOutlineAround) {
    TextStyle style;
    style.scale = 2;
    style.top = style.bottom = {1.0f, 0.0f, 0.0f, 1.0f};
    style.outlineWidth = 1;
    style.outline = {0.0f, 0.0f, 1.0f, 1.0f};
    // "I" is ### .#. .#. ...: its stem is the middle column, x 12 and 13 at scale 2.
    DrawGameText("I", 10, 10, style);
    EXPECT_TRUE(ColourNear(ReadPixel(12, 14), {255, 0, 0, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(11, 14), {0, 0, 255, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(14, 14), {0, 0, 255, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(9, 14), {0, 0, 0, 255}));
    EXPECT_TRUE(ColourNear(ReadPixel(10, 10), {255, 0, 0, 255}));
}
