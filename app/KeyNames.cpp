#include "app/KeyNames.h"

#include <algorithm>
#include <cctype>

#include "platform/VirtualKeys.h"

namespace {

struct NamedKey {
    const char* name;
    int code;
};

// The first name of a code is the one written back.
constexpr NamedKey kNamedKeys[] = {
    {"Left", VK_LEFT},         {"Right", VK_RIGHT},        {"Up", VK_UP},           {"Down", VK_DOWN},
    {"Return", VK_RETURN},     {"Enter", VK_RETURN},       {"Space", VK_SPACE},     {"Escape", VK_ESCAPE},
    {"Tab", VK_TAB},           {"Backspace", VK_BACK},     {"Insert", VK_INSERT},   {"Delete", VK_DELETE},
    {"Home", VK_HOME},         {"End", VK_END},            {"PageUp", VK_PRIOR},    {"PageDown", VK_NEXT},
    {"Shift", VK_SHIFT},       {"Control", VK_CONTROL},    {"Alt", VK_MENU},        {"Pause", VK_PAUSE},
    {"F1", VK_F1},             {"F2", VK_F2},              {"F3", VK_F3},           {"F4", VK_F4},
    {"F5", VK_F5},             {"F6", VK_F6},              {"F7", VK_F7},           {"F8", VK_F8},
    {"F9", VK_F9},             {"F10", VK_F10},            {"F11", VK_F11},         {"F12", VK_F12},
    {"PadA", VK_GAMEPAD_A},    {"PadB", VK_GAMEPAD_B},     {"PadX", VK_GAMEPAD_X},  {"PadY", VK_GAMEPAD_Y},
    {"PadLeft", VK_GAMEPAD_DPAD_LEFT},    {"PadRight", VK_GAMEPAD_DPAD_RIGHT},   {"PadUp", VK_GAMEPAD_DPAD_UP},
    {"PadDown", VK_GAMEPAD_DPAD_DOWN},    {"PadStart", VK_GAMEPAD_MENU},         {"PadLB", VK_GAMEPAD_LEFT_SHOULDER},
    {"PadRB", VK_GAMEPAD_RIGHT_SHOULDER}, {"PadLeftStick", VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON},
    {"PadRightStick", VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON},
};
constexpr int kFirstControllerKey = VK_GAMEPAD_A;
constexpr int kLastControllerKey = VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON;

bool SameIgnoringCase(const std::string& left, const std::string& right) {
    return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
    });
}

// Letters and digits are their own names, and their codes are the upper-case characters.
bool IsLetterOrDigitCode(int code) { return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'); }

}  // namespace

std::optional<int> KeyCodeOfName(const std::string& name) {
    if (name.size() == 1) {
        const int code = std::toupper(static_cast<unsigned char>(name.front()));
        if (IsLetterOrDigitCode(code)) {
            return code;
        }
    }
    for (const NamedKey& key : kNamedKeys) {
        if (SameIgnoringCase(name, key.name)) {
            return key.code;
        }
    }
    return std::nullopt;
}

std::string NameOfKeyCode(int code) {
    if (IsLetterOrDigitCode(code)) {
        return std::string(1, static_cast<char>(code));
    }
    for (const NamedKey& key : kNamedKeys) {
        if (key.code == code) {
            return key.name;
        }
    }
    return std::string();
}

bool IsControllerKey(int code) { return code >= kFirstControllerKey && code <= kLastControllerKey; }
