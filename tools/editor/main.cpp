// rollandia_editor: the level editor. Opens the universe file given on the command line, or
// the game's own level, in an 800 x 600 window; see README.md.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "Failure.h"
#include "IEngine.h"
#include "WideText.h"
#include "base/ProgramDirectory.h"
#include "tools/editor/EditorPreferences.h"
#include "tools/editor/LevelEditor.h"
#include "tools/editor/LevelLocation.h"
#include "world/ScreenGeometry.h"

namespace {

Settings EditorSettings() {
    return Settings{
        {L"Title", L"Morvane - Rollandia - Level Editor"},
        {L"Width", std::to_wstring(kScreenWidth)},
        {L"Height", std::to_wstring(kScreenHeight)},
        {L"Fullscreen", L"0"},
        {L"Zip", L"0"},
    };
}

// Loading and saving change the current directory, so the path is made absolute first.
// Without a path, the level edited last while it still exists, else the game's own.
std::filesystem::path LevelPath(int argc, char** argv, const EditorPreferences& kept) {
    if (argc > 1) {
        return std::filesystem::absolute(argv[1]);
    }
    const std::filesystem::path& last = kept.lastLevel;
    std::error_code error;
    if (!last.empty() && std::filesystem::is_regular_file(last, error)) {
        return last;
    }
    return DefaultLevelPath(ProgramDirectory());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: rollandia_editor [path/to/universe.xml]\n";
        return 2;
    }
    int status = 0;
    try {
        Settings settings = EditorSettings();
        g_Engine = CreateEngine(settings);
        g_Engine->Init();
        {
            const EditorPreferences kept = ReadEditorPreferences(EditorPreferencesPath());
            LevelEditor editor(g_Engine, LevelPath(argc, argv, kept), kept);
            editor.Open();
            editor.Run();
        }
    } catch (const k_Failure& failure) {
        std::cerr << ToUtf8(failure.Message()) << '\n';
        status = 1;
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << '\n';
        status = 1;
    }
    delete g_Engine;
    g_Engine = nullptr;
    return status;
}
