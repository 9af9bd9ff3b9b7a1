// Virtual-key codes with the numbers Windows gives them: the index of the window's key table
// and what key hooks receive. Letters and digits have no names: their code is the upper-case
// ASCII character ('A', '7').
#pragma once

constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_CLEAR = 0x0C;  // keypad 5 with Num Lock off
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;  // either Alt key
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;  // Page Up
constexpr int VK_NEXT = 0x22;   // Page Down
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_SNAPSHOT = 0x2C;  // Print Screen
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_LWIN = 0x5B;
constexpr int VK_RWIN = 0x5C;
constexpr int VK_APPS = 0x5D;
constexpr int VK_NUMPAD0 = 0x60;  // VK_NUMPAD0 + n is keypad digit n
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70;
constexpr int VK_F2 = 0x71;
constexpr int VK_F3 = 0x72;
constexpr int VK_F4 = 0x73;
constexpr int VK_F5 = 0x74;
constexpr int VK_F6 = 0x75;
constexpr int VK_F7 = 0x76;
constexpr int VK_F8 = 0x77;
constexpr int VK_F9 = 0x78;
constexpr int VK_F10 = 0x79;
constexpr int VK_F11 = 0x7A;
constexpr int VK_F12 = 0x7B;
constexpr int VK_NUMLOCK = 0x90;
constexpr int VK_SCROLL = 0x91;
constexpr int VK_OEM_1 = 0xBA;       // ;:
constexpr int VK_OEM_PLUS = 0xBB;    // =+
constexpr int VK_OEM_COMMA = 0xBC;   // ,<
constexpr int VK_OEM_MINUS = 0xBD;   // -_
constexpr int VK_OEM_PERIOD = 0xBE;  // .>
constexpr int VK_OEM_2 = 0xBF;       // /?
constexpr int VK_OEM_3 = 0xC0;       // `~
// A game controller's buttons, each a key of its own so that the game can bind them.
constexpr int VK_GAMEPAD_A = 0xC3;
constexpr int VK_GAMEPAD_B = 0xC4;
constexpr int VK_GAMEPAD_X = 0xC5;
constexpr int VK_GAMEPAD_Y = 0xC6;
constexpr int VK_GAMEPAD_RIGHT_SHOULDER = 0xC7;
constexpr int VK_GAMEPAD_LEFT_SHOULDER = 0xC8;
constexpr int VK_GAMEPAD_DPAD_UP = 0xCB;  // the left stick leaning up too
constexpr int VK_GAMEPAD_DPAD_DOWN = 0xCC;
constexpr int VK_GAMEPAD_DPAD_LEFT = 0xCD;
constexpr int VK_GAMEPAD_DPAD_RIGHT = 0xCE;
constexpr int VK_GAMEPAD_MENU = 0xCF;  // Start
constexpr int VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON = 0xD1;
constexpr int VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON = 0xD2;
constexpr int VK_OEM_4 = 0xDB;       // [{
constexpr int VK_OEM_5 = 0xDC;       // \|
constexpr int VK_OEM_6 = 0xDD;       // ]}
constexpr int VK_OEM_7 = 0xDE;       // '"

// The key table holds one entry per code in 0..kVirtualKeyCount-1.
constexpr int kVirtualKeyCount = 65536;
