#include "tools/level_checker/LevelChecker.h"

#include <array>
#include <cmath>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <utility>

#include "Failure.h"
#include "WideText.h"
#include "tools/level_checker/DataPictures.h"
#include "tools/level_checker/FairEntry.h"
#include "tools/level_checker/ScreenEdges.h"
#include "world/LevelReader.h"
#include "world/RecordTexture.h"
#include "world/ScreenGeometry.h"
#include "world/ScreenSlot.h"

namespace {

struct PictureSize {
    float width = 0.0f;
    float height = 0.0f;
};

struct EdgeStep {
    ScreenEdge edge;
    const wchar_t* name;
};

constexpr std::array<EdgeStep, 4> kEdgeSteps = {{
    {ScreenEdge::Left, L"left"},
    {ScreenEdge::Right, L"right"},
    {ScreenEdge::Top, L"top"},
    {ScreenEdge::Bottom, L"bottom"},
}};

// The slot beyond an edge of the screen at (x, y); nothing beyond the range of int.
std::optional<ScreenSlot> SlotBeyond(int x, int y, const EdgeStep& step) {
    const EdgeCrossing crossing = CrossingThrough(step.edge);
    return SlotBeside(x, y, crossing.columns, crossing.rows);
}

using ScreenOpenings = std::array<std::vector<EdgeOpening>, kEdgeSteps.size()>;

std::wstring Pixels(float value) { return std::to_wstring(static_cast<long long>(std::trunc(value))); }

std::wstring Place(int x, int y) { return L"(" + std::to_wstring(x) + L", " + std::to_wstring(y) + L")"; }

// Static pieces of these types keep their bodies all game; breakable pieces and doors open.
bool ClosesTheWay(const SpriteData& record) {
    const bool staysSolid = record.type == r_SpriteType::SolidCube || record.type == r_SpriteType::SolidSphere ||
                            record.type == r_SpriteType::Dangerous;
    return record.isStatic && staysSolid;
}

// The body's box: a sphere is a circle as wide as its picture around the picture's centre.
PieceBox BodyBox(const SpriteData& record, PictureSize size) {
    if (record.type == r_SpriteType::SolidSphere) {
        const float centreY = record.top + size.height * 0.5f;
        return {record.left, centreY - size.width * 0.5f, record.left + size.width, centreY + size.width * 0.5f};
    }
    return {record.left, record.top, record.left + size.width, record.top + size.height};
}

bool WhollyOutside(const SpriteData& record, std::optional<PictureSize> size) {
    if (!size) {
        return record.left >= kScreenWidth || record.top >= kScreenHeight;
    }
    return record.left + size->width <= 0.0f || record.left >= kScreenWidth ||
           record.top + size->height <= 0.0f || record.top >= kScreenHeight;
}

std::wstring OpeningsText(ScreenEdge edge, const std::vector<EdgeOpening>& openings) {
    const wchar_t* along = edge == ScreenEdge::Left || edge == ScreenEdge::Right ? L"top " : L"left ";
    std::wstring text;
    for (const EdgeOpening& opening : openings) {
        text += (text.empty() ? L"from " : L", from ") + std::wstring(along) + Pixels(opening.from) + L" to " +
                Pixels(opening.to);
    }
    return text;
}

class LevelChecker {
public:
    LevelChecker(std::wstring path, const std::filesystem::path& picturesFolder)
        : path(std::move(path)), pictures(picturesFolder) {}

    std::vector<LevelFinding> Check(const LevelDescription& level) {
        if (level.activeWorld < 0) {
            Report(FilePlace(), L"no world is marked active (active=\"1\"), so the game starts without any screen");
        }
        for (std::size_t index = 0; index < level.worlds.size(); ++index) {
            CheckWorld(level.worlds[index], index, static_cast<int>(index) == level.activeWorld);
        }
        return findings;
    }

    std::vector<LevelFinding> Unreadable(const std::wstring& why) {
        Report(FilePlace(), why);
        return findings;
    }

private:
    LevelFinding FilePlace() const { return LevelFinding{path, {}, {}, {}, FindingSeverity::Error, {}}; }

    void Report(LevelFinding place, const std::wstring& what, FindingSeverity severity = FindingSeverity::Error) {
        place.severity = severity;
        place.text = what;
        findings.push_back(std::move(place));
    }

    // ------------------------------------------------------------------ worlds and screens

    void CheckWorld(const LevelWorld& world, std::size_t index, bool active) {
        worldPlace = LevelFinding{path, FindingWorld{index, world.name}, {}, {}, FindingSeverity::Error, {}};
        if (active && world.screens.empty()) {
            Report(worldPlace, L"the active world has no screens, so the game starts without any screen");
        }
        std::vector<ScreenOpenings> openings;
        for (const LevelScreen& screen : world.screens) {
            openings.push_back(OpeningsOfScreen(screen));
        }
        const std::vector<bool> reached = Reachable(world, openings);
        for (std::size_t screen = 0; screen < world.screens.size(); ++screen) {
            CheckScreen(world, screen, openings, reached[screen], Reachable(world, openings, screen));
        }
    }

    // reachedWithout: the screens the ball gets to without this one.
    void CheckScreen(const LevelWorld& world, std::size_t index, const std::vector<ScreenOpenings>& worldOpenings,
                     bool reached, const std::vector<bool>& reachedWithout) {
        const LevelScreen& screen = world.screens[index];
        const ScreenOpenings& openings = worldOpenings[index];
        LevelFinding place = worldPlace;
        place.screen = ScreenSlot{screen.x, screen.y};
        const int first = FirstAt(world, screen.x, screen.y);
        if (first != static_cast<int>(index)) {
            Report(place, L"screen " + std::to_wstring(first + 1) + L" of this world is already at " +
                              Place(screen.x, screen.y) + L"; the game only ever finds that one");
        } else if (!reached) {
            Report(place, L"the ball cannot reach this screen from the start screen " + Place(startX, startY));
        }
        bool hasBreakable = false;
        for (const SpriteData& record : screen.records) {
            hasBreakable = hasBreakable || record.type == r_SpriteType::Breakable;
        }
        for (std::size_t number = 0; number < screen.records.size(); ++number) {
            LevelFinding spritePlace = place;
            spritePlace.sprite = FindingSprite{number, screen.records[number].texture};
            CheckSprite(screen.records[number], spritePlace, hasBreakable);
        }
        for (std::size_t edge = 0; edge < kEdgeSteps.size(); ++edge) {
            const EdgeStep& step = kEdgeSteps[edge];
            const int beyond = NeighbourOf(world, screen, step);
            // The ball first comes into a screen from a neighbour it can get to without it.
            if (beyond >= 0 && reachedWithout[beyond]) {
                // Edges come in facing pairs: left and right, top and bottom.
                const std::vector<EdgeOpening>& facing = worldOpenings[beyond][edge ^ 1];
                CheckFairEntry(screen, place, edge, WaysIn(openings[edge], facing));
            }
            if (openings[edge].empty() || beyond >= 0) {
                continue;
            }
            const std::optional<ScreenSlot> beside = SlotBeyond(screen.x, screen.y, step);
            Report(place, L"the ball can leave through the " + std::wstring(step.name) + L" edge (" +
                              OpeningsText(step.edge, openings[edge]) + L") but " +
                              (beside ? L"there is no screen " + Place(beside->x, beside->y) + L" beside it"
                                      : std::wstring(L"no screen can lie beyond it (the last column or row)")));
        }
    }

    // Warns of every dangerous piece the ball can touch in its first second after coming in
    // through an opening of the edge.
    void CheckFairEntry(const LevelScreen& screen, const LevelFinding& place, std::size_t edge,
                        const std::vector<EdgeOpening>& openings) {
        const auto boxOf = [this](const SpriteData& record) -> std::optional<PieceBox> {
            const std::optional<PictureSize> size = SizeOf(record);
            return size ? std::optional<PieceBox>(BodyBox(record, *size)) : std::nullopt;
        };
        for (const UnfairPiece& piece : UnfairPieces(screen.records, kEdgeSteps[edge].edge, openings, boxOf)) {
            LevelFinding spritePlace = place;
            spritePlace.sprite = FindingSprite{piece.sprite, screen.records[piece.sprite].texture};
            Report(spritePlace, L"the ball can touch this dangerous piece within a second of entering through the " +
                                    std::wstring(kEdgeSteps[edge].name) + L" edge (" +
                                    OpeningsText(kEdgeSteps[edge].edge, {piece.opening}) + L")",
                   FindingSeverity::Warning);
        }
    }

    // The screen beyond an edge of screen; -1 when there is none or its slot is beyond the range.
    static int NeighbourOf(const LevelWorld& world, const LevelScreen& screen, const EdgeStep& step) {
        const std::optional<ScreenSlot> beside = SlotBeyond(screen.x, screen.y, step);
        return beside ? FirstAt(world, beside->x, beside->y) : -1;
    }

    // The first screen of the world at (x, y), as the game's neighbour look-up finds it; -1 for none.
    static int FirstAt(const LevelWorld& world, int x, int y) {
        for (std::size_t index = 0; index < world.screens.size(); ++index) {
            if (world.screens[index].x == x && world.screens[index].y == y) {
                return static_cast<int>(index);
            }
        }
        return -1;
    }

    // Screens the ball can get to through open edges from where the game starts it: the world's
    // start screen, and after a death its restart screen; never through the avoided screen.
    std::vector<bool> Reachable(const LevelWorld& world, const std::vector<ScreenOpenings>& openings,
                                std::size_t avoided = SIZE_MAX) {
        std::vector<bool> reached(world.screens.size(), false);
        if (world.screens.size() <= kStartScreenIndex || avoided == kStartScreenIndex) {
            return reached;
        }
        if (avoided < reached.size()) {
            reached[avoided] = true;
        }
        const std::size_t start = kStartScreenIndex;
        startX = world.screens[start].x;
        startY = world.screens[start].y;
        std::deque<std::size_t> waiting = {start};
        reached[start] = true;
        for (std::size_t index = 0; index < world.screens.size(); ++index) {
            if (index != avoided && IsRestartSlot(world.screens[index].x, world.screens[index].y)) {
                reached[index] = true;
                waiting.push_back(index);
                break;
            }
        }
        while (!waiting.empty()) {
            const LevelScreen& screen = world.screens[waiting.front()];
            const ScreenOpenings& open = openings[waiting.front()];
            waiting.pop_front();
            for (std::size_t edge = 0; edge < kEdgeSteps.size(); ++edge) {
                const int next = NeighbourOf(world, screen, kEdgeSteps[edge]);
                if (!open[edge].empty() && next >= 0 && !reached[next]) {
                    reached[next] = true;
                    waiting.push_back(static_cast<std::size_t>(next));
                }
            }
        }
        return reached;
    }

    ScreenOpenings OpeningsOfScreen(const LevelScreen& screen) {
        std::vector<PieceBox> closing;
        for (const SpriteData& record : screen.records) {
            std::optional<PictureSize> size = SizeOf(record);
            if (size && ClosesTheWay(record)) {
                closing.push_back(BodyBox(record, *size));
            }
        }
        ScreenOpenings openings;
        for (std::size_t edge = 0; edge < kEdgeSteps.size(); ++edge) {
            openings[edge] = OpeningsOf(kEdgeSteps[edge].edge, closing);
        }
        return openings;
    }

    // ------------------------------------------------------------------ sprites

    void CheckSprite(const SpriteData& record, const LevelFinding& place, bool screenHasBreakable) {
        if (!ShowsWater(record)) {
            CheckPicture(record, place);
        }
        if (WhollyOutside(record, SizeOf(record))) {
            Report(place, L"lies wholly outside its 800 x 600 screen (left " + Pixels(record.left) + L", top " +
                              Pixels(record.top) + L"), so it is never seen");
        }
        if (record.type == r_SpriteType::Door && !screenHasBreakable) {
            Report(place, L"a door on a screen without breakable pieces opens as soon as the screen is entered",
                   FindingSeverity::Warning);
        }
    }

    void CheckPicture(const SpriteData& record, const LevelFinding& place) {
        if (record.texture.empty()) {
            Report(place, L"the sprite names no picture (its texture is empty)");
            return;
        }
        switch (Picture(record.texture).result) {
            case PictureLookup::Missing: Report(place, L"there is no such picture in the data folder"); break;
            case PictureLookup::NotPng: Report(place, L"the picture is not a PNG file the game can read"); break;
            case PictureLookup::Found: break;
        }
    }

    std::optional<PictureSize> SizeOf(const SpriteData& record) {
        if (ShowsWater(record)) {
            return PictureSize{kWaterTextureSize, kWaterTextureSize};
        }
        const PictureLookup& picture = Picture(record.texture);
        if (picture.result != PictureLookup::Found) {
            return std::nullopt;
        }
        return PictureSize{static_cast<float>(picture.width), static_cast<float>(picture.height)};
    }

    // Each picture's header is read once, however many sprites show it.
    const PictureLookup& Picture(const std::wstring& name) {
        auto found = pictureCache.find(name);
        if (found == pictureCache.end()) {
            found = pictureCache.emplace(name, pictures.Find(name)).first;
        }
        return found->second;
    }

    const std::wstring path;
    DataPictures pictures;
    std::map<std::wstring, PictureLookup> pictureCache;
    std::vector<LevelFinding> findings;
    LevelFinding worldPlace;
    int startX = 0;
    int startY = 0;
};

// The pictures lie beside the level file.
std::filesystem::path DataFolder(const std::wstring& path) {
    std::filesystem::path folder = std::filesystem::path(ToUtf8(path)).parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

std::vector<LevelFinding> CheckLevel(const std::wstring& path) {
    LevelChecker checker(path, DataFolder(path));
    LevelDescription level;
    try {
        level = ReadLevelFile(path);
    } catch (const k_Failure& failure) {
        return checker.Unreadable(failure.Message());
    }
    return checker.Check(level);
}

std::vector<LevelFinding> CheckLevel(const LevelDescription& level, const std::filesystem::path& picturesFolder,
                                     const std::wstring& fileName) {
    return LevelChecker(fileName, picturesFolder).Check(level);
}
