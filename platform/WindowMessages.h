// Window message codes and their parameters, with the numbers Windows gives them, so that
// tools built on the engine can compare the codes its hooks hand them. Also the helpers that
// pack and unpack the 16-bit words of a message parameter.
#pragma once

#include <cstdint>

#include "PlatformTypes.h"

constexpr unsigned int WM_NULL = 0x0000;
constexpr unsigned int WM_SIZE = 0x0005;
constexpr unsigned int WM_ACTIVATE = 0x0006;
constexpr unsigned int WM_CLOSE = 0x0010;
constexpr unsigned int WM_QUIT = 0x0012;
constexpr unsigned int WM_KEYDOWN = 0x0100;
constexpr unsigned int WM_KEYUP = 0x0101;
constexpr unsigned int WM_SYSKEYDOWN = 0x0104;
constexpr unsigned int WM_SYSKEYUP = 0x0105;
constexpr unsigned int WM_COMMAND = 0x0111;
constexpr unsigned int WM_SYSCOMMAND = 0x0112;
constexpr unsigned int WM_MOUSEMOVE = 0x0200;
constexpr unsigned int WM_LBUTTONDOWN = 0x0201;
constexpr unsigned int WM_LBUTTONUP = 0x0202;
constexpr unsigned int WM_RBUTTONDOWN = 0x0204;
constexpr unsigned int WM_RBUTTONUP = 0x0205;

// The wParam of WM_SYSCOMMAND.
constexpr WParam SC_MINIMIZE = 0xF020;
constexpr WParam SC_CLOSE = 0xF060;
constexpr WParam SC_RESTORE = 0xF120;
constexpr WParam SC_SCREENSAVE = 0xF140;
constexpr WParam SC_MONITORPOWER = 0xF170;

// The low word of WM_ACTIVATE's wParam; the high word is the minimised flag.
constexpr unsigned int WA_INACTIVE = 0;
constexpr unsigned int WA_ACTIVE = 1;

// The wParam of WM_SIZE for an ordinary (not minimised, not maximised) change.
constexpr WParam SIZE_RESTORED = 0;

constexpr unsigned int LowWord(std::uintptr_t value) {
    return static_cast<unsigned int>(value & 0xFFFF);
}

constexpr unsigned int HighWord(std::uintptr_t value) {
    return static_cast<unsigned int>((value >> 16) & 0xFFFF);
}

// The low word read as a signed 16-bit number, as mouse coordinates are.
constexpr int SignedLowWord(std::uintptr_t value) {
    return static_cast<std::int16_t>(LowWord(value));
}

constexpr int SignedHighWord(std::uintptr_t value) {
    return static_cast<std::int16_t>(HighWord(value));
}

// Two 16-bit words in one parameter; each value keeps only its low 16 bits.
constexpr std::uint32_t MakeLong(int low, int high) {
    return (static_cast<std::uint32_t>(low) & 0xFFFF) | ((static_cast<std::uint32_t>(high) & 0xFFFF) << 16);
}

constexpr LParam MakeLParam(int low, int high) {
    return static_cast<LParam>(MakeLong(low, high));
}

constexpr WParam MakeWParam(int low, int high) {
    return static_cast<WParam>(MakeLong(low, high));
}
