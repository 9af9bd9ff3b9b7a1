#include "tools/editor/WorldMap.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "Failure.h"
#include "IEngine.h"
#include "IFrameBufferObject.h"
#include "IScreen.h"
#include "ISprite.h"
#include "ITexture.h"
#include "IWorld.h"
#include "WideText.h"
#include "tools/editor/OverlayDrawing.h"
#include "world/ScreenGeometry.h"

namespace {

// A picture holds a whole screen shrunk to a fifth; sprites are drawn in the scene's
// coordinates into it.
constexpr int kSceneWidth = kScreenWidth;
constexpr int kSceneHeight = kScreenHeight;
constexpr int kPictureWidth = kScreenWidth / 5;
constexpr int kPictureHeight = kScreenHeight / 5;
const wchar_t* const kPictureName = L"editor world map picture ";
constexpr int kNoHighlightedLayer = -1;
// New pictures drawn per frame, so that the map answers keys while a large view fills in.
constexpr std::size_t kPicturesPerFrame = 8;
// Pictures kept: twice what the largest view shows, so that panning back finds them again.
constexpr int kKeptViews = 2;

// Cells keep the screen's 4:3 shape; a tenth of the pitch is the gap between them.
constexpr int kAspectWidth = 4;
constexpr int kAspectHeight = 3;
constexpr int kLargestPitch = 220;
constexpr int kSmallestPitch = 48;
constexpr int kGapShare = 10;
constexpr int kCurrentMarkWidth = 3;
constexpr long long kFarAway = INT_MIN / 2;

const OverlayColour kPictureBackground{0.0f, 0.0f, 0.0f, 1.0f};
const OverlayColour kScreenFrame{0.6f, 0.6f, 0.6f, 1.0f};
const OverlayColour kEmptySlot{0.18f, 0.18f, 0.24f, 1.0f};
const OverlayColour kEmptyFrame{0.35f, 0.35f, 0.45f, 1.0f};
const OverlayColour kCurrentMark{1.0f, 0.9f, 0.1f, 1.0f};

// One axis of the grid: the slot in the first cell and how many cells, from the lowest to the
// highest slot with one more on each side. A span longer than most cells is cut to most cells
// around the current slot, kept inside the range of slot numbers.
void FitAxis(long long low, long long high, int current, int most, int& first, int& count) {
    most = std::max(1, most);
    long long span = high - low + 3;
    long long start = low - 1;
    if (span > most) {
        span = most;
        start = static_cast<long long>(current) - most / 2;
    }
    count = static_cast<int>(span);
    first = static_cast<int>(std::clamp<long long>(start, INT_MIN, static_cast<long long>(INT_MAX) - span + 1));
}

std::wstring MessageOf(const std::exception& failure) {
    const auto* own = dynamic_cast<const k_Failure*>(&failure);
    return own ? own->Message() : FromUtf8(failure.what());
}

int MostColumns(const MapBox& area) { return std::max(1, area.width / kSmallestPitch); }

int MostRows(const MapBox& area) { return std::max(1, area.height * kAspectWidth / (kSmallestPitch * kAspectHeight)); }

}  // namespace

WorldMap::WorldMap(IEngine* engine, MapBox area)
    : engine(engine),
      area(area),
      cache(static_cast<std::size_t>(kKeptViews * MostColumns(area) * MostRows(area))),
      failed(cache.Capacity(), false) {}

// ---------------------------------------------------------------- pictures

void WorldMap::Open(IWorld& shown, MapSlot current) {
    world = &shown;
    screens.clear();
    std::vector<MapSlot> slots;
    for (auto& screen : shown.GetScreens()) {
        slots.push_back(MapSlot{screen->GetX(), screen->GetY()});
        screens.emplace(std::pair(screen->GetX(), screen->GetY()), screen.get());  // a later one is never shown
    }
    cache.Clear();
    problem.clear();
    Arrange(slots, current);
    open = true;
}

IScreen* WorldMap::ScreenAt(MapSlot slot) const {
    auto found = screens.find(std::pair(slot.x, slot.y));
    return found == screens.end() ? nullptr : found->second;
}

// Draws the pictures of the first few screens in view that have none; the others follow in
// the next frames.
void WorldMap::DrawMissingPictures() {
    std::vector<std::pair<IScreen*, std::size_t>> missing;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns && missing.size() < kPicturesPerFrame; ++column) {
            const MapSlot slot{first.x + column, first.y + row};
            IScreen* screen = ScreenAt(slot);
            const MapPictureCache::Place place = screen ? cache.PlaceOf(slot.x, slot.y) : MapPictureCache::Place{};
            if (screen && !place.drawn) {
                missing.emplace_back(screen, place.index);
            }
        }
    }
    if (missing.empty()) {
        return;
    }
    IScreen* designersScreen = world->GetCurrentScreen();
    const int highlightLayer = engine->GetHighlightLayer();
    engine->SetHighlightLayer(kNoHighlightedLayer);
    for (const auto& [screen, index] : missing) {
        try {
            world->SetCurrentScreen(screen);
            DrawPicture(PictureTexture(index));
            failed[index] = false;
        } catch (const std::exception& failure) {
            problem = problem.empty() ? MessageOf(failure) : problem;
            failed[index] = true;
        }
        cache.MarkDrawn(index);
    }
    world->SetCurrentScreen(designersScreen);
    engine->SetHighlightLayer(highlightLayer);
}

// One picture per place of the cache, reused for every screen that gets that place.
ITexture* WorldMap::PictureTexture(std::size_t index) {
    return engine->GetBlankTexture(kPictureName + std::to_wstring(index), kPictureWidth, kPictureHeight);
}

// Draws the current screen into the picture as the game shows it, in the scene's coordinates
// shrunk to the picture's size. The frame buffer object turns blending off (drawing into a
// texture replaces its pixels), but a screen's pieces lie over one another, so blending goes
// back on for them. Translucent pieces lower the picture's alpha; it is set opaque afterwards
// so that the map does not show through. Drawing does not clear the texture, so the picture
// that had this place before goes first; smoothing keeps thin pieces visible when the picture
// is shrunk.
void WorldMap::DrawPicture(ITexture* texture) {
    std::unique_ptr<IFrameBufferObject> target = engine->CreateFrameBufferObject(texture);
    target->Bind();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kSceneWidth, kSceneHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    for (auto& [depth, sprites] : engine->GetSpritesByLayer()) {
        for (ISprite* sprite : sprites) {
            sprite->Draw();
        }
    }
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    target->Unbind();  // the window's clear colour, view and blending return
    texture->Bind(0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    texture->Unbind(0);
}

// ---------------------------------------------------------------- layout

void WorldMap::Arrange(const std::vector<MapSlot>& screens, MapSlot current) {
    MapSlot low = current;
    MapSlot high = current;
    for (const MapSlot& slot : screens) {
        low = {std::min(low.x, slot.x), std::min(low.y, slot.y)};
        high = {std::max(high.x, slot.x), std::max(high.y, slot.y)};
    }
    FitAxis(low.x, high.x, current.x, MostColumns(area), first.x, columns);
    FitAxis(low.y, high.y, current.y, MostRows(area), first.y, rows);
    pitchX = std::min({kLargestPitch, area.width / columns, area.height * kAspectWidth / (kAspectHeight * rows)});
    pitchY = pitchX * kAspectHeight / kAspectWidth;
    cellWidth = pitchX - std::max(1, pitchX / kGapShare);
    cellHeight = cellWidth * kAspectHeight / kAspectWidth;
    originX = area.left + (area.width - columns * pitchX) / 2;
    originY = area.top + (area.height - rows * pitchY) / 2;
}

void WorldMap::Pan(int columnsAway, int rowsAway) {
    auto moved = [](int start, int step, int count) {
        return static_cast<int>(std::clamp<long long>(static_cast<long long>(start) + step, INT_MIN,
                                                      static_cast<long long>(INT_MAX) - count + 1));
    };
    first = MapSlot{moved(first.x, columnsAway, columns), moved(first.y, rowsAway, rows)};
}

// Far outside the grid a cell's place is only kept within reach of int pixels.
MapBox WorldMap::CellOf(MapSlot slot) const {
    long long left = originX + (static_cast<long long>(slot.x) - first.x) * pitchX + (pitchX - cellWidth) / 2;
    long long top = originY + (static_cast<long long>(slot.y) - first.y) * pitchY + (pitchY - cellHeight) / 2;
    auto pixels = [](long long value) { return static_cast<int>(std::clamp<long long>(value, kFarAway, -kFarAway)); };
    return MapBox{pixels(left), pixels(top), cellWidth, cellHeight};
}

std::optional<MapSlot> WorldMap::SlotAt(int x, int y) const {
    if (x < originX || y < originY || pitchX <= 0 || pitchY <= 0) {
        return std::nullopt;
    }
    int column = (x - originX) / pitchX;
    int row = (y - originY) / pitchY;
    if (column >= columns || row >= rows) {
        return std::nullopt;
    }
    MapSlot slot{first.x + column, first.y + row};
    MapBox cell = CellOf(slot);
    bool inCell = x >= cell.left && x < cell.left + cell.width && y >= cell.top && y < cell.top + cell.height;
    return inCell ? std::optional<MapSlot>(slot) : std::nullopt;
}

// ---------------------------------------------------------------- drawing

void WorldMap::Draw(MapSlot current) {
    DrawMissingPictures();
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            DrawCell(MapSlot{first.x + column, first.y + row}, current);
        }
    }
}

void WorldMap::DrawCell(MapSlot slot, MapSlot current) {
    MapBox cell = CellOf(slot);
    if (ScreenAt(slot)) {
        FillBox(kPictureBackground, cell.left, cell.top, cell.width, cell.height);
        const MapPictureCache::Place place = cache.PlaceOf(slot.x, slot.y);
        if (place.drawn && !failed[place.index]) {
            DrawPictureInBox(PictureTexture(place.index), cell.left, cell.top, cell.width, cell.height);
        }
        OutlineBox(kScreenFrame, cell.left, cell.top, cell.width, cell.height);
    } else {
        FillBox(kEmptySlot, cell.left, cell.top, cell.width, cell.height);
        OutlineBox(kEmptyFrame, cell.left, cell.top, cell.width, cell.height);
    }
    if (slot == current) {
        for (int ring = 1; ring <= kCurrentMarkWidth; ++ring) {
            OutlineBox(kCurrentMark, cell.left - ring, cell.top - ring, cell.width + 2 * ring, cell.height + 2 * ring);
        }
    }
}
