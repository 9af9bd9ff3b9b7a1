#include "tools/editor/EditingModel.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "world/ScreenGeometry.h"
#include "world/ScreenSlot.h"

namespace {

IScreen* ScreenAt(IWorld* world, int x, int y) {
    if (!world) {
        return nullptr;
    }
    for (auto& screen : world->GetScreens()) {
        if (screen->GetX() == x && screen->GetY() == y) {
            return screen.get();
        }
    }
    return nullptr;
}

std::vector<SpriteData> Shifted(std::vector<SpriteData> pieces, float dx, float dy) {
    for (SpriteData& piece : pieces) {
        piece.left += dx;
        piece.top += dy;
    }
    return pieces;
}

// How far a piece's edge reaches to snap to a neighbour's edge, in pixels.
constexpr float kEdgeReach = 6.0f;
// Pieces whose bottom lies this close to the screen's lower edge are its ground.
constexpr float kGroundReach = 1.0f;
// A duplicate's offset without a grid.
constexpr int kDuplicateOffset = 16;

bool Covers(const SpriteData& record, PictureSize size, int x, int y) {
    return x >= record.left && x < record.left + size.width && y >= record.top && y < record.top + size.height;
}

}  // namespace

EditingModel::EditingModel(IUniverse& universe, PictureSizes sizes) : universe(universe), sizes(std::move(sizes)) {}

void EditingModel::Reset() {
    IWorld* world = World();
    IScreen* screen = world ? world->GetCurrentScreen() : nullptr;
    slotX = screen ? screen->GetX() : 0;
    slotY = screen ? screen->GetY() : 0;
    history.Clear();
    Forget();
    savedRevision = revision;
}

IWorld* EditingModel::World() const { return universe.GetCurrentWorld(); }

IScreen* EditingModel::Screen() const { return ScreenAt(World(), slotX, slotY); }

std::vector<SpriteData>* EditingModel::Records() const {
    IScreen* screen = Screen();
    return screen ? &screen->GetSpriteData() : nullptr;
}

// ---------------------------------------------------------------- selection

int EditingModel::PieceAt(int x, int y) const {
    const std::vector<SpriteData>* records = Records();
    if (!records) {
        return kNoPiece;
    }
    int found = kNoPiece;
    for (std::size_t index = 0; index < records->size(); ++index) {
        const SpriteData& record = (*records)[index];
        if (Covers(record, sizes(record), x, y) && (found == kNoPiece || record.depth >= (*records)[found].depth)) {
            found = static_cast<int>(index);
        }
    }
    return found;
}

bool EditingModel::IsPiece(int index) const {
    const std::vector<SpriteData>* records = Records();
    return records && index >= 0 && index < static_cast<int>(records->size());
}

void EditingModel::Select(int index) {
    selected = IsPiece(index) ? index : kNoPiece;
    others.clear();
}

void EditingModel::ToggleSelected(int index) {
    if (!IsPiece(index)) {
        return;
    }
    auto found = std::find(others.begin(), others.end(), index);
    if (index == selected) {
        selected = others.empty() ? kNoPiece : others.back();
        if (!others.empty()) {
            others.pop_back();
        }
    } else if (found != others.end()) {
        others.erase(found);
    } else {
        if (selected != kNoPiece) {
            others.push_back(selected);
        }
        selected = index;
    }
}

int EditingModel::SelectInBox(int left, int top, int right, int bottom) {
    const std::vector<SpriteData>* records = Records();
    if (!records) {
        return 0;
    }
    int added = 0;
    const std::vector<int> before = Selection();
    for (std::size_t index = 0; index < records->size(); ++index) {
        const SpriteData& record = (*records)[index];
        const PictureSize size = sizes(record);
        const bool inside = record.left >= std::min(left, right) && record.top >= std::min(top, bottom) &&
                            record.left + size.width <= std::max(left, right) &&
                            record.top + size.height <= std::max(top, bottom);
        if (inside && std::find(before.begin(), before.end(), static_cast<int>(index)) == before.end()) {
            ToggleSelected(static_cast<int>(index));
            ++added;
        }
    }
    return added;
}

std::vector<int> EditingModel::Selection() const {
    std::vector<int> all;
    if (selected != kNoPiece) {
        all.push_back(selected);
        all.insert(all.end(), others.begin(), others.end());
    }
    return all;
}

const SpriteData* EditingModel::SelectedRecord() const {
    return selected == kNoPiece ? nullptr : &(*Records())[selected];
}

int EditingModel::AlignmentPiece() const { return lastPlaced != kNoPiece ? lastPlaced : selected; }

// Forgets the pieces chosen on the screen, for example after the screen changed.
void EditingModel::Forget() {
    selected = kNoPiece;
    others.clear();
    lastPlaced = kNoPiece;
}

// ---------------------------------------------------------------- grid

void EditingModel::CycleGrid() { gridIndex = (gridIndex + 1) % kGridSteps.size(); }

void EditingModel::SetGrid(int step) {
    for (std::size_t index = 0; index < kGridSteps.size(); ++index) {
        if (kGridSteps[index] == step) {
            gridIndex = index;
        }
    }
}

int EditingModel::Snap(float value) const {
    int grid = Grid();
    if (grid == 0) {
        return static_cast<int>(std::floor(value));
    }
    return static_cast<int>(std::floor(value / grid)) * grid;
}

// ---------------------------------------------------------------- changes

EditorState EditingModel::State() const { return EditorState{TakeSnapshot(universe), slotX, slotY, revision}; }

// Every change passes here: the state before it becomes an undo step (unless a gesture
// collects the changes), and the screen is built again from the changed records.
void EditingModel::Edit(const std::function<void()>& change) {
    EditorState before = inGesture ? EditorState{} : State();
    change();
    revision = ++lastRevision;
    if (!inGesture) {
        history.Record(std::move(before));
    }
    Rebuild();
}

SpriteData EditingModel::Snapped(SpriteData record, const std::vector<int>& ignored) const {
    const PictureSize size = sizes(record);
    record.left = SnappedOnAxis(record.left, static_cast<float>(size.width), true, ignored);
    record.top = SnappedOnAxis(record.top, static_cast<float>(size.height), false, ignored);
    return record;
}

// The start of a span of the given length along one axis, moved so that either of its ends
// meets the nearest edge of another piece or of the screen within reach; else snapped to the
// grid. An edge wins over the grid, so that a floor put down near the bottom lies on it.
float EditingModel::SnappedOnAxis(float start, float length, bool across, const std::vector<int>& ignored) const {
    const float screenLength = static_cast<float>(across ? kScreenWidth : kScreenHeight);
    float best = start;
    float bestDistance = kEdgeReach + 1.0f;
    auto consider = [&](float low, float high) {
        for (float candidate : {low, high, low - length, high - length}) {
            const float distance = std::fabs(candidate - start);
            if (distance < bestDistance) {
                best = candidate;
                bestDistance = distance;
            }
        }
    };
    consider(0.0f, screenLength);
    const std::vector<SpriteData>* records = Records();
    for (std::size_t index = 0; records && index < records->size(); ++index) {
        const SpriteData& other = (*records)[index];
        const PictureSize size = sizes(other);
        const bool moving = std::find(ignored.begin(), ignored.end(), static_cast<int>(index)) != ignored.end();
        if (!moving && size.width > 0 && size.height > 0) {
            const float low = across ? other.left : other.top;
            consider(low, low + static_cast<float>(across ? size.width : size.height));
        }
    }
    return bestDistance <= kEdgeReach ? best : static_cast<float>(Snap(start));
}

void EditingModel::Place(SpriteData record) { PlaceExactly(Snapped(std::move(record))); }

void EditingModel::PlaceExactly(const SpriteData& record) { AddPieces({record}); }

// One step; the new pieces become the selection, the first of them the selected one.
void EditingModel::AddPieces(const std::vector<SpriteData>& pieces) {
    std::vector<SpriteData>* records = Records();
    if (!records || pieces.empty()) {
        return;
    }
    const int first = static_cast<int>(records->size());
    Edit([&] { records->insert(records->end(), pieces.begin(), pieces.end()); });
    Forget();
    selected = first;
    for (int index = first + 1; index < static_cast<int>(records->size()); ++index) {
        others.push_back(index);
    }
    lastPlaced = static_cast<int>(records->size()) - 1;
}

// The selected piece goes to the place snapped to the grid; the others of the selection move
// with it.
void EditingModel::MoveSelectedTo(float left, float top) {
    const SpriteData* record = SelectedRecord();
    if (record) {
        MoveSelectionBy(static_cast<float>(Snap(left)) - record->left, static_cast<float>(Snap(top)) - record->top);
    }
}

void EditingModel::MoveSelectionBy(float dx, float dy) {
    ChangeSelected([&](SpriteData& record) {
        record.left += dx;
        record.top += dy;
    });
}

void EditingModel::DeleteSelected() {
    std::vector<SpriteData>* records = Records();
    std::vector<int> doomed = Selection();
    if (doomed.empty()) {
        return;
    }
    std::sort(doomed.rbegin(), doomed.rend());
    Edit([&] {
        for (int index : doomed) {
            records->erase(records->begin() + index);
        }
    });
    Forget();
}

void EditingModel::ChangeSelected(const std::function<void(SpriteData&)>& change) {
    const std::vector<int> chosen = Selection();
    if (chosen.empty()) {
        return;
    }
    Edit([&] {
        for (int index : chosen) {
            change((*Records())[index]);
        }
    });
}

void EditingModel::BeginGesture() {
    gestureStart = State();
    inGesture = true;
}

void EditingModel::EndGesture() {
    if (!inGesture) {
        return;
    }
    inGesture = false;
    if (revision != gestureStart.revision) {
        history.Record(std::move(gestureStart));
    }
}

// ---------------------------------------------------------------- the mouse

// A press on a piece of a larger selection keeps the selection, to drag it all.
void EditingModel::Press(int x, int y) {
    Release();
    const int piece = PieceAt(x, y);
    auto inGroup = std::find(others.begin(), others.end(), piece);
    if (inGroup != others.end()) {
        *inGroup = selected;
        selected = piece;
    } else if (piece != selected) {
        Select(piece);
    }
    if (const SpriteData* record = SelectedRecord()) {
        dragging = true;
        grabX = x - static_cast<int>(record->left);
        grabY = y - static_cast<int>(record->top);
        BeginGesture();
    }
}

void EditingModel::DragTo(int x, int y) {
    const SpriteData* record = dragging ? SelectedRecord() : nullptr;
    if (!record) {
        return;
    }
    SpriteData moved = *record;
    moved.left = static_cast<float>(x - grabX);
    moved.top = static_cast<float>(y - grabY);
    moved = Snapped(moved, Selection());
    if (moved.left != record->left || moved.top != record->top) {
        MoveSelectionBy(moved.left - record->left, moved.top - record->top);
    }
}

void EditingModel::Release() {
    dragging = false;
    EndGesture();
}

// ---------------------------------------------------------------- clipboard

bool EditingModel::Copy() {
    if (SelectedRecord()) {
        copiedPieces.clear();
        for (int index : Selection()) {
            copiedPieces.push_back((*Records())[index]);
        }
        copiedScreen.reset();
        return true;
    }
    if (const std::vector<SpriteData>* records = Records()) {
        copiedScreen = *records;
        copiedPieces.clear();
        return true;
    }
    return false;
}

bool EditingModel::Cut() {
    if (!SelectedRecord()) {
        return false;
    }
    Copy();
    DeleteSelected();
    return true;
}

// The first copied piece goes to the point, snapped; the others keep their places around it.
bool EditingModel::Paste(int x, int y) {
    if (!copiedPieces.empty() && Screen()) {
        SpriteData first = copiedPieces.front();
        first.left = static_cast<float>(x);
        first.top = static_cast<float>(y);
        first = Snapped(first);
        AddPieces(Shifted(copiedPieces, first.left - copiedPieces.front().left, first.top - copiedPieces.front().top));
        return true;
    }
    return copiedScreen && MakeScreenWith(*copiedScreen);
}

bool EditingModel::Duplicate() {
    std::vector<SpriteData> copies;
    for (int index : Selection()) {
        copies.push_back((*Records())[index]);
    }
    const float step = static_cast<float>(Grid() ? Grid() : kDuplicateOffset);
    AddPieces(Shifted(copies, step, step));
    return !copies.empty();
}

// ---------------------------------------------------------------- undo

void EditingModel::Apply(const EditorState& state) {
    RestoreSnapshot(universe, state.level);
    slotX = state.slotX;
    slotY = state.slotY;
    revision = state.revision;
    const std::vector<int> kept = Selection();
    Forget();
    for (auto index = kept.rbegin(); index != kept.rend(); ++index) {  // the selected piece last
        if (IsPiece(*index)) {
            ToggleSelected(*index);
        }
    }
    lastPlaced = kNoPiece;
    Rebuild();
}

// A drag in progress ends first: the moves after an undo would otherwise change the state it
// went back to, outside any step.
bool EditingModel::Undo() {
    Release();
    std::optional<EditorState> previous = history.Undo(State());
    if (previous) {
        Apply(*previous);
    }
    return previous.has_value();
}

bool EditingModel::Redo() {
    Release();
    std::optional<EditorState> next = history.Redo(State());
    if (next) {
        Apply(*next);
    }
    return next.has_value();
}

// ---------------------------------------------------------------- screens and worlds

void EditingModel::Rebuild() {
    if (IWorld* world = World()) {
        world->SetCurrentScreen(Screen());
    }
}

void EditingModel::GoToSlot(int x, int y) {
    slotX = x;
    slotY = y;
    Forget();
    Rebuild();
}

void EditingModel::GoToNeighbour(int columns, int rows) {
    if (std::optional<ScreenSlot> slot = SlotBeside(slotX, slotY, columns, rows)) {
        GoToSlot(slot->x, slot->y);
    }
}

bool EditingModel::MakeScreen(bool empty) {
    return MakeScreenWith(empty ? std::vector<SpriteData>() : NeighboursGround());
}

bool EditingModel::MakeScreenWith(const std::vector<SpriteData>& records) {
    IWorld* world = World();
    if (!world || Screen()) {
        return false;
    }
    Edit([&] {
        world->GetScreens().push_back(world->CreateScreen(slotX, slotY));
        world->GetScreens().back()->GetSpriteData() = records;
    });
    Forget();
    return true;
}

// The sky and ground of the first neighbour found, left, right, above, below.
std::vector<SpriteData> EditingModel::NeighboursGround() const {
    for (ScreenEdge edge : {ScreenEdge::Left, ScreenEdge::Right, ScreenEdge::Top, ScreenEdge::Bottom}) {
        const EdgeCrossing step = CrossingThrough(edge);
        const std::optional<ScreenSlot> slot = SlotBeside(slotX, slotY, step.columns, step.rows);
        IScreen* neighbour = slot ? ScreenAt(World(), slot->x, slot->y) : nullptr;
        if (!neighbour) {
            continue;
        }
        std::vector<SpriteData> ground;
        for (const SpriteData& record : neighbour->GetSpriteData()) {
            const float bottom = record.top + static_cast<float>(sizes(record).height);
            if (record.type == r_SpriteType::Background || (record.isStatic && bottom >= kScreenHeight - kGroundReach)) {
                ground.push_back(record);
            }
        }
        return ground;
    }
    return {};
}

bool EditingModel::DeleteScreen() {
    IScreen* screen = Screen();
    if (!screen) {
        return false;
    }
    IWorld* world = World();
    Edit([&] {
        world->SetCurrentScreen(nullptr);
        auto& screens = world->GetScreens();
        for (auto place = screens.begin(); place != screens.end(); ++place) {
            if (place->get() == screen) {
                screens.erase(place);
                break;
            }
        }
    });
    Forget();
    return true;
}

void EditingModel::MakeWorld() {
    Edit([&] {
        std::unique_ptr<IWorld> world = universe.CreateWorld();
        world->SetName(L"World " + std::to_wstring(universe.GetWorlds().size() + 1));
        world->GetScreens().push_back(world->CreateScreen(0, 0));
        IWorld* made = world.get();
        universe.GetWorlds().push_back(std::move(world));
        universe.SetCurrentWorld(made);
        slotX = slotY = 0;
    });
    Forget();
}

void EditingModel::ChooseWorld(int step) {
    auto& worlds = universe.GetWorlds();
    if (worlds.empty()) {
        return;
    }
    int count = static_cast<int>(worlds.size());
    int index = ((CurrentWorldIndex(universe) + step) % count + count) % count;
    Edit([&] {
        universe.SetCurrentWorld(worlds[index].get());
        IScreen* first = worlds[index]->GetCurrentScreen();
        slotX = first ? first->GetX() : 0;
        slotY = first ? first->GetY() : 0;
    });
    Forget();
}
