#include "tools/editor/EditorPreferences.h"

#include <vector>

#include "Failure.h"
#include "WideText.h"
#include "base/AtomicFile.h"
#include "base/KeyValueLines.h"
#include "base/SmallFile.h"
#include "base/UserFolders.h"
#include "tools/editor/EditingModel.h"

namespace {

const char* const kFileName = "editor.ini";
// A few lines; anything far larger is not the editor's file.
constexpr std::uintmax_t kMaxFileBytes = 64 * 1024;
const char* const kGridKey = "grid";
const char* const kToolKey = "tool";
const char* const kFilterKey = "palette_filter";
const char* const kLastLevelKey = "last_level";
const char* const kPlaceTool = "place";
const char* const kSelectTool = "select";

// The grid named by the text when it is one the editor offers; the default otherwise.
int GridOf(const std::string& text, int fallback) {
    for (int step : EditingModel::kGridSteps) {
        if (text == std::to_string(step)) {
            return step;
        }
    }
    return fallback;
}

}  // namespace

std::filesystem::path EditorPreferencesPath() { return UserConfigFolder() / kFileName; }

EditorPreferences ReadEditorPreferences(const std::filesystem::path& file) {
    EditorPreferences preferences;
    std::string text;
    if (ReadSmallFile(file, kMaxFileBytes, text) != SmallFileProblem::None) {
        return preferences;
    }
    std::vector<int> malformed;
    for (const KeyValueLine& line : ReadKeyValueLines(text, malformed)) {
        if (line.key == kGridKey) {
            preferences.grid = GridOf(line.value, preferences.grid);
        } else if (line.key == kToolKey && (line.value == kPlaceTool || line.value == kSelectTool)) {
            preferences.placing = line.value == kPlaceTool;
        } else if (line.key == kFilterKey) {
            preferences.paletteFilter = FromUtf8(line.value);
        } else if (line.key == kLastLevelKey && std::filesystem::path(line.value).is_absolute()) {
            preferences.lastLevel = line.value;
        }
    }
    return preferences;
}

void WriteEditorPreferences(const std::filesystem::path& file, const EditorPreferences& preferences) {
    if (!MakeUserFolder(file.parent_path())) {
        throw k_Failure(L"The editor's settings are not kept: the folder " + file.parent_path().wstring() +
                        L" cannot be made");
    }
    std::string text = "# The level editor's settings, written when it quits\n";
    text += std::string(kGridKey) + " = " + std::to_string(preferences.grid) + "\n";
    text += std::string(kToolKey) + " = " + (preferences.placing ? kPlaceTool : kSelectTool) + "\n";
    text += std::string(kFilterKey) + " = " + ToUtf8(preferences.paletteFilter) + "\n";
    text += std::string(kLastLevelKey) + " = " + preferences.lastLevel.string() + "\n";
    WriteFileAtomically(file, text, L"The editor's settings are not kept: ", file.wstring());
}
