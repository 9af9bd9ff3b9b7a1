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

void EditingModel::Place(SpriteData record) {
    record.left = static_cast<float>(Snap(record.left));
    record.top = static_cast<float>(Snap(record.top));
    PlaceExactly(record);
}

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

bool EditingModel::Undo() {
    EndGesture();
    std::optional<EditorState> previous = history.Undo(State());
    if (previous) {
        Apply(*previous);
    }
    return previous.has_value();
}

bool EditingModel::Redo() {
    EndGesture();
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

bool EditingModel::MakeScreen() {
    IWorld* world = World();
    if (!world || Screen()) {
        return false;
    }
    Edit([&] { world->GetScreens().push_back(world->CreateScreen(slotX, slotY)); });
    return true;
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
