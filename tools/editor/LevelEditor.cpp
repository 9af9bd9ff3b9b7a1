#include "tools/editor/LevelEditor.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <iostream>
#include <iterator>
#include <system_error>

#include "Failure.h"
#include "IEngine.h"
#include "IFileSystem.h"
#include "ISprite.h"
#include "ITexture.h"
#include "IUniverse.h"
#include "IWindow.h"
#include "WideText.h"
#include "app/FrameClock.h"
#include "game/k_Ball.h"
#include "platform/Clock.h"
#include "platform/MessagePump.h"
#include "base/ProgramDirectory.h"
#include "base/UserFolders.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMessages.h"
#include "tools/editor/Autosave.h"
#include "tools/editor/EditorPreferences.h"
#include "tools/editor/LevelLocation.h"
#include "tools/editor/LevelSnapshot.h"
#include "tools/editor/OverlayDrawing.h"
#include "tools/editor/PieceMenu.h"
#include "tools/editor/TileDefaults.h"
#include "tools/editor/TypedPlace.h"
#include "tools/level_checker/LevelChecker.h"
#include "world/RecordTexture.h"
#include "world/ScreenGeometry.h"

namespace {

LevelEditor* g_LevelEditor = nullptr;

constexpr int kSceneWidth = kScreenWidth;
constexpr int kSceneHeight = kScreenHeight;
constexpr int kNoHighlightedLayer = -1;
constexpr int kFrameSleepMilliseconds = 10;
const wchar_t* const kTilesFolder = L"/tiles/";
const wchar_t* const kTilesPrefix = L"tiles/";
const wchar_t* const kPictureExtension = L".png";
const wchar_t* const kQuitQuestion = L"Save changes? Y save and quit, N quit without saving, Escape go on";
const wchar_t* const kHelp[] = {
    L"F1 closes this help",
    L"Tab palette: type to filter, click picks",
    L"Space place or select tool",
    L"Click places or selects; drag moves",
    L"Shift+click, Shift+drag: select several",
    L"Enter types left top depth",
    L"Ctrl+C X V D copy cut paste duplicate",
    L"Delete deletes; right click: the menu",
    L"Arrows nudge; G grid; H fades the rest",
    L"A places after the last; D its way",
    L"Ctrl+arrows next screen; M world map",
    L"N new screen (Shift+N an empty one)",
    L"Ctrl+Delete deletes the screen",
    L"PageUp PageDown world; W new world",
    L"P test play at the mouse, Shift+P edge",
    L"K checks the level; F3 next finding",
    L"B hides or shows the bands",
    L"Ctrl+Z Ctrl+Y undo redo; Ctrl+S saves",
    L"O opens the newer autosave; Esc quits",
};

// New pieces start as this picture, as what its name says it is, when the game has it.
const wchar_t* const kDefaultTile = L"tiles/brick_32x32.png";

// The palette: a grid of picture cells over the scene.
constexpr int kPaletteMargin = 16;
constexpr int kPaletteCell = 64;
constexpr int kPalettePitch = 72;
constexpr int kPaletteColumns = (kSceneWidth - 2 * kPaletteMargin) / kPalettePitch;

// The palette's line naming the picture under the mouse, below the cells.
constexpr int kPaletteInfoGap = 4;

// The status lines at the bottom of the scene (B hides them).
constexpr int kStatusLines = 2;
constexpr int kStatusTop = kSceneHeight - kStatusLines * kOverlayLineHeight - 4;

// The world map fills the scene between two message lines at the top and the status lines.
constexpr int kMapMargin = 16;
constexpr int kMapTop = 2 * kOverlayLineHeight + 8;
constexpr MapBox kMapArea{kMapMargin, kMapTop, kSceneWidth - 2 * kMapMargin, kStatusTop - 8 - kMapTop};

const OverlayColour kShade{0.0f, 0.0f, 0.0f, 0.7f};
const OverlayColour kText{1.0f, 1.0f, 1.0f, 1.0f};
const OverlayColour kAlert{1.0f, 0.85f, 0.3f, 1.0f};
const OverlayColour kSelection{1.0f, 0.9f, 0.1f, 1.0f};
const OverlayColour kCellFrame{0.5f, 0.5f, 0.5f, 1.0f};
const OverlayColour kMapBackdrop{0.08f, 0.08f, 0.1f, 1.0f};
const OverlayColour kGridLine{1.0f, 1.0f, 1.0f, 0.18f};
const OverlayColour kPreviewFrame{0.4f, 1.0f, 0.4f, 1.0f};
const OverlayColour kHovered{0.4f, 0.8f, 1.0f, 1.0f};
const OverlayColour kGroupSelection{1.0f, 0.6f, 0.1f, 1.0f};
// How far inside the edge a ball arriving there starts, centre to edge: its radius and a little.
constexpr int kEdgeStartInset = 20;
// The speeds a ball arrives with through an edge, in pixels per time unit: through a side, what
// the arrow key builds rolling across a whole screen from rest (8.3 px per time unit squared
// over 800 px); through the top or the bottom, a fall through a whole screen's height under
// gravity (10 px per time unit squared over 600 px).
constexpr float kSideArrivalSpeed = 115.0f;
constexpr float kFallArrivalSpeed = 110.0f;
// A Shift drag shorter than this on both axes is a click.
constexpr int kSmallestBox = 4;
constexpr float kPreviewAlpha = 0.6f;

std::wstring Lowered(std::wstring text) {
    for (wchar_t& character : text) {
        character = static_cast<wchar_t>(std::towlower(character));
    }
    return text;
}

std::wstring Flags(const SpriteData& record) {
    std::wstring flags;
    flags += record.isStatic ? L"static" : L"loose";
    if (record.special) {
        flags += L" special";
    }
    return flags;
}

// Cuts a long text into lines of at most columns characters, at spaces where possible.
std::vector<std::wstring> Wrap(const std::wstring& text, std::size_t columns) {
    std::vector<std::wstring> lines;
    std::wstring rest = text;
    while (rest.size() > columns) {
        std::size_t cut = rest.rfind(L' ', columns);
        cut = (cut == std::wstring::npos || cut == 0) ? columns : cut;
        lines.push_back(rest.substr(0, cut));
        rest = rest.substr(rest[cut] == L' ' ? cut + 1 : cut);
    }
    lines.push_back(rest);
    return lines;
}

}  // namespace

LevelEditor::LevelEditor(IEngine* engine, std::filesystem::path levelPath, const EditorPreferences& kept)
    : engine(engine),
      levelPath(std::move(levelPath)),
      model(*engine->GetUniverse(), [this](const SpriteData& record) { return SizeOf(record); }),
      worldMap(engine, kMapArea) {
    for (const std::wstring& name : engine->GetFileSystem()->ListFiles(kTilesFolder)) {
        tiles.push_back(kTilesPrefix + name);
    }
    std::sort(tiles.begin(), tiles.end());
    if (!tiles.empty()) {
        const bool hasDefault = std::find(tiles.begin(), tiles.end(), kDefaultTile) != tiles.end();
        brush.texture = hasDefault ? kDefaultTile : tiles.front();
    }
    ApplyTileDefaults(brush.texture, brush);
    model.SetGrid(kept.grid);
    tool = kept.placing ? Tool::Place : Tool::Select;
    paletteFilter = kept.paletteFilter;
    g_LevelEditor = this;
    engine->SetMouseCallback(MouseHook);
    engine->SetKeyCallback(KeyHook);
}

LevelEditor::~LevelEditor() {
    engine->SetMouseCallback(nullptr);
    engine->SetKeyCallback(nullptr);
    engine->SetFrameCallback(nullptr, nullptr);
    if (ball) {
        retiredBallSprite = ball->HandOverSprite();
        ball.reset();
        engine->Update(0.0f);
    }
    g_LevelEditor = nullptr;
}

// ---------------------------------------------------------------- messages and failures

void LevelEditor::Say(const std::wstring& text) {
    message = text;
    std::cerr << "editor: " << ToUtf8(text) << std::endl;
}

// Runs a command; a failure it raises (a missing picture, an unwritable file) is shown and
// leaves the editor running.
template <typename Action>
void LevelEditor::Guarded(Action action) {
    try {
        action();
    } catch (const k_Failure& failure) {
        Say(failure.Message());
    } catch (const std::exception& failure) {
        Say(FromUtf8(failure.what()));
    }
}

PictureSize LevelEditor::SizeOf(const SpriteData& record) {
    if (ShowsWater(record)) {
        return PictureSize{kWaterTextureSize, kWaterTextureSize};
    }
    try {
        ITexture* texture = engine->GetTexture(record.texture);
        return texture ? PictureSize{texture->GetWidth(), texture->GetHeight()} : PictureSize{};
    } catch (const k_Failure&) {
        return PictureSize{};
    }
}

// ---------------------------------------------------------------- files

void LevelEditor::Open() {
    std::error_code error;
    bool exists = std::filesystem::exists(levelPath, error);
    try {
        if (exists) {
            engine->GetUniverse()->LoadFromPath(levelPath.wstring());
        }
        model.Reset();
        Say(exists ? L"Opened " + levelPath.wstring() + L" (F1 lists the keys)"
                   : L"New level " + levelPath.wstring() + L": W makes a world, Ctrl+S saves");
    } catch (const k_Failure& failure) {
        loadFailed = true;
        Say(failure.Message() + L" (the file is left as it is and will not be saved over)");
        return;
    }
    if (HasNewerAutosave(SparePath(), levelPath)) {
        autosaveOffered = true;
        Say(L"An autosave newer than the file exists: " + SparePath().wstring() + L"; O opens it");
    }
}

// The autosave goes beside the level, or beside its copy in the user's data folder when the
// level may not be written; it is looked for, opened and removed in the same place.
std::filesystem::path LevelEditor::SparePath() const {
    const bool readOnly = !WhyLevelIsReadOnly(levelPath, ProgramDirectory()).empty();
    return AutosavePath(readOnly ? UserCopyPath(levelPath) : levelPath);
}

void LevelEditor::Save() {
    if (loadFailed) {
        Say(L"Not saved: " + levelPath.wstring() + L" did not load, so it is not written over");
        return;
    }
    if (!OfferedCopyTaken()) {
        return;
    }
    Guarded([&] {
        std::optional<std::filesystem::path> original = KeepCommentedOriginal(levelPath);
        engine->GetUniverse()->SaveToPath(levelPath.wstring());
        model.MarkSaved();
        std::error_code error;
        std::filesystem::remove(SparePath(), error);
        autosaveOffered = false;
        Say(L"Saved " + levelPath.wstring() +
            (original ? L" (its comments are kept in " + original->wstring() + L")" : std::wstring()));
    });
}

// A level the user may not write (the installed game's, for one) is not saved: the editor says
// why and offers a copy in the user's data folder, which the next save makes and then edits.
// True when the save may go on.
bool LevelEditor::OfferedCopyTaken() {
    if (copyOffered) {
        copyOffered = false;
        levelPath = UserCopyPath(levelPath);
        if (!MakeUserFolder(levelPath.parent_path())) {
            Say(L"Not saved: the folder " + levelPath.parent_path().wstring() + L" cannot be made");
            return false;
        }
        return true;
    }
    std::wstring whyNot = WhyLevelIsReadOnly(levelPath, ProgramDirectory());
    if (whyNot.empty()) {
        return true;
    }
    copyOffered = true;
    Say(L"Not saved: " + levelPath.wstring() + L" may not be written (" + whyNot + L"); Ctrl+S again saves a copy as " +
        UserCopyPath(levelPath).wstring());
    return false;
}

void LevelEditor::AutosaveWhenDue() {
    auto now = std::chrono::steady_clock::now();
    if (loadFailed || !model.HasUnsavedChanges() || model.Revision() == autosavedRevision ||
        std::chrono::duration<double>(now - lastAutosave).count() < AutosaveIntervalSeconds()) {
        return;
    }
    lastAutosave = now;
    autosavedRevision = model.Revision();
    const std::filesystem::path autosave = SparePath();
    std::error_code error;
    if (!std::filesystem::is_directory(autosave.parent_path(), error) && !MakeUserFolder(autosave.parent_path())) {
        return;
    }
    Guarded([&] {
        engine->GetUniverse()->SaveToPath(autosave.wstring());
        Say(L"Autosaved to " + autosave.wstring());
    });
}

void LevelEditor::OpenAutosave() {
    if (!autosaveOffered) {
        return;
    }
    Guarded([&] {
        engine->GetUniverse()->LoadFromPath(SparePath().wstring());
        model.Reset();
        model.MarkUnsaved();
        autosaveOffered = false;
        loadFailed = false;
        Say(L"Opened the autosave; Ctrl+S saves it as " + levelPath.wstring());
    });
}

// The level is checked as it is in memory, with the game's pictures; nothing is written.
void LevelEditor::CheckLevel() {
    Guarded([&] {
        const std::filesystem::path pictures = DefaultLevelPath(ProgramDirectory()).parent_path();
        findings = ::CheckLevel(TakeSnapshot(*engine->GetUniverse()), pictures, levelPath.filename().wstring());
        nextFinding = 0;
        if (findings.empty()) {
            Say(L"The level checker finds nothing to report");
        } else {
            ShowFinding(nextFinding++);
        }
    });
}

// Shows the finding and, when it names a screen of the world being edited, goes there and
// selects the sprite it names.
void LevelEditor::ShowFinding(std::size_t index) {
    const LevelFinding& finding = findings[index];
    Say(L"Finding " + std::to_wstring(index + 1) + L" of " + std::to_wstring(findings.size()) + L" (F3 next): " +
        FindingLine(finding));
    if (!finding.world || !finding.screen) {
        return;
    }
    auto& worlds = engine->GetUniverse()->GetWorlds();
    if (finding.world->index >= worlds.size() || worlds[finding.world->index].get() != model.World()) {
        return;
    }
    model.GoToSlot(finding.screen->x, finding.screen->y);
    if (finding.sprite) {
        model.Select(static_cast<int>(finding.sprite->index));
    }
}

// ---------------------------------------------------------------- world map

// A drag in progress ends first: the map takes the mouse, so its release would be lost.
void LevelEditor::OpenWorldMap() {
    IWorld* world = model.World();
    if (!world) {
        Say(L"No world to map (W makes one)");
        return;
    }
    model.Release();
    paletteOpen = false;
    worldMap.Open(*world, MapSlot{model.SlotX(), model.SlotY()});
    Say(L"World map: click a screen or an empty slot to go there; arrows move the view; M or Escape closes");
}

void LevelEditor::ClickWorldMap(int x, int y) {
    std::optional<MapSlot> slot = worldMap.SlotAt(x, y);
    if (!slot) {
        return;
    }
    worldMap.Close();
    message.clear();
    model.GoToSlot(slot->x, slot->y);
}

// ---------------------------------------------------------------- test play

// The ball plays on the live sprites only; leaving play enters the edited screen again, so
// everything that moved returns to what the records say. The ball starts with its centre at
// the mouse: a first frame without time passing lets the frame hook put it there, and the
// engine then moves its body to it.
void LevelEditor::TogglePlay() {
    if (!ball) {
        model.Release();
        engine->SetHighlightLayer(kNoHighlightedLayer);
        ballStartX = std::clamp(mouseX, 0, kSceneWidth - 1);
        ballStartY = std::clamp(mouseY, 0, kSceneHeight - 1);
        ballStartVelocityX = 0.0f;
        ballStartVelocityY = 0.0f;
        const bool fromEdge = engine->GetWindow()->IsKeyDown(VK_SHIFT);
        if (fromEdge) {
            MoveBallStartToNearestEdge();
        }
        ballStartPending = true;
        engine->SetFrameCallback(FrameHook, nullptr);
        ball = std::make_unique<k_Ball>();
        engine->Update(0.0f);
        Say(L"Test play from " + std::wstring(fromEdge ? L"the edge" : L"the mouse") +
            L": arrows steer, P returns to editing");
        return;
    }
    engine->SetFrameCallback(nullptr, nullptr);
    retiredBallSprite = ball->HandOverSprite();
    ball.reset();
    model.GoToSlot(model.SlotX(), model.SlotY());
    Say(L"Back to editing");
}

// Shift+P: the ball starts as a player arrives, just inside the screen's edge nearest the
// mouse, level with the mouse along it, moving inwards at an arrival speed.
void LevelEditor::MoveBallStartToNearestEdge() {
    const int toLeft = ballStartX;
    const int toRight = kSceneWidth - 1 - ballStartX;
    const int toTop = ballStartY;
    const int toBottom = kSceneHeight - 1 - ballStartY;
    const int nearest = std::min({toLeft, toRight, toTop, toBottom});
    if (nearest == toLeft) {
        ballStartX = kEdgeStartInset;
        ballStartVelocityX = kSideArrivalSpeed;
    } else if (nearest == toRight) {
        ballStartX = kSceneWidth - kEdgeStartInset;
        ballStartVelocityX = -kSideArrivalSpeed;
    } else if (nearest == toTop) {
        ballStartY = kEdgeStartInset;
        ballStartVelocityY = kFallArrivalSpeed;
    } else {
        ballStartY = kSceneHeight - kEdgeStartInset;
        ballStartVelocityY = -kFallArrivalSpeed;
    }
}

void LevelEditor::PutBallAtStart() {
    ISprite* sprite = engine->GetPlayerSprite();
    ITexture* texture = sprite ? sprite->GetTexture() : nullptr;
    if (!ballStartPending || !texture) {
        return;
    }
    ballStartPending = false;
    SpriteData& data = sprite->GetData();
    data.left = static_cast<float>(ballStartX) - texture->GetWidth() * 0.5f;
    data.top = static_cast<float>(ballStartY) - texture->GetHeight() * 0.5f;
    engine->SetPlayerVelocity(ballStartVelocityX, ballStartVelocityY);
}

// The ball's sprite leaves the scene in the frame after the ball went; then it can go.
void LevelEditor::ReleaseRetiredBall() {
    if (retiredBallSprite && engine->GetScene().count(retiredBallSprite.get()) == 0) {
        retiredBallSprite.reset();
    }
}

// ---------------------------------------------------------------- hooks

void LevelEditor::MouseHook(int x, int y, unsigned int message) {
    if (g_LevelEditor) {
        g_LevelEditor->Guarded([&] { g_LevelEditor->HandleMouse(x, y, message); });
    }
}

void LevelEditor::KeyHook(int key, bool down) {
    if (g_LevelEditor && down) {
        g_LevelEditor->Guarded([&] { g_LevelEditor->HandleKey(key); });
    }
}

void LevelEditor::FrameHook(void*) {
    if (g_LevelEditor) {
        g_LevelEditor->PutBallAtStart();
    }
}

void LevelEditor::MenuHook(MenuItem* item) {
    if (g_LevelEditor && item) {
        g_LevelEditor->Guarded([&] { g_LevelEditor->HandleMenuChoice(*item); });
    }
}

// ---------------------------------------------------------------- mouse

void LevelEditor::HandleMouse(int x, int y, unsigned int message) {
    mouseX = x;
    mouseY = y;
    if (asking || ball || typing) {
        return;
    }
    if (worldMap.IsOpen()) {
        if (message == WM_LBUTTONDOWN) {
            ClickWorldMap(x, y);
        }
        return;
    }
    switch (message) {
    case WM_LBUTTONDOWN:
        PressLeftButton(x, y);
        break;
    case WM_MOUSEMOVE:
        model.DragTo(x, y);
        break;
    case WM_LBUTTONUP:
        if (boxing) {
            FinishBox(x, y);
        }
        model.Release();
        break;
    case WM_RBUTTONDOWN:
        OpenPieceMenu(x, y);
        break;
    default:
        break;
    }
}

void LevelEditor::PressLeftButton(int x, int y) {
    if (paletteOpen) {
        ChoosePaletteTile(x, y);
        return;
    }
    if (tool == Tool::Place) {
        if (!model.Screen()) {
            Say(L"No screen here: N makes one");
            return;
        }
        SpriteData record = brush;
        record.left = static_cast<float>(x);
        record.top = static_cast<float>(y);
        model.Place(record);
        return;
    }
    if (engine->GetWindow()->IsKeyDown(VK_SHIFT)) {
        boxing = true;
        boxX = x;
        boxY = y;
        return;
    }
    model.Press(x, y);
}

// Shift and the left button: a click adds the piece under the mouse to the selection or takes
// it out; a drawn box adds the pieces wholly inside it.
void LevelEditor::FinishBox(int x, int y) {
    boxing = false;
    if (std::abs(x - boxX) < kSmallestBox && std::abs(y - boxY) < kSmallestBox) {
        model.ToggleSelected(model.PieceAt(boxX, boxY));
    } else {
        model.SelectInBox(boxX, boxY, x, y);
    }
}

// The right button selects the piece under it; the menu the window opens on its release then
// changes that piece, or the settings of new pieces when there is none.
void LevelEditor::OpenPieceMenu(int x, int y) {
    if (paletteOpen) {
        return;
    }
    const int piece = model.PieceAt(x, y);
    const std::vector<int> selection = model.Selection();
    if (std::find(selection.begin(), selection.end(), piece) == selection.end()) {
        model.Select(piece);  // a piece of the selection keeps it, so the menu changes them all
    }
    engine->GetWindow()->SetPopupMenu(BuildPieceMenu(ShownRecord(), MenuHook));
}

void LevelEditor::HandleMenuChoice(const MenuItem& item) {
    if (!model.SelectedRecord()) {
        if (ActionOf(item) != PieceMenuAction::Delete) {
            ApplyPieceMenuChoice(item, brush);
        }
        return;
    }
    if (ActionOf(item) == PieceMenuAction::Delete) {
        model.DeleteSelected();
        return;
    }
    model.ChangeSelected([&](SpriteData& record) { ApplyPieceMenuChoice(item, record); });
}

// The tiles whose names hold the filter, in name order.
std::vector<std::size_t> LevelEditor::ShownTiles() const {
    std::vector<std::size_t> shown;
    const std::wstring filter = Lowered(paletteFilter);
    for (std::size_t index = 0; index < tiles.size(); ++index) {
        if (Lowered(tiles[index]).find(filter, std::wcslen(kTilesPrefix)) != std::wstring::npos) {
            shown.push_back(index);
        }
    }
    return shown;
}

// The tile of the palette cell under the point among the shown tiles, or -1.
int LevelEditor::PaletteIndexAt(int x, int y, const std::vector<std::size_t>& shown) const {
    const int column = (x - kPaletteMargin) / kPalettePitch;
    const int row = (y - kPaletteMargin) / kPalettePitch;
    if (x < kPaletteMargin || y < kPaletteMargin || column >= kPaletteColumns ||
        static_cast<std::size_t>(row * kPaletteColumns + column) >= shown.size()) {
        return -1;
    }
    return static_cast<int>(shown[static_cast<std::size_t>(row * kPaletteColumns + column)]);
}

void LevelEditor::ChoosePaletteTile(int x, int y) {
    const int index = PaletteIndexAt(x, y, ShownTiles());
    paletteOpen = false;
    if (index < 0) {
        return;
    }
    brush.texture = tiles[index];
    brush.special = false;
    ApplyTileDefaults(brush.texture, brush);
    tool = Tool::Place;
    Say(L"Placing " + brush.texture + L": click to put it down, A places it after the last piece");
}

// ---------------------------------------------------------------- keys

void LevelEditor::HandleKey(int key) {
    if (asking) {
        HandlePromptKey(key);
        return;
    }
    if (worldMap.IsOpen()) {
        HandleMapKey(key);
        return;
    }
    if (typing) {
        HandleTypingKey(key);
        return;
    }
    if (paletteOpen) {
        HandlePaletteKey(key);
        return;
    }
    if (ball) {
        if (key == 'P' || key == VK_ESCAPE) {
            TogglePlay();
        }
        return;
    }
    bool control = engine->GetWindow()->IsKeyDown(VK_CONTROL);
    if (!(control && HandleControlKey(key))) {
        HandleEditingKey(key);
    }
}

bool LevelEditor::HandleControlKey(int key) {
    switch (key) {
    case 'Z': model.Undo(); return true;
    case 'Y': model.Redo(); return true;
    case 'S': Save(); return true;
    case 'C':
        if (model.Copy()) {
            Say(model.SelectedRecord() ? L"Piece copied: Ctrl+V puts it at the mouse"
                                       : L"Screen copied: Ctrl+V at an empty slot makes a screen of it");
        }
        return true;
    case 'X': model.Cut(); return true;
    case 'V': PasteAtMouse(); return true;
    case 'D': model.Duplicate(); return true;
    case VK_LEFT: model.GoToNeighbour(-1, 0); return true;
    case VK_RIGHT: model.GoToNeighbour(1, 0); return true;
    case VK_UP: model.GoToNeighbour(0, -1); return true;
    case VK_DOWN: model.GoToNeighbour(0, 1); return true;
    case VK_DELETE:
        if (model.DeleteScreen()) {
            Say(L"Screen deleted (Ctrl+Z brings it back)");
        }
        return true;
    default: return false;
    }
}

void LevelEditor::HandleEditingKey(int key) {
    switch (key) {
    case VK_ESCAPE: RequestQuit(); break;
    case VK_TAB: paletteOpen = !paletteOpen; break;
    case VK_SPACE: tool = tool == Tool::Place ? Tool::Select : Tool::Place; break;
    case VK_DELETE: model.DeleteSelected(); break;
    case VK_LEFT: Nudge(-1, 0); break;
    case VK_RIGHT: Nudge(1, 0); break;
    case VK_UP: Nudge(0, -1); break;
    case VK_DOWN: Nudge(0, 1); break;
    case VK_PRIOR: model.ChooseWorld(-1); break;
    case VK_NEXT: model.ChooseWorld(1); break;
    case VK_F3:
        if (!findings.empty()) {
            ShowFinding(nextFinding++ % findings.size());
        }
        break;
    case 'A': PlaceAutomatically(); break;
    case 'B': bandShown = !bandShown; break;
    case VK_F1: helpShown = !helpShown; break;
    case 'K': CheckLevel(); break;
    case VK_RETURN: StartTyping(); break;
    case 'D':
        engine->TogglePlacementDirection();
        Say(engine->IsPlacingHorizontally() ? L"Automatic placement: along the row" : L"Automatic placement: down");
        break;
    case 'G': model.CycleGrid(); break;
    case 'H': highlightLayer = !highlightLayer; break;
    case 'N': MakeScreen(engine->GetWindow()->IsKeyDown(VK_SHIFT)); break;
    case 'M': OpenWorldMap(); break;
    case 'O': OpenAutosave(); break;
    case 'P': TogglePlay(); break;
    case 'W': model.MakeWorld(); break;
    default: break;
    }
}

void LevelEditor::HandlePromptKey(int key) {
    if (key == 'Y') {
        Save();
        quitting = !model.HasUnsavedChanges();
        asking = false;
    } else if (key == 'N') {
        std::error_code error;
        std::filesystem::remove(SparePath(), error);
        quitting = true;
    } else if (key == VK_ESCAPE) {
        asking = false;
    }
}

void LevelEditor::HandleMapKey(int key) {
    switch (key) {
    case 'M':
    case VK_ESCAPE:
        worldMap.Close();
        message.clear();
        break;
    case VK_LEFT: worldMap.Pan(-1, 0); break;
    case VK_RIGHT: worldMap.Pan(1, 0); break;
    case VK_UP: worldMap.Pan(0, -1); break;
    case VK_DOWN: worldMap.Pan(0, 1); break;
    default: break;
    }
}

// While the palette is open, letters and digits filter it by name; Backspace takes one back,
// Escape clears the filter (or closes the palette when there is none).
void LevelEditor::HandlePaletteKey(int key) {
    const bool letter = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    if (key == VK_ESCAPE && !paletteFilter.empty()) {
        paletteFilter.clear();
    } else if (key == VK_TAB || key == VK_ESCAPE) {
        paletteOpen = false;
    } else if (key == VK_BACK && !paletteFilter.empty()) {
        paletteFilter.pop_back();
    } else if (key == VK_OEM_MINUS) {
        paletteFilter += L'_';
    } else if (letter) {
        paletteFilter += static_cast<wchar_t>(std::towlower(static_cast<wint_t>(key)));
    }
}

// Enter: the selected piece's left, top and depth are typed as numbers; Enter applies them,
// Escape leaves the piece as it was.
void LevelEditor::StartTyping() {
    const SpriteData* record = model.SelectedRecord();
    if (!record) {
        Say(L"Select a piece first: Enter types its left, top and depth");
        return;
    }
    model.Select(model.Selected());  // the numbers are the selected piece's alone
    typing = true;
    typed = TypedPlaceOf(*model.SelectedRecord());
}

void LevelEditor::HandleTypingKey(int key) {
    wchar_t character = 0;
    if (key == VK_ESCAPE) {
        typing = false;
    } else if (key == VK_BACK && !typed.empty()) {
        typed.pop_back();
    } else if (TypedPlaceCharacter(key, character)) {
        typed += character;
    } else if (key == VK_RETURN && !model.SelectedRecord()) {
        typing = false;
    } else if (key == VK_RETURN) {
        SpriteData changed = *model.SelectedRecord();
        if (!ApplyTypedPlace(typed, changed)) {
            Say(L"Type three whole numbers: left, top and depth (Escape leaves the piece as it is)");
            return;
        }
        typing = false;
        model.ChangeSelected([&](SpriteData& record) { record = changed; });
    }
}

void LevelEditor::PasteAtMouse() {
    if (!model.Paste(mouseX, mouseY)) {
        Say(model.Screen() ? L"Nothing to paste here: Ctrl+C copies the selected piece, or the screen without one"
                           : L"Nothing to paste here: a copied screen goes into an empty slot");
    }
}

void LevelEditor::MakeScreen(bool empty) {
    if (!model.MakeScreen(empty)) {
        Say(L"A screen is here already (Ctrl+arrows go to an empty slot)");
    } else if (!empty) {
        Say(L"New screen with the sky and ground of its neighbour (Shift+N makes an empty one)");
    }
}

void LevelEditor::RequestQuit() {
    if (model.HasUnsavedChanges() && !loadFailed) {
        asking = true;
    } else {
        quitting = true;
    }
}

// Moves the selection by one grid step (one pixel without a grid).
void LevelEditor::Nudge(int dx, int dy) {
    const SpriteData* record = model.SelectedRecord();
    if (!record) {
        return;
    }
    int step = std::max(1, model.Grid());
    model.MoveSelectedTo(record->left + dx * step, record->top + dy * step);
}

// The engine works out the place: a sprite of the chosen picture is added with automatic
// placement against the last piece's live sprite, its place read back and the sprite taken
// out again; the place then goes into the screen's records.
void LevelEditor::PlaceAutomatically() {
    IScreen* screen = model.Screen();
    if (!screen) {
        Say(L"No screen here: N makes one");
        return;
    }
    std::unique_ptr<ISprite> sprite = engine->CreateSprite(brush.type);
    sprite->SetTexture(engine->GetTexture(brush.texture));
    sprite->SetData(brush);
    auto& live = screen->GetSprites();
    int alignment = model.AlignmentPiece();
    ISprite* alignmentSprite = alignment >= 0 && alignment < static_cast<int>(live.size()) ? live[alignment].get() : nullptr;
    engine->AddSprite(sprite.get(), true, alignmentSprite);
    SpriteData placed = sprite->GetData();
    engine->RemoveSprite(sprite.get());
    model.PlaceExactly(placed);
}

// ---------------------------------------------------------------- frame

void LevelEditor::Run() {
    FrameClock clock;
    while (!quitting) {
        Message pending;
        while (PeekMessage(pending)) {
            if (pending.message == WM_QUIT) {
                RequestQuit();
                continue;
            }
            DispatchMessage(pending);
        }
        std::uint64_t frequency = 0;
        float dt = clock.NextFrame(frequency);
        Guarded([&] { Frame(dt); });
        AutosaveWhenDue();
        Sleep(kFrameSleepMilliseconds);
    }
    KeepPreferences();
}

// The grid, the tool, the palette's filter and the level go into the editor's settings; a
// failure is only reported, quitting goes on.
void LevelEditor::KeepPreferences() {
    const EditorPreferences kept{model.Grid(), tool == Tool::Place, paletteFilter, levelPath};
    Guarded([&] { WriteEditorPreferences(EditorPreferencesPath(), kept); });
}

void LevelEditor::Frame(float dt) {
    IWindow* window = engine->GetWindow();
    if (ball) {
        const SteeringKeys keys = DefaultSteeringKeys();
        ball->SetState(k_Ball::StateForKeys(keys.up.IsHeld(*window), keys.down.IsHeld(*window)));
        engine->Update(dt);
    } else {
        const SpriteData* selected = model.SelectedRecord();
        engine->SetHighlightLayer(highlightLayer && selected ? selected->depth : kNoHighlightedLayer);
        engine->Update(0.0f);
        DrawClosedDoors();
        DrawGrid();
        DrawSelection();
        DrawPreview();
        DrawPalette();
        DrawWorldMap();
    }
    ReleaseRetiredBall();
    DrawStatus();
    DrawMessage();
    DrawPrompt();
    window->SwapBuffers();
}

// The frame update opens the doors of a screen without breakable pieces at once; while
// editing they are still drawn, so that they can be seen and picked.
void LevelEditor::DrawClosedDoors() {
    IScreen* screen = model.Screen();
    if (!screen) {
        return;
    }
    for (auto& sprite : screen->GetSprites()) {
        if (sprite->GetData().type == r_SpriteType::Door && sprite->IsTriggered()) {
            sprite->Draw();
        }
    }
}

// Every piece of the selection framed, the selected one brighter; the box being drawn.
void LevelEditor::DrawSelection() {
    for (int index : model.Selection()) {
        const SpriteData& record = model.Screen()->GetSpriteData()[index];
        const PictureSize size = SizeOf(record);
        OutlineBox(index == model.Selected() ? kSelection : kGroupSelection, static_cast<int>(record.left),
                   static_cast<int>(record.top), size.width, size.height);
    }
    if (boxing) {
        OutlineBox(kHovered, std::min(boxX, mouseX), std::min(boxY, mouseY), std::abs(mouseX - boxX),
                   std::abs(mouseY - boxY));
    }
}

void LevelEditor::DrawGrid() {
    const int step = model.Grid();
    if (step == 0 || paletteOpen) {
        return;
    }
    for (int x = step; x < kSceneWidth; x += step) {
        FillBox(kGridLine, x, 0, 1, kSceneHeight);
    }
    for (int y = step; y < kSceneHeight; y += step) {
        FillBox(kGridLine, 0, y, kSceneWidth, 1);
    }
}

// With the place tool, the chosen picture shows where a click would put it.
void LevelEditor::DrawPreview() {
    if (tool != Tool::Place || paletteOpen || !model.Screen()) {
        return;
    }
    SpriteData record = brush;
    record.left = static_cast<float>(mouseX);
    record.top = static_cast<float>(mouseY);
    record = model.Snapped(record);
    const PictureSize size = SizeOf(record);
    const int left = static_cast<int>(record.left);
    const int top = static_cast<int>(record.top);
    Guarded([&] {
        DrawPictureInBox(engine->GetTexture(record.texture), left, top, size.width, size.height, kPreviewAlpha);
    });
    OutlineBox(kPreviewFrame, left, top, size.width, size.height);
}

// The pictures whose names hold the filter, the one under the mouse framed and named with its
// size below them.
void LevelEditor::DrawPalette() {
    if (!paletteOpen) {
        return;
    }
    const std::vector<std::size_t> shown = ShownTiles();
    const int rows = (static_cast<int>(shown.size()) + kPaletteColumns - 1) / kPaletteColumns;
    const int infoTop = kPaletteMargin + rows * kPalettePitch + kPaletteInfoGap;
    FillBox(kShade, 0, 0, kSceneWidth, infoTop + kOverlayLineHeight + kPaletteInfoGap);
    const int hovered = PaletteIndexAt(mouseX, mouseY, shown);
    for (std::size_t cell = 0; cell < shown.size(); ++cell) {
        const std::wstring& tile = tiles[shown[cell]];
        const int left = kPaletteMargin + static_cast<int>(cell % kPaletteColumns) * kPalettePitch;
        const int top = kPaletteMargin + static_cast<int>(cell / kPaletteColumns) * kPalettePitch;
        Guarded([&] { DrawPictureInBox(engine->GetTexture(tile), left, top, kPaletteCell, kPaletteCell); });
        const OverlayColour& frame = static_cast<int>(shown[cell]) == hovered ? kHovered
                                     : tile == brush.texture                  ? kSelection
                                                                              : kCellFrame;
        OutlineBox(frame, left - 2, top - 2, kPaletteCell + 4, kPaletteCell + 4);
    }
    std::wstring about = L"filter: " + (paletteFilter.empty() ? std::wstring(L"type letters") : paletteFilter) + L" (" +
                         std::to_wstring(shown.size()) + L" of " + std::to_wstring(tiles.size()) + L")";
    if (hovered >= 0) {
        SpriteData record;
        record.texture = tiles[hovered];
        const PictureSize size = SizeOf(record);
        about = tiles[hovered].substr(std::wcslen(kTilesPrefix)) + L" " + std::to_wstring(size.width) + L" x " +
                std::to_wstring(size.height) + L"  " + about;
    }
    DrawOverlayText(kText, about, kPaletteMargin, infoTop);
}

void LevelEditor::DrawWorldMap() {
    if (!worldMap.IsOpen()) {
        return;
    }
    FillBox(kMapBackdrop, 0, 0, kSceneWidth, kSceneHeight);
    worldMap.Draw(MapSlot{model.SlotX(), model.SlotY()});
    std::wstring problem = worldMap.TakeProblem();
    if (!problem.empty()) {
        Say(L"World map: a screen has no picture: " + problem);
    }
}

SpriteData LevelEditor::ShownRecord() const {
    const SpriteData* selected = model.SelectedRecord();
    return selected ? *selected : brush;
}

std::wstring LevelEditor::StatusLine() const {
    IWorld* world = model.World();
    std::wstring line = world ? L"World \"" + world->GetName() + L"\"" : L"No world (W makes one)";
    // In test play the line follows the ball from screen to screen.
    IScreen* played = ball && world ? world->GetCurrentScreen() : nullptr;
    if (played) {
        line += L"  test play in screen (" + std::to_wstring(played->GetX()) + L", " + std::to_wstring(played->GetY()) +
                L"), P returns to (" + std::to_wstring(model.SlotX()) + L", " + std::to_wstring(model.SlotY()) + L")";
        return line;
    }
    line += L" (" + std::to_wstring(model.SlotX()) + L", " + std::to_wstring(model.SlotY()) + L")";
    if (world && !model.Screen()) {
        line += L" empty";
    }
    line += L"  grid " + (model.Grid() ? std::to_wstring(model.Grid()) : std::wstring(L"off"));
    line += tool == Tool::Place ? L"  place" : L"  select";
    line += L"  at " + std::to_wstring(mouseX) + L"," + std::to_wstring(mouseY);
    if (model.HasUnsavedChanges()) {
        line += L"  unsaved";
    }
    return line;
}

std::wstring LevelEditor::DetailLine() const {
    SpriteData shown = ShownRecord();
    std::wstring line = model.SelectedRecord() ? L"Piece " + std::to_wstring(model.Selected() + 1) + L" " : L"Tile ";
    const std::size_t chosen = model.Selection().size();
    if (chosen > 1) {
        line += L"(and " + std::to_wstring(chosen - 1) + L" more) ";
    }
    std::wstring picture = shown.texture.compare(0, std::wcslen(kTilesPrefix), kTilesPrefix) == 0
                               ? shown.texture.substr(std::wcslen(kTilesPrefix))
                               : shown.texture;
    if (picture.size() > std::wcslen(kPictureExtension) &&
        picture.compare(picture.size() - std::wcslen(kPictureExtension), std::wstring::npos, kPictureExtension) == 0) {
        picture.resize(picture.size() - std::wcslen(kPictureExtension));
    }
    if (typing) {
        return line + picture + L"  left top depth: " + typed + L"_  (Enter sets, Escape leaves)";
    }
    const std::wstring place = model.SelectedRecord() ? L" at " + std::to_wstring(static_cast<long>(shown.left)) +
                                                            L"," + std::to_wstring(static_cast<long>(shown.top))
                                                      : std::wstring();
    return line + picture + place + L" " + r_SpriteType::ToString(shown.type) + L" depth " +
           std::to_wstring(shown.depth) + L" " + Flags(shown);
}

void LevelEditor::DrawStatus() {
    if (!bandShown && !typing) {
        return;
    }
    FillBox(kShade, 0, kStatusTop - 4, kSceneWidth, kSceneHeight - kStatusTop + 4);
    DrawOverlayText(kText, StatusLine(), 8, kStatusTop);
    DrawOverlayText(kText, DetailLine(), 8, kStatusTop + kOverlayLineHeight);
}

void LevelEditor::DrawMessage() {
    if (message.empty() || paletteOpen || !bandShown) {
        return;
    }
    std::vector<std::wstring> lines = Wrap(message, static_cast<std::size_t>(TextColumns(kSceneWidth - 16)));
    FillBox(kShade, 0, 0, kSceneWidth, static_cast<int>(lines.size()) * kOverlayLineHeight + 8);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        DrawOverlayText(kAlert, lines[index], 8, 6 + static_cast<int>(index) * kOverlayLineHeight);
    }
}

void LevelEditor::DrawPrompt() {
    if (asking) {
        DrawTextBox(Wrap(kQuitQuestion, static_cast<std::size_t>(TextColumns(kSceneWidth - 96))));
    } else if (helpShown) {
        DrawTextBox(std::vector<std::wstring>(std::begin(kHelp), std::end(kHelp)));
    }
}

// Lines in a framed box in the middle of the scene.
void LevelEditor::DrawTextBox(const std::vector<std::wstring>& lines) {
    int height = static_cast<int>(lines.size()) * kOverlayLineHeight + 24;
    int top = (kSceneHeight - height) / 2;
    FillBox(OverlayColour{0.1f, 0.1f, 0.3f, 0.95f}, 40, top, kSceneWidth - 80, height);
    OutlineBox(kText, 40, top, kSceneWidth - 80, height);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        DrawOverlayText(kText, lines[index], 56, top + 12 + static_cast<int>(index) * kOverlayLineHeight);
    }
}
