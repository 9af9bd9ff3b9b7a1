#include "app/MenuDrawing.h"

#include <string>
#include <vector>

#include "app/GameMenu.h"
#include "app/TitleColours.h"
#include "graphics/GameText.h"

namespace {

constexpr float kSceneWidth = 800.0f;
constexpr float kSceneHeight = 600.0f;
constexpr float kPanelLeft = 60.0f;
constexpr float kPanelTop = 50.0f;
constexpr float kPanelWidth = kSceneWidth - 2 * kPanelLeft;
constexpr float kPanelHeight = kSceneHeight - 2 * kPanelTop;
constexpr float kBorder = 5.0f;
constexpr float kPadding = 36.0f;
constexpr float kTitleTop = kPanelTop + 24.0f;
constexpr float kFirstLineTop = kPanelTop + 110.0f;
constexpr float kLineSpacing = 36.0f;
constexpr float kRemarkTop = kPanelTop + kPanelHeight - 40.0f;
constexpr float kMarkerGap = 22.0f;
constexpr int kTitleScale = 5;
constexpr int kLineScale = 3;
constexpr int kSmallScale = 2;
constexpr float kHudMargin = 44.0f;
constexpr float kHudBacking = 6.0f;
constexpr float kNoteTop = 12.0f;

// The game's palette, as its pictures use it.
constexpr TextColour kDim{0.0f, 0.0f, 0.0f, 0.45f};
constexpr TextColour kGold{1.0f, 214 / 255.0f, 110 / 255.0f, 1.0f};
constexpr TextColour kPanel{120 / 255.0f, 20 / 255.0f, 30 / 255.0f, 0.94f};
constexpr TextColour kOutline{46 / 255.0f, 34 / 255.0f, 48 / 255.0f, 1.0f};
constexpr TextColour kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr TextColour kMuted{0.78f, 0.66f, 0.62f, 1.0f};
constexpr TextColour kHudBackingColour{46 / 255.0f, 34 / 255.0f, 48 / 255.0f, 0.6f};

TextStyle Style(int scale, TextColour top, TextColour bottom, TextColour outline, int outlineWidth) {
    TextStyle style;
    style.scale = scale;
    style.top = top;
    style.bottom = bottom;
    style.outline = outline;
    style.outlineWidth = outlineWidth;
    return style;
}

TextStyle TitleStyle() {
    TextStyle style = Style(kTitleScale, kTitleTopColour, kTitleBottomColour, kTitleOutline, 3);
    style.shadowOffset = 4;
    return style;
}

TextStyle LineStyle(bool selected, bool choosable) {
    if (selected) {
        return Style(kLineScale, kTitleTopColour, kTitleBottomColour, kTitleOutline, 2);
    }
    const TextColour colour = choosable ? kWhite : kCream;
    return Style(kLineScale, colour, colour, kOutline, 2);
}

void DrawPanel() {
    DrawFilledRectangle(0.0f, 0.0f, kSceneWidth, kSceneHeight, kDim);
    DrawFilledRectangle(kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight, kGold);
    DrawFilledRectangle(kPanelLeft + kBorder, kPanelTop + kBorder, kPanelWidth - 2 * kBorder,
                        kPanelHeight - 2 * kBorder, kPanel);
}

void DrawLine(const MenuLine& line, float top, bool selected) {
    const TextStyle style = LineStyle(selected, line.choosable);
    const float left = kPanelLeft + kPadding + kMarkerGap;
    if (selected) {
        DrawGameText(">", left - kMarkerGap, top, style);
    }
    DrawGameText(line.label, left, top, style);
    if (!line.value.empty()) {
        const TextStyle valueStyle = line.choosable ? style : Style(kLineScale, kMuted, kMuted, kOutline, 2);
        const float right = kPanelLeft + kPanelWidth - kPadding;
        DrawGameText(line.value, right - static_cast<float>(GameTextWidth(line.value, kLineScale)), top, valueStyle);
    }
}

}  // namespace

void DrawGameMenu(const GameMenu& menu) {
    DrawPanel();
    DrawGameTextCentred(menu.Title(), kSceneWidth / 2, kTitleTop, TitleStyle());
    const std::vector<MenuLine> lines = menu.Lines();
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const float top = kFirstLineTop + kLineSpacing * static_cast<float>(index);
        DrawLine(lines[index], top, static_cast<int>(index) == menu.Selected());
    }
    if (!menu.Remark().empty()) {
        DrawGameTextCentred(menu.Remark(), kSceneWidth / 2, kRemarkTop, Style(kSmallScale, kGold, kGold, kOutline, 2));
    }
}

// On a dark backing, so that it reads over any scenery.
void DrawRunHud(const RunStats& stats) {
    const std::string text = FormatRunTime(stats.steps) + "   deaths " + std::to_string(stats.deaths);
    const float width = static_cast<float>(GameTextWidth(text, kSmallScale));
    DrawFilledRectangle(kHudMargin - kHudBacking, kHudMargin - kHudBacking, width + 2 * kHudBacking,
                        kTextCapRows * kSmallScale + 2 * kHudBacking, kHudBackingColour);
    DrawGameText(text, kHudMargin, kHudMargin, Style(kSmallScale, kWhite, kCream, kOutline, 2));
}

void DrawWatchingNote(const std::string& menuKeyName) {
    DrawGameTextCentred("Replay - " + menuKeyName + " or Escape: back to the menu", kSceneWidth / 2, kNoteTop,
                        Style(kSmallScale, kWhite, kCream, kOutline, 2));
}
