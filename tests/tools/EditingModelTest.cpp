#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "support/SpriteRecords.h"
#include "support/TempDirectory.h"
#include "support/WorldFakes.h"
#include "WideText.h"
#include "tools/editor/EditingModel.h"
#include "tools/editor/Autosave.h"
#include "tools/editor/TileDefaults.h"
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
        int snapped[4];  // no grid, 8, 16, 32
    } cases[] = {{37.9f, {37, 32, 32, 32}}, {-3.0f, {-3, -8, -16, -32}}, {64.0f, {64, 64, 64, 64}}};
    for (int grid = 0; grid < 4; ++grid) {
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
    model.CycleGrid();
    model.CycleGrid();  // 16
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
    EXPECT_EQ(KeepCommentedOriginal(folder.Path("plain.xml")), std::nullopt);
    EXPECT_EQ(KeepCommentedOriginal(folder.Path("level.xml")), folder.Path("level.with-comments.xml"));
    folder.Write("level.xml", "<universe><!-- changed --></universe>");
    EXPECT_EQ(KeepCommentedOriginal(folder.Path("level.xml")), std::nullopt) << "the first copy is kept";
    EXPECT_EQ(folder.Read("level.with-comments.xml"), "<universe><!-- the well --></universe>");
}
