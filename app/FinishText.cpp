#include "app/FinishText.h"

#include <string>

#include "app/Journey.h"
#include "app/TitleColours.h"
#include "graphics/GameText.h"

namespace {

constexpr float kCentreX = 400.0f;
constexpr float kNameTop = 196.0f;
constexpr float kTimeTop = 262.0f;
constexpr float kDeathsTop = 306.0f;
constexpr float kBestTop = 356.0f;
constexpr int kNameScale = 5;
constexpr int kLineScale = 4;
constexpr int kOutlineWidth = 2;
constexpr int kShadowOffset = 3;

TextStyle Style(int scale, TextColour top, TextColour bottom) {
    TextStyle style;
    style.scale = scale;
    style.top = top;
    style.bottom = bottom;
    style.outlineWidth = kOutlineWidth;
    style.outline = kTitleOutline;
    style.shadowOffset = kShadowOffset;
    return style;
}

std::string BestLine(const FinishedRun& run) {
    if (run.newBest) {
        return run.bestSteps ? "New best! (was " + FormatRunTime(*run.bestSteps) + ")" : "New best!";
    }
    return "Best " + FormatRunTime(run.bestSteps.value_or(run.steps));
}

}  // namespace

void DrawFinishText(const FinishedRun& run) {
    const TextStyle plain = Style(kLineScale, kCream, kCream);
    DrawGameTextCentred(run.world, kCentreX, kNameTop, Style(kNameScale, kTitleTopColour, kTitleBottomColour));
    DrawGameTextCentred("Time " + FormatRunTime(run.steps), kCentreX, kTimeTop, plain);
    DrawGameTextCentred("Deaths " + std::to_string(run.deaths), kCentreX, kDeathsTop, plain);
    DrawGameTextCentred(BestLine(run), kCentreX, kBestTop,
                        run.newBest ? Style(kLineScale, kTitleTopColour, kTitleBottomColour) : plain);
}
