#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <utility>

#include "base/AtomicFile.h"
#include "support/Failures.h"
#include "support/SpriteRecords.h"
#include "support/TempDirectory.h"
#include "support/WorldFakes.h"
#include "WideText.h"
#include "tools/editor/EditingModel.h"
#include "tools/editor/Autosave.h"
#include "tools/editor/EditorPreferences.h"
#include "tools/editor/TileDefaults.h"
#include "tools/editor/TypedPlace.h"
#include "world/k_Universe.h"

namespace {

// The sky covers the screen, every other picture is 32 x 32; the live sprites come from the fake engine, no display needed.
class EditingModelTest : public ::testing::Test {
protected:
    EditingModelTest() {
        engine.universe = &universe;
        universe.GetWorlds().push_back(universe.CreateWorld());
        IWorld* world = universe.GetWorlds().back().get();
        world->GetScreens().push_back(world->CreateScreen(0, 0));
        world->GetScreens().back()->GetSpriteData() = {Record(r_SpriteType::Background, L"sky", 0, 0),
                                                       Record(r_SpriteType::SolidCube, L"crate", 100, 100)};
        universe.SetCurrentWorld(world);
        model.Reset();
    }

    std::vector<SpriteData>& Records() { return model.Screen()->GetSpriteData(); }
    std::size_t LiveSprites() { return model.Screen()->GetSprites().size(); }

    WorldFakeEngine engine;
    k_Universe universe{&engine};
    EditingModel model{universe, [](const SpriteData& record) {
        return record.texture == L"sky" ? PictureSize{800, 600} : PictureSize{32, 32};
    }};
};

TEST_F(EditingModelTest, SnapsDownToEachGrid) {
    const struct {
        float value;
        int snapped[5];  // no grid, 4, 8, 16, 32
    } cases[] = {{37.9f, {37, 36, 32, 32, 32}}, {-3.0f, {-3, -4, -8, -16, -32}}, {64.0f, {64, 64, 64, 64, 64}}};
    for (int grid = 0; grid < 5; ++grid) {
        for (const auto& check : cases) {
            EXPECT_EQ(model.Snap(check.value), check.snapped[grid]) << check.value << " grid " << model.Grid();
        }
        model.CycleGrid();
    }
    EXPECT_EQ(model.Grid(), 0);
}

TEST_F(EditingModelTest, PicksTheTopmostPieceAndNothingOutside) {
    Records()[0].depth = 5;  // the sky above the crate now
    EXPECT_EQ(model.PieceAt(110, 110), 0);
    Records()[0].depth = 0;
    EXPECT_EQ(model.PieceAt(110, 110), 1);
    EXPECT_EQ(model.PieceAt(20, 20), 0);
    EXPECT_EQ(model.PieceAt(800, 10), EditingModel::kNoPiece);
}

TEST_F(EditingModelTest, EveryChangeRebuildsTheScreenAndUndoesAndRedoes) {
    model.SetGrid(16);
    model.Place(Record(r_SpriteType::SolidCube, L"brick", 37, 45));
    EXPECT_EQ(std::tuple(model.Selected(), Records()[2].left, Records()[2].top, LiveSprites()), std::tuple(2, 32.0f, 32.0f, 3u));
    model.MoveSelectedTo(70, 90);
    model.ChangeSelected([](SpriteData& record) { record.type = r_SpriteType::Door; });
    model.Select(1);
    model.DeleteSelected();
    EXPECT_EQ(Records().size(), 2u);
    EXPECT_EQ(Records()[1].type, r_SpriteType::Door);
    EXPECT_TRUE(model.HasUnsavedChanges());

    ASSERT_TRUE(model.Undo());  // the crate is back
    ASSERT_TRUE(model.Undo());  // the type
    EXPECT_EQ(Records()[2].type, r_SpriteType::SolidCube);
    EXPECT_EQ(Records()[2].left, 64);
    ASSERT_TRUE(model.Undo());
    ASSERT_TRUE(model.Undo());
    EXPECT_EQ(std::tuple(Records().size(), LiveSprites()), std::tuple(2u, 2u));
    EXPECT_FALSE(model.HasUnsavedChanges() || model.Undo());

    ASSERT_TRUE(model.Redo());
    EXPECT_EQ(Records().size(), 3u);
    model.MarkSaved();
    model.Select(0);
    model.DeleteSelected();  // a new change forgets what could be redone
    EXPECT_FALSE(model.Redo());
    model.Undo();
    EXPECT_FALSE(model.HasUnsavedChanges());

    model.Select(0);  // a drag is one step
    model.BeginGesture();
    for (float x : {110.0f, 120.0f, 130.0f}) {
        model.MoveSelectedTo(x, 100);
    }
    model.EndGesture();
    EXPECT_EQ(Records()[0].left, 128);
    model.Undo();
    EXPECT_EQ(Records()[0].left, 0);
    EXPECT_FALSE(model.HasUnsavedChanges());
}

// The mouse with the select tool, as its messages reach the model: a click selects and changes
// nothing, so what could be redone stays; a drag is one step on the grid; an undo in the
// middle of a drag ends it, so later moves change nothing.
TEST_F(EditingModelTest, ClicksAndDragsAreUndoStepsOnlyWhenSomethingMoved) {
    const auto crate = [&] { return std::pair(Records()[1].left, Records()[1].top); };
    model.Select(1);
    model.ChangeSelected([](SpriteData& record) { record.type = r_SpriteType::Door; });
    ASSERT_TRUE(model.Undo());
    model.Press(110, 110);
    model.DragTo(110, 110);
    model.Release();
    EXPECT_EQ(model.Selected(), 1);
    EXPECT_FALSE(model.HasUnsavedChanges());
    ASSERT_TRUE(model.Redo()) << "a click keeps what could be redone";
    ASSERT_TRUE(model.Undo());

    model.SetGrid(8);
    model.Press(110, 110);
    model.DragTo(150, 131);
    model.DragTo(170, 131);
    model.Release();
    EXPECT_EQ(crate(), std::pair(160.0f, 120.0f));
    EXPECT_FALSE(model.Redo()) << "a drag forgets what could be redone";
    ASSERT_TRUE(model.Undo());
    EXPECT_EQ(crate(), std::pair(100.0f, 100.0f));
    EXPECT_FALSE(model.HasUnsavedChanges());

    model.Press(110, 110);
    model.DragTo(150, 110);
    ASSERT_TRUE(model.Undo());
    model.DragTo(200, 200);
    model.Release();
    EXPECT_EQ(crate(), std::pair(100.0f, 100.0f));
    ASSERT_TRUE(model.Redo());
    EXPECT_EQ(crate(), std::pair(136.0f, 96.0f));

    model.Press(900, 10);  // nothing there
    EXPECT_FALSE(model.IsDragging() || model.SelectedRecord());
}

// A piece put down within a few pixels of another's edge meets it; pieces are copied, cut,
// pasted and duplicated, a whole screen is pasted into an empty slot, each one undo step.
TEST_F(EditingModelTest, SnapsToNeighboursEdgesAndCopiesPiecesAndScreens) {
    const auto place = [&](std::size_t index) { return std::pair(Records().at(index).left, Records().at(index).top); };
    model.Place(Record(r_SpriteType::SolidCube, L"brick", 135, 97));
    model.Place(Record(r_SpriteType::SolidCube, L"brick", 40, 300));
    EXPECT_EQ(place(2), std::pair(132.0f, 100.0f)) << "beside the crate, level with it";
    EXPECT_EQ(place(3), std::pair(40.0f, 300.0f));
    model.SetGrid(32);
    model.Place(Record(r_SpriteType::SolidCube, L"floor", 200, 570));
    EXPECT_EQ(place(4), std::pair(192.0f, 568.0f)) << "on the screen's bottom edge rather than the grid line above";
    ASSERT_TRUE(model.Undo());
    model.SetGrid(0);

    model.Select(1);
    ASSERT_TRUE(model.Copy());
    ASSERT_TRUE(model.Paste(300, 200));
    ASSERT_TRUE(model.Duplicate());
    EXPECT_EQ(std::pair(place(4), place(5)), std::pair(std::pair(300.0f, 200.0f), std::pair(316.0f, 216.0f)));
    EXPECT_EQ(model.Selected(), 5);
    ASSERT_TRUE(model.Cut());
    ASSERT_TRUE(model.Paste(400, 400));
    EXPECT_EQ(std::tuple(Records().size(), place(5), LiveSprites()), std::tuple(6u, std::pair(400.0f, 400.0f), 6u));
    ASSERT_TRUE(model.Undo() && model.Undo());
    EXPECT_EQ(Records().size(), 6u) << "the cut piece is back";

    model.Select(EditingModel::kNoPiece);
    ASSERT_TRUE(model.Copy());
    model.GoToSlot(3, 0);
    ASSERT_TRUE(model.Paste(0, 0));
    EXPECT_FALSE(model.Paste(0, 0)) << "a screen goes into an empty slot only";
    EXPECT_EQ(std::tuple(Records().size(), LiveSprites()), std::tuple(6u, 6u));
    ASSERT_TRUE(model.Undo());
    EXPECT_EQ(model.Screen(), nullptr);
}

// A group follows the mouse pixel by pixel: its own pieces do not pull the grabbed one back.
TEST_F(EditingModelTest, TouchingPiecesDraggedTogetherMoveByAFewPixels) {
    model.Place(Record(r_SpriteType::SolidCube, L"brick", 132, 100));
    model.Select(1);
    model.ToggleSelected(2);
    model.Press(110, 110);
    model.DragTo(113, 112);
    model.Release();
    EXPECT_EQ(std::pair(Records()[1].left, Records()[2].left), std::pair(103.0f, 135.0f));
    EXPECT_EQ(std::pair(Records()[1].top, Records()[2].top), std::pair(102.0f, 102.0f));
}

// Shift+click and a drawn box gather pieces; a drag, a change, a copy and a delete act on them all.
TEST_F(EditingModelTest, ASelectionOfSeveralPiecesMovesChangesCopiesAndGoesTogether) {
    const auto place = [&](std::size_t index) { return std::pair(Records().at(index).left, Records().at(index).top); };
    model.Place(Record(r_SpriteType::SolidCube, L"brick", 300, 300));
    model.Place(Record(r_SpriteType::SolidCube, L"brick", 400, 300));
    model.Select(1);
    EXPECT_EQ(model.SelectInBox(450, 340, 290, 290), 2) << "both bricks, neither the sky nor the crate";
    model.ToggleSelected(3);
    EXPECT_EQ(model.Selection(), (std::vector<int>{2, 1}));
    model.Press(310, 310);
    model.DragTo(330, 320);
    model.Release();
    EXPECT_EQ(std::pair(place(1), place(2)), std::pair(std::pair(120.0f, 110.0f), std::pair(320.0f, 310.0f)));
    model.ChangeSelected([](SpriteData& record) { record.type = r_SpriteType::Door; });
    EXPECT_EQ(std::tuple(Records()[1].type, Records()[2].type, Records()[3].type),
              std::tuple(r_SpriteType::Door, r_SpriteType::Door, r_SpriteType::SolidCube));
    ASSERT_TRUE(model.Copy() && model.Paste(600, 100));
    EXPECT_EQ(std::pair(place(4), place(5)), std::pair(std::pair(600.0f, 100.0f), std::pair(400.0f, -100.0f)));
    EXPECT_EQ(model.Selection(), (std::vector<int>{4, 5}));
    model.DeleteSelected();
    EXPECT_EQ(Records().size(), 4u);
    for (int step = 0; step < 4; ++step) {
        ASSERT_TRUE(model.Undo());
    }
    EXPECT_EQ(std::tuple(Records().size(), place(1), Records()[1].type), std::tuple(4u, std::pair(100.0f, 100.0f), r_SpriteType::SolidCube));
}

// A new screen starts with the sky and ground of its neighbour, or empty when asked.
TEST_F(EditingModelTest, ANewScreenTakesTheSkyAndGroundOfItsNeighbour) {
    SpriteData floor = Record(r_SpriteType::SolidCube, L"floor", 0, 568);
    floor.isStatic = true;
    Records().push_back(floor);
    model.GoToSlot(0, 1);
    ASSERT_TRUE(model.MakeScreen());
    ASSERT_EQ(Records().size(), 2u);
    EXPECT_EQ(std::pair(Records()[0].texture, Records()[1].texture), std::pair(std::wstring(L"sky"), std::wstring(L"floor")));
    model.GoToSlot(5, 5);
    ASSERT_TRUE(model.MakeScreen());
    EXPECT_TRUE(Records().empty()) << "no neighbour";
    model.GoToSlot(1, 0);
    ASSERT_TRUE(model.MakeScreen(true));
    EXPECT_TRUE(Records().empty());
}

TEST_F(EditingModelTest, MakesAndDeletesScreensAndWorldsUndoably) {
    model.GoToSlot(1, 0);
    EXPECT_EQ(model.Screen(), nullptr);
    EXPECT_EQ(model.World()->GetCurrentScreen(), nullptr);
    ASSERT_TRUE(model.MakeScreen());
    EXPECT_FALSE(model.MakeScreen());
    EXPECT_EQ(model.World()->GetCurrentScreen(), model.Screen());
    EXPECT_EQ(model.World()->GetScreens().size(), 2u);

    model.GoToSlot(0, 0);
    model.Screen()->SetGoal(true);
    model.Screen()->SetCheckpoint(true);
    model.World()->SetMusic(L"sounds/reef.xm");
    ASSERT_TRUE(model.DeleteScreen());
    EXPECT_EQ(model.World()->GetScreens().size(), 1u);
    model.Undo();
    ASSERT_NE(model.Screen(), nullptr);
    EXPECT_EQ(std::tuple(model.Screen()->IsGoal(), model.Screen()->IsCheckpoint(), model.World()->GetMusic()),
              std::tuple(true, true, std::wstring(L"sounds/reef.xm")));
    EXPECT_EQ(Records().size(), 2u);
    EXPECT_EQ(LiveSprites(), 2u);

    model.MakeWorld();
    EXPECT_EQ(universe.GetWorlds().size(), 2u);
    EXPECT_EQ(universe.GetCurrentWorld(), universe.GetWorlds()[1].get());
    model.ChooseWorld(1);
    EXPECT_EQ(universe.GetCurrentWorld(), universe.GetWorlds()[0].get());
    model.Undo();
    model.Undo();
    EXPECT_EQ(universe.GetWorlds().size(), 1u);
    EXPECT_EQ(LiveSprites(), 2u);
}

// Ctrl+arrows: one slot at a time, and no step past the ends of the range of slots.
TEST_F(EditingModelTest, StepsToNeighbourSlotsAndStaysAtTheEndsOfTheRange) {
    const auto slot = [&] { return std::pair(model.SlotX(), model.SlotY()); };
    model.GoToSlot(INT_MAX, INT_MIN);
    model.GoToNeighbour(1, 0);
    model.GoToNeighbour(0, -1);
    EXPECT_EQ(slot(), std::pair(INT_MAX, INT_MIN));
    model.GoToNeighbour(-1, 0);
    model.GoToNeighbour(0, 1);
    EXPECT_EQ(slot(), std::pair(INT_MAX - 1, INT_MIN + 1));
}

}  // namespace

// What the editor keeps comes back; a damaged file gives the default for each broken setting.
TEST(EditorPreferences, AreKeptAndADamagedFileGivesTheDefaults) {
    TempDirectory folder;
    const EditorPreferences kept{16, true, L"brick", "/levels/a.xml"};
    WriteEditorPreferences(folder.Path("config/editor.ini"), kept);
    EXPECT_EQ(ReadEditorPreferences(folder.Path("config/editor.ini")), kept);
    folder.Write("damaged.ini", "grid = 12\ntool = hammer\n\x01\x02 no equals\nlast_level = a.xml\npalette_filter = sky\n");
    EXPECT_EQ(ReadEditorPreferences(folder.Path("damaged.ini")), (EditorPreferences{0, false, L"sky", {}}));
    EXPECT_EQ(ReadEditorPreferences(folder.Path("missing.ini")), EditorPreferences{});
    ASSERT_EQ(mkfifo(folder.Path("pipe.ini").c_str(), 0600), 0);  // opening it would wait for a writer
    EXPECT_EQ(ReadEditorPreferences(folder.Path("pipe.ini")), EditorPreferences{});
}

TEST(TypedPlace, ThreeWholeNumbersPlaceThePieceAndAnythingElseChangesNothing) {
    SpriteData record = Record(r_SpriteType::SolidCube, L"floor", 0, 0);
    EXPECT_TRUE(ApplyTypedPlace(L" 0  568 -2 ", record));
    EXPECT_EQ(TypedPlaceOf(record), L"0 568 -2");
    for (const wchar_t* wrong : {L"1 2", L"1 2 3 4", L"1 x 3", L"1.5 2 3", L"99999999999 1 1", L""}) {
        EXPECT_FALSE(ApplyTypedPlace(wrong, record)) << ToUtf8(wrong);
    }
    EXPECT_EQ(TypedPlaceOf(record), L"0 568 -2");
}

TEST(TileDefaults, APictureStartsAsWhatItsNameSays) {
    const struct {
        const wchar_t* tile;
        r_SpriteType::Value type;
        int depth;
        bool isStatic;
    } cases[] = {{L"tiles/sky_800x600.png", r_SpriteType::Background, 0, true},
                 {L"tiles\\spikes_down_32x16.png", r_SpriteType::Dangerous, 10, true},
                 {L"tiles/boulder_32x32.png", r_SpriteType::SolidSphere, 10, false},
                 {L"tiles/mystery.png", r_SpriteType::SolidCube, 10, true}};
    for (const auto& c : cases) {
        SpriteData record;
        ApplyTileDefaults(c.tile, record);
        EXPECT_EQ(std::tuple(record.type, record.depth, record.isStatic), std::tuple(c.type, c.depth, c.isStatic))
            << ToUtf8(c.tile);
    }
}

TEST(Autosave, AHandWrittenLevelsCommentsAreCopiedOnceBeforeTheFirstSave) {
    TempDirectory folder;
    folder.Write("plain.xml", "<universe/>");
    folder.Write("level.xml", "<universe><!-- the well --></universe>");
    folder.Write("level.txt", "<universe><!-- the cave --></universe>");
    EXPECT_EQ(KeepCommentedOriginal(folder.Path("plain.xml")), std::nullopt);
    EXPECT_EQ(KeepCommentedOriginal(folder.Path("level.xml")), folder.Path("level.xml.with-comments.xml"));
    EXPECT_EQ(KeepCommentedOriginal(folder.Path("level.txt")), folder.Path("level.txt.with-comments.xml"));
    folder.Write("level.xml", "<universe><!-- changed --></universe>");
    EXPECT_EQ(KeepCommentedOriginal(folder.Path("level.xml")), std::nullopt) << "the first copy is kept";
    EXPECT_EQ(folder.Read("level.xml.with-comments.xml"), "<universe><!-- the well --></universe>");
    EXPECT_EQ(folder.Read("level.txt.with-comments.xml"), "<universe><!-- the cave --></universe>");
    EXPECT_NE(AutosavePath(folder.Path("level.xml")), AutosavePath(folder.Path("level.txt")));
}

namespace {

int FailingRename(const char*, const char*) {
    errno = ENOSPC;
    return -1;
}

}  // namespace

// A copy that cannot be written fails loudly and leaves nothing, so the save that needed it
// stops and the next one tries again; an empty copy left by an older failure is made again.
TEST(Autosave, ACommentsCopyThatFailedIsMadeAgainByTheNextSave) {
    TempDirectory folder;
    const std::string level = "<universe><!-- the well --></universe>";
    folder.Write("level.xml", level);
    const DurabilityCalls system = AtomicFileDurabilityCalls();
    AtomicFileDurabilityCalls() = DurabilityCalls{system.fsync, FailingRename};
    EXPECT_TRUE(Contains(FailureOf([&] { KeepCommentedOriginal(folder.Path("level.xml")); }), {L"level.xml"}));
    AtomicFileDurabilityCalls() = system;
    EXPECT_FALSE(std::filesystem::exists(folder.Path("level.xml.with-comments.xml")));

    folder.Write("level.xml.with-comments.xml", "");
    EXPECT_EQ(KeepCommentedOriginal(folder.Path("level.xml")), folder.Path("level.xml.with-comments.xml"));
    EXPECT_EQ(folder.Read("level.xml.with-comments.xml"), level);
}
