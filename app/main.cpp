// The program entry: runs the game and is the last catcher of every failure, which it shows
// in a message box (and on standard error) before ending. Every run is logged in the user's
// state folder, and a failure's message says where.
#include <cstdio>
#include <exception>
#include <iostream>

#include "Failure.h"
#include "IEngine.h"
#include "WideText.h"
#include "app/CommandLine.h"
#include "app/Game.h"
#include "app/GameSettings.h"
#include "base/RunLog.h"
#include "platform/MessageBox.h"

namespace {

const wchar_t* const kFailureCaption = L"Quillo 2D Game";
constexpr int kUsageError = 2;

// Shows the failure, then releases the engine so that the window closes and a changed
// display mode is restored before the program ends.
int ReportFailure(const std::wstring& message, const RunLog& log) {
    std::wstring logNote = log.Path().empty() ? std::wstring() : L"\n\nThe log of this run is " + FromUtf8(log.Path().string());
    ShowMessageBox(message + logNote, kFailureCaption);
    ReleaseGame();
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const CommandLine line = ReadCommandLine(argc, argv, error);
    if (!error.empty()) {
        std::fputs(error.c_str(), stderr);
        return kUsageError;
    }
    if (line.help || line.version) {
        std::fputs((line.help ? CommandLineUsage() : VersionText()).c_str(), stdout);
        return 0;
    }
    RunLog log(RunLog::DefaultPath());
    try {
        const GameSettings player = ReadGameSettings(GameSettingsPath(), std::cerr);
        Settings settings = BuildSettings();
        // The command line chooses for this run; otherwise the player's kept choice does.
        settings[L"Fullscreen"] = line.fullscreen.value_or(player.fullscreen) ? L"1" : L"0";
        if (!line.dataFolder.empty()) {
            settings[L"Data"] = FromUtf8(line.dataFolder);
        }
        RunGame(settings, line, player);
        ReleaseGame();
        return 0;
    } catch (const k_Failure& failure) {
        return ReportFailure(failure.Message(), log);
    } catch (const std::exception& failure) {
        return ReportFailure(FromUtf8(failure.what()), log);
    } catch (...) {
        return ReportFailure(L"An unexpected failure ended the game.", log);
    }
}
