// The level editor's window side: opens a level file into the engine's universe, shows the
// screen being edited frozen as the game draws it, turns the mouse, keys and popup menu into
// changes of the editing model, and saves. Runs its own frame loop; one editor at a time.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "MenuItem.h"
#include "SpriteData.h"
#include "tools/editor/EditingModel.h"
#include "tools/editor/EditorPreferences.h"
#include "tools/editor/WorldMap.h"
#include "tools/level_checker/LevelFinding.h"

class IEngine;
class ISprite;
class k_Ball;

class LevelEditor {
public:
    // levelPath must be absolute: loading and saving change the current directory. The grid,
    // the tool and the palette filter start as kept.
    LevelEditor(IEngine* engine, std::filesystem::path levelPath, const EditorPreferences& kept);
    ~LevelEditor();
    LevelEditor(const LevelEditor&) = delete;
    LevelEditor& operator=(const LevelEditor&) = delete;

    // Loads the level (a failure is shown, and the file is then never written over).
    void Open();
    // Frames until the user quits.
    void Run();

private:
    enum class Tool { Select, Place };

    static void MouseHook(int x, int y, unsigned int message);
    static void KeyHook(int key, bool down);
    static void MenuHook(MenuItem* item);
    static void FrameHook(void* unused);

    // ---- input
    void HandleMouse(int x, int y, unsigned int message);
    void HandleKey(int key);
    bool HandleControlKey(int key);
    void HandleEditingKey(int key);
    void HandlePromptKey(int key);
    void HandleMapKey(int key);
    void HandlePaletteKey(int key);
    void HandleTypingKey(int key);
    void StartTyping();
    void PasteAtMouse();
    void MakeScreen(bool empty);
    void OpenWorldMap();
    void ClickWorldMap(int x, int y);
    void HandleMenuChoice(const MenuItem& item);
    void PressLeftButton(int x, int y);
    void FinishBox(int x, int y);
    void OpenPieceMenu(int x, int y);
    void ChoosePaletteTile(int x, int y);
    void Nudge(int dx, int dy);
    void PlaceAutomatically();
    void RequestQuit();

    // ---- files
    void Save();
    bool OfferedCopyTaken();
    void AutosaveWhenDue();
    void OpenAutosave();
    std::filesystem::path SparePath() const;
    void CheckLevel();
    void KeepPreferences();
    void ShowFinding(std::size_t index);

    // ---- test play
    void TogglePlay();
    void ReleaseRetiredBall();
    void PutBallAtStart();
    void MoveBallStartToNearestEdge();

    // ---- drawing
    void Frame(float dt);
    void DrawClosedDoors();
    void DrawSelection();
    void DrawGrid();
    void DrawPreview();
    void DrawPalette();
    void DrawWorldMap();
    void DrawStatus();
    void DrawMessage();
    void DrawPrompt();
    void DrawTextBox(const std::vector<std::wstring>& lines);

    PictureSize SizeOf(const SpriteData& record);
    std::vector<std::size_t> ShownTiles() const;
    int PaletteIndexAt(int x, int y, const std::vector<std::size_t>& shown) const;
    SpriteData ShownRecord() const;
    std::wstring StatusLine() const;
    std::wstring DetailLine() const;
    void Say(const std::wstring& text);
    template <typename Action>
    void Guarded(Action action);

    IEngine* engine;
    std::filesystem::path levelPath;
    EditingModel model;
    SpriteData brush;  // what the Place tool puts down
    Tool tool = Tool::Select;
    std::vector<std::wstring> tiles;
    bool paletteOpen = false;
    std::wstring paletteFilter;  // typed while the palette is open; only names holding it show
    bool bandShown = true;       // the status and message lines
    bool helpShown = false;      // the keys, over the scene
    bool typing = false;         // the selected piece's numbers are being typed
    std::wstring typed;
    int mouseX = 0;
    int mouseY = 0;
    bool boxing = false;  // a Shift drag draws a box from (boxX, boxY) to the mouse
    int boxX = 0;
    int boxY = 0;
    WorldMap worldMap;
    bool highlightLayer = false;
    bool loadFailed = false;
    bool autosaveOffered = false;
    bool copyOffered = false;  // the level may not be written; the next save makes a user copy
    bool asking = false;
    bool quitting = false;
    std::wstring message;
    std::vector<LevelFinding> findings;
    std::size_t nextFinding = 0;
    std::unique_ptr<k_Ball> ball;
    std::unique_ptr<ISprite> retiredBallSprite;
    bool ballStartPending = false;  // the next frame puts the ball's centre at the start
    int ballStartX = 0;
    int ballStartY = 0;
    float ballStartVelocityX = 0.0f;  // pixels per time unit: how it arrives through an edge
    float ballStartVelocityY = 0.0f;
    long autosavedRevision = -1;
    std::chrono::steady_clock::time_point lastAutosave = std::chrono::steady_clock::now();
};
