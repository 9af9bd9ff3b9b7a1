#include "tools/editor/EditingModel.h"

#include <cmath>
#include <optional>
#include <string>

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

// How far a piece's edge reaches to snap to a neighbour's edge, in pixels.
constexpr float kEdgeReach = 6.0f;
// Pieces whose bottom lies this close to the screen's lower edge are its ground.
constexpr float kScreenHeight = 600.0f;
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

void EditingModel::Select(int index) {
    const std::vector<SpriteData>* records = Records();
    bool valid = records && index >= 0 && index < static_cast<int>(records->size());
    selected = valid ? index : kNoPiece;
}

const SpriteData* EditingModel::SelectedRecord() const {
    return selected == kNoPiece ? nullptr : &(*Records())[selected];
}

int EditingModel::AlignmentPiece() const { return lastPlaced != kNoPiece ? lastPlaced : selected; }

// Forgets the pieces chosen on the screen, for example after the screen changed.
void EditingModel::Forget() {
    selected = kNoPiece;
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

SpriteData EditingModel::Snapped(SpriteData record, int ignored) const {
    record.left = static_cast<float>(Snap(record.left));
    record.top = static_cast<float>(Snap(record.top));
    const PictureSize size = sizes(record);
    record.left = SnappedToEdges(record.left, static_cast<float>(size.width), true, ignored);
    record.top = SnappedToEdges(record.top, static_cast<float>(size.height), false, ignored);
    return record;
}

// The start of a span of the given length along one axis, moved so that either of its ends
// meets the nearest edge of another piece within reach; unchanged when none is.
float EditingModel::SnappedToEdges(float start, float length, bool across, int ignored) const {
    const std::vector<SpriteData>* records = Records();
    if (!records) {
        return start;
    }
    float best = start;
    float bestDistance = kEdgeReach + 1.0f;
    for (std::size_t index = 0; index < records->size(); ++index) {
        const SpriteData& other = (*records)[index];
        const PictureSize size = sizes(other);
        if (static_cast<int>(index) == ignored || size.width <= 0 || size.height <= 0) {
            continue;
        }
        const float low = across ? other.left : other.top;
        const float high = low + static_cast<float>(across ? size.width : size.height);
        for (float candidate : {low, high, low - length, high - length}) {
            const float distance = std::fabs(candidate - start);
            if (distance < bestDistance) {
                best = candidate;
                bestDistance = distance;
            }
        }
    }
    return bestDistance <= kEdgeReach ? best : start;
}

void EditingModel::Place(SpriteData record) { PlaceExactly(Snapped(std::move(record))); }

void EditingModel::PlaceExactly(const SpriteData& record) {
    std::vector<SpriteData>* records = Records();
    if (!records) {
        return;
    }
    Edit([&] { records->push_back(record); });
    selected = lastPlaced = static_cast<int>(records->size()) - 1;
}

void EditingModel::MoveSelectedTo(float left, float top) {
    ChangeSelected([&](SpriteData& record) {
        record.left = static_cast<float>(Snap(left));
        record.top = static_cast<float>(Snap(top));
    });
}

void EditingModel::DeleteSelected() {
    std::vector<SpriteData>* records = Records();
    if (selected == kNoPiece) {
        return;
    }
    Edit([&] { records->erase(records->begin() + selected); });
    Forget();
}

void EditingModel::ChangeSelected(const std::function<void(SpriteData&)>& change) {
    if (selected == kNoPiece) {
        return;
    }
    SpriteData& record = (*Records())[selected];
    Edit([&] { change(record); });
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

void EditingModel::Press(int x, int y) {
    Release();
    Select(PieceAt(x, y));
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
    moved = Snapped(moved, selected);
    if (moved.left != record->left || moved.top != record->top) {
        ChangeSelected([&](SpriteData& piece) {
            piece.left = moved.left;
            piece.top = moved.top;
        });
    }
}

void EditingModel::Release() {
    dragging = false;
    EndGesture();
}

// ---------------------------------------------------------------- clipboard

bool EditingModel::Copy() {
    if (const SpriteData* record = SelectedRecord()) {
        copiedPiece = {*record};
        copiedScreen.reset();
        return true;
    }
    if (const std::vector<SpriteData>* records = Records()) {
        copiedScreen = *records;
        copiedPiece.clear();
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

bool EditingModel::Paste(int x, int y) {
    if (!copiedPiece.empty() && Screen()) {
        SpriteData record = copiedPiece.front();
        record.left = static_cast<float>(x);
        record.top = static_cast<float>(y);
        Place(record);
        return true;
    }
    return copiedScreen && MakeScreenWith(*copiedScreen);
}

bool EditingModel::Duplicate() {
    const SpriteData* record = SelectedRecord();
    if (!record) {
        return false;
    }
    SpriteData copy = *record;
    const int step = Grid() ? Grid() : kDuplicateOffset;
    copy.left += static_cast<float>(step);
    copy.top += static_cast<float>(step);
    PlaceExactly(copy);
    return true;
}

// ---------------------------------------------------------------- undo

void EditingModel::Apply(const EditorState& state) {
    RestoreSnapshot(universe, state.level);
    slotX = state.slotX;
    slotY = state.slotY;
    revision = state.revision;
    if (selected != kNoPiece && (!Records() || selected >= static_cast<int>(Records()->size()))) {
        selected = kNoPiece;
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
    constexpr int kSteps[][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& step : kSteps) {
        const std::optional<ScreenSlot> slot = SlotBeside(slotX, slotY, step[0], step[1]);
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
