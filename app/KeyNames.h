// Key names as a player writes them in the settings file ("Left", "A", "7", "Space",
// "Return", "F5", and a controller's "PadA", "PadLeft", "PadStart"), to and from the key codes
// the window reports.
#pragma once

#include <optional>
#include <string>

// The key code of a name, in any letter case ("Enter" is another name of Return); nothing
// for a name no key has.
std::optional<int> KeyCodeOfName(const std::string& name);
// The name that KeyCodeOfName reads back to the same code; empty for a code without one.
std::string NameOfKeyCode(int code);
// Whether the code is one of a game controller's buttons rather than a keyboard key.
bool IsControllerKey(int code);
