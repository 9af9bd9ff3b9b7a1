// What the level editor edits, without any display: the screen slot of the current world being
// edited, the selection, the grid and its snapping, the mouse's drag, the clipboard, and every
// change to the level as one undoable step. The current screen's records are the truth: a
// change edits them and rebuilds the live sprites by entering the screen again. Works on the
// universe it is given; owns only history and the clipboard.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "IUniverse.h"
#include "SpriteData.h"
#include "tools/editor/EditHistory.h"

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The size a record's picture is drawn at; 0 x 0 when it is not known.
using PictureSizes = std::function<PictureSize(const SpriteData& record)>;

class EditingModel {
public:
    static constexpr std::array<int, 5> kGridSteps{0, 4, 8, 16, 32};  // 0: no grid
    static constexpr int kNoPiece = -1;

    EditingModel(IUniverse& universe, PictureSizes sizes);

    // Starts over on a freshly loaded level: the current world's current screen, no selection,
    // no history, nothing unsaved.
    void Reset();

    IWorld* World() const;
    IScreen* Screen() const;  // null while the slot is empty
    int SlotX() const { return slotX; }
    int SlotY() const { return slotY; }

    // The topmost piece covering the point (highest depth, then latest), or kNoPiece.
    int PieceAt(int x, int y) const;
    // The selection: one selected piece, whose place and settings are shown and typed, and
    // any others chosen with it; moving, deleting, changing, copying and duplicating act on all.
    void Select(int index);  // only that piece (none for kNoPiece)
    // Adds the piece to the selection, making it the selected one, or takes it out (Shift+click).
    void ToggleSelected(int index);
    // Adds the pieces lying wholly inside the box; returns how many.
    int SelectInBox(int left, int top, int right, int bottom);
    int Selected() const { return selected; }
    std::vector<int> Selection() const;  // the selected piece first
    const SpriteData* SelectedRecord() const;
    // The piece automatic placement lines up against: the last one placed, else the selection.
    int AlignmentPiece() const;

    int Grid() const { return kGridSteps[gridIndex]; }
    void CycleGrid();
    // A step the editor does not offer leaves the grid as it is.
    void SetGrid(int step);
    // The grid line at or before the value (the whole pixel without a grid).
    int Snap(float value) const;

    // The record's place snapped to an edge of another piece of the screen, or of the screen,
    // within a few pixels on each axis, else to the grid (the pieces being moved are not their
    // own neighbours).
    SpriteData Snapped(SpriteData record, const std::vector<int>& ignored = {}) const;

    // Adds the record with its corner snapped (see Snapped) and selects it.
    void Place(SpriteData record);
    // Adds the record exactly where it is (its place was worked out already) and selects it.
    void PlaceExactly(const SpriteData& record);
    // The selected piece to the place (snapped to the grid), the rest of the selection with it.
    void MoveSelectedTo(float left, float top);
    void MoveSelectionBy(float dx, float dy);
    void DeleteSelected();
    void ChangeSelected(const std::function<void(SpriteData&)>& change);
    // Changes made between the two calls (a drag) form one undo step.
    void BeginGesture();
    void EndGesture();

    // The left button with the select tool: a press selects the piece under the mouse (or
    // none) and grabs it, a move drags it with the grid, a release lets go. A drag is one undo
    // step; a click without a move changes nothing, so what could be redone stays.
    void Press(int x, int y);
    void DragTo(int x, int y);
    void Release();
    bool IsDragging() const { return dragging; }

    // The clipboard: the selection, or with none the whole screen. Pasting pieces puts the
    // first with its corner at the point (snapped) and the others around it as they were;
    // pasting a screen fills an empty slot. Duplicate puts a copy of the selection one grid
    // step (or 16 pixels) down and right. The new pieces become the selection.
    bool Copy();
    bool Cut();
    bool Paste(int x, int y);
    bool Duplicate();

    bool Undo();
    bool Redo();
    bool HasUnsavedChanges() const { return revision != savedRevision; }
    void MarkSaved() { savedRevision = revision; }
    // For a level that differs from its file from the start (an autosave opened instead).
    void MarkUnsaved() { savedRevision = -1; }
    long Revision() const { return revision; }

    // Shows the slot of the current world: its screen, or nothing when there is none.
    void GoToSlot(int x, int y);
    // Goes columns and rows away; at the end of the range of slots it stays where it is.
    void GoToNeighbour(int columns, int rows);
    // At the empty slot, with the sky and ground (the background pieces, and the static pieces
    // along the bottom edge) of the screen to its left, else right, above or below, unless
    // empty is asked for; false when a screen is there.
    bool MakeScreen(bool empty = false);
    bool DeleteScreen();  // the slot's screen; false on an empty slot
    void MakeWorld();     // with one empty screen; it becomes the current world
    void ChooseWorld(int step);
    // Enters the slot's screen again, so that the live sprites match the records.
    void Rebuild();

private:
    void Edit(const std::function<void()>& change);
    EditorState State() const;
    void Apply(const EditorState& state);
    std::vector<SpriteData>* Records() const;
    void Forget();
    bool IsPiece(int index) const;
    void AddPieces(const std::vector<SpriteData>& pieces);
    std::vector<SpriteData> NeighboursGround() const;
    bool MakeScreenWith(const std::vector<SpriteData>& records);
    float SnappedOnAxis(float start, float length, bool across, const std::vector<int>& ignored) const;

    IUniverse& universe;
    PictureSizes sizes;
    EditHistory history;
    int slotX = 0;
    int slotY = 0;
    int selected = kNoPiece;
    int lastPlaced = kNoPiece;
    std::size_t gridIndex = 0;
    long revision = 0;
    long savedRevision = 0;
    long lastRevision = 0;
    bool inGesture = false;
    EditorState gestureStart;
    std::vector<int> others;  // the rest of the selection
    std::vector<SpriteData> copiedPieces;
    std::optional<std::vector<SpriteData>> copiedScreen;
    bool dragging = false;
    int grabX = 0;  // the mouse from the dragged piece's corner
    int grabY = 0;
};
