#include "app/CommandLine.h"

namespace {

constexpr const char* kUsage =
    "Usage: rollandia [OPTION]...\n"
    "Steer a ball through worlds of screens full of solid, breakable, dangerous and door pieces.\n"
    "\n"
    "  --window         play in a window this time\n"
    "  --fullscreen     play full screen this time\n"
    "  --replay FILE    play the recorded run FILE (Escape ends it)\n"
    "  --data DIR       play the data folder or pack DIR instead of the game's own\n"
    "  --help           show this help and exit\n"
    "  --version        show the version and exit\n";

bool TakesValue(const std::string& option) { return option == "--replay" || option == "--data"; }

}  // namespace

CommandLine ReadCommandLine(int argc, const char* const* argv, std::string& error) {
    CommandLine line;
    error.clear();
    for (int index = 1; index < argc && error.empty(); ++index) {
        std::string option = argv[index];
        std::string value;
        // "--data=DIR" is the same as "--data DIR".
        const std::size_t equals = option.find('=');
        const bool joined = option.rfind("--", 0) == 0 && equals != std::string::npos;
        if (joined) {
            value = option.substr(equals + 1);
            option.resize(equals);
        }
        if (TakesValue(option) && !joined) {
            if (index + 1 >= argc) {
                error = "rollandia: option " + option + " needs a value";
                break;
            }
            value = argv[++index];
        } else if (!TakesValue(option) && joined) {
            error = "rollandia: option " + option + " takes no value";
            break;
        }
        if (option == "--help" || option == "-h") {
            line.help = true;
        } else if (option == "--version") {
            line.version = true;
        } else if (option == "--window") {
            line.fullscreen = false;
        } else if (option == "--fullscreen") {
            line.fullscreen = true;
        } else if (option == "--replay") {
            line.replayFile = value;
        } else if (option == "--data") {
            line.dataFolder = value;
        } else if (option.rfind("-", 0) == 0) {
            error = "rollandia: unknown option " + option;
        } else {
            error = "rollandia: unexpected argument " + option;
        }
        if (TakesValue(option) && value.empty() && error.empty()) {
            error = "rollandia: option " + option + " needs a value";
        }
    }
    if (!error.empty()) {
        error += "\nTry 'rollandia --help' for more information.\n";
    }
    return line;
}

std::string CommandLineUsage() { return kUsage; }

std::string VersionText() { return std::string("rollandia ") + ROLLANDIA_VERSION + "\n"; }
