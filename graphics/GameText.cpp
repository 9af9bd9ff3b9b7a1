#include "graphics/GameText.h"

#include <GL/gl.h>

#include <string_view>
#include <vector>

namespace {

struct Glyph {
    char character;
    // The rows from the top, separated by spaces; '#' is an inked pixel.
    std::string_view rows;
};

// graphics/GameFont.txt as the build wraps it: a glyph a line, "#" lines are comments.
const char* const kFontText =
#include "GameFontText.inc"
    ;

std::vector<Glyph> ReadGlyphs() {
    std::vector<Glyph> glyphs;
    const std::string_view text = kFontText;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        const std::string_view line = text.substr(start, end - start);
        if (line.size() > 2 && line[0] != '#') {
            glyphs.push_back({line[0], line.substr(2)});
        }
        start = end + 1;
    }
    return glyphs;
}

const std::vector<Glyph>& Glyphs() {
    static const std::vector<Glyph> glyphs = ReadGlyphs();
    return glyphs;
}

constexpr char kMissingCharacter = '?';
constexpr int kLetterSpacing = 1;
constexpr unsigned char kUtf8ContinuationMask = 0xC0;
constexpr unsigned char kUtf8ContinuationBits = 0x80;

const Glyph& FindGlyph(char character) {
    for (const Glyph& glyph : Glyphs()) {
        if (glyph.character == character) {
            return glyph;
        }
    }
    return FindGlyph(kMissingCharacter);
}

// The glyph's width in font pixels: the length of its first row.
int GlyphColumns(const Glyph& glyph) {
    const std::size_t end = glyph.rows.find(' ');
    return static_cast<int>(end == std::string_view::npos ? glyph.rows.size() : end);
}

// Calls visit(glyph, left column) for every character of the UTF-8 text; a character of
// several bytes counts once, as one the font lacks.
template <typename Visit>
void ForEachGlyph(const std::string& text, Visit visit) {
    int column = 0;
    for (char byte : text) {
        if ((static_cast<unsigned char>(byte) & kUtf8ContinuationMask) == kUtf8ContinuationBits) {
            continue;
        }
        const Glyph& glyph = FindGlyph(byte);
        visit(glyph, column);
        column += GlyphColumns(glyph) + kLetterSpacing;
    }
}

TextColour Blend(const TextColour& from, const TextColour& to, float share) {
    return {from.red + (to.red - from.red) * share, from.green + (to.green - from.green) * share,
            from.blue + (to.blue - from.blue) * share, from.alpha + (to.alpha - from.alpha) * share};
}

void SetColour(const TextColour& colour) { glColor4f(colour.red, colour.green, colour.blue, colour.alpha); }

void AddRectangle(float left, float top, float width, float height) {
    glVertex2f(left, top);
    glVertex2f(left + width, top);
    glVertex2f(left + width, top + height);
    glVertex2f(left, top + height);
}

// One quad per inked font pixel, grown by `grow` pixels on every side; `colour` gives the
// colour of a font row.
template <typename RowColour>
void DrawInk(const std::string& text, float left, float top, int scale, int grow, RowColour colour) {
    glBegin(GL_QUADS);
    ForEachGlyph(text, [&](const Glyph& glyph, int firstColumn) {
        int row = 0;
        int column = 0;
        for (char mark : glyph.rows) {
            if (mark == ' ') {
                ++row;
                column = 0;
                continue;
            }
            if (mark == '#') {
                SetColour(colour(row));
                const auto size = static_cast<float>(scale + 2 * grow);
                AddRectangle(left + static_cast<float>((firstColumn + column) * scale - grow),
                             top + static_cast<float>(row * scale - grow), size, size);
            }
            ++column;
        }
    });
    glEnd();
}

}  // namespace

int GameTextWidth(const std::string& text, int scale) {
    int columns = 0;
    ForEachGlyph(text, [&](const Glyph& glyph, int firstColumn) { columns = firstColumn + GlyphColumns(glyph); });
    return columns * scale;
}

void DrawGameText(const std::string& text, float left, float top, const TextStyle& style) {
    glDisable(GL_TEXTURE_2D);
    if (style.shadowOffset != 0) {
        const float offset = static_cast<float>(style.shadowOffset);
        DrawInk(text, left + offset, top + offset, style.scale, style.outlineWidth,
                [&](int) { return style.shadow; });
    }
    if (style.outlineWidth > 0) {
        DrawInk(text, left, top, style.scale, style.outlineWidth, [&](int) { return style.outline; });
    }
    DrawInk(text, left, top, style.scale, 0, [&](int row) {
        const int capRow = row < kTextCapRows ? row : kTextCapRows - 1;
        return Blend(style.top, style.bottom, static_cast<float>(capRow) / (kTextCapRows - 1));
    });
}

void DrawGameTextCentred(const std::string& text, float centreX, float top, const TextStyle& style) {
    DrawGameText(text, centreX - static_cast<float>(GameTextWidth(text, style.scale)) / 2.0f, top, style);
}

void DrawFilledRectangle(float left, float top, float width, float height, const TextColour& colour) {
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    SetColour(colour);
    AddRectangle(left, top, width, height);
    glEnd();
}
