#include "platform/EventTranslator.h"

#include <unordered_map>

#include "platform/VirtualKeys.h"
#include "platform/WindowMessages.h"

namespace {

// The minimised flag in the high word of WM_ACTIVATE's wParam.
constexpr int kMinimised = 1;

WindowHandle WindowFromId(Uint32 windowId) {
    return windowId == 0 ? nullptr : SDL_GetWindowFromID(windowId);
}

Message MessageFor(Uint32 windowId, unsigned int code, WParam wParam, LParam lParam) {
    return Message{WindowFromId(windowId), code, wParam, lParam};
}

bool TranslateWindowEvent(const SDL_WindowEvent& event, Message& message) {
    switch (event.event) {
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        message = MessageFor(event.windowID, WM_SIZE, SIZE_RESTORED, MakeLParam(event.data1, event.data2));
        return true;
    case SDL_WINDOWEVENT_MINIMIZED:
        message = MessageFor(event.windowID, WM_ACTIVATE, MakeWParam(WA_INACTIVE, kMinimised), 0);
        return true;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:  // also what a minimised, maximised window reports when restored
        message = MessageFor(event.windowID, WM_ACTIVATE, MakeWParam(WA_ACTIVE, 0), 0);
        return true;
    case SDL_WINDOWEVENT_CLOSE:
        message = MessageFor(event.windowID, WM_CLOSE, 0, 0);
        return true;
    default:
        return false;
    }
}

bool IsAltKey(SDL_Keycode key) {
    return key == SDLK_LALT || key == SDLK_RALT;
}

// With Num Lock off the keypad's digits and its point are the cursor block's keys, as they are
// printed on them; with Num Lock on they stay keypad digits.
int KeypadNavigationKey(SDL_Keycode key) {
    static const std::unordered_map<SDL_Keycode, int> table = {
        {SDLK_KP_0, VK_INSERT}, {SDLK_KP_1, VK_END},   {SDLK_KP_2, VK_DOWN},  {SDLK_KP_3, VK_NEXT},
        {SDLK_KP_4, VK_LEFT},   {SDLK_KP_5, VK_CLEAR}, {SDLK_KP_6, VK_RIGHT}, {SDLK_KP_7, VK_HOME},
        {SDLK_KP_8, VK_UP},     {SDLK_KP_9, VK_PRIOR}, {SDLK_KP_PERIOD, VK_DELETE},
    };
    auto found = table.find(key);
    return found == table.end() ? 0 : found->second;
}

int VirtualKeyFromKeysym(const SDL_Keysym& keysym) {
    int navigationKey = (keysym.mod & KMOD_NUM) == 0 ? KeypadNavigationKey(keysym.sym) : 0;
    return navigationKey != 0 ? navigationKey : VirtualKeyFromKeycode(keysym.sym);
}

// Keys pressed with Alt held, and Alt itself, come as the system forms of the key messages.
bool TranslateKeyEvent(const SDL_KeyboardEvent& event, Message& message) {
    int virtualKey = VirtualKeyFromKeysym(event.keysym);
    if (virtualKey == 0) {
        return false;
    }
    bool system = (event.keysym.mod & KMOD_ALT) != 0 || IsAltKey(event.keysym.sym);
    bool down = event.type == SDL_KEYDOWN;
    unsigned int code = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    message = MessageFor(event.windowID, code, static_cast<WParam>(virtualKey), 0);
    return true;
}

// Mouse messages carry client coordinates; the button and modifier flags Windows puts into
// wParam are left 0, since the window passes only the position and the message on.
bool TranslateButtonEvent(const SDL_MouseButtonEvent& event, Message& message) {
    bool down = event.type == SDL_MOUSEBUTTONDOWN;
    unsigned int code;
    if (event.button == SDL_BUTTON_LEFT) {
        code = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    } else if (event.button == SDL_BUTTON_RIGHT) {
        code = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    } else {
        return false;
    }
    message = MessageFor(event.windowID, code, 0, MakeLParam(event.x, event.y));
    return true;
}

bool TranslatePostedMessage(const SDL_UserEvent& event, Message& message) {
    message = MessageFor(event.windowID, static_cast<unsigned int>(event.code),
                         reinterpret_cast<WParam>(event.data1), reinterpret_cast<LParam>(event.data2));
    return true;
}

// Keys whose SDL code is not their virtual-key code. Letters, digits and space are looked up
// by their character instead.
const std::unordered_map<SDL_Keycode, int>& KeyTable() {
    static const std::unordered_map<SDL_Keycode, int> table = {
        {SDLK_BACKSPACE, VK_BACK},     {SDLK_TAB, VK_TAB},
        {SDLK_RETURN, VK_RETURN},      {SDLK_KP_ENTER, VK_RETURN},
        {SDLK_LSHIFT, VK_SHIFT},       {SDLK_RSHIFT, VK_SHIFT},
        {SDLK_LCTRL, VK_CONTROL},      {SDLK_RCTRL, VK_CONTROL},
        {SDLK_LALT, VK_MENU},          {SDLK_RALT, VK_MENU},
        {SDLK_PAUSE, VK_PAUSE},        {SDLK_CAPSLOCK, VK_CAPITAL},
        {SDLK_ESCAPE, VK_ESCAPE},      {SDLK_PAGEUP, VK_PRIOR},
        {SDLK_PAGEDOWN, VK_NEXT},      {SDLK_END, VK_END},
        {SDLK_HOME, VK_HOME},          {SDLK_LEFT, VK_LEFT},
        {SDLK_UP, VK_UP},              {SDLK_RIGHT, VK_RIGHT},
        {SDLK_DOWN, VK_DOWN},          {SDLK_PRINTSCREEN, VK_SNAPSHOT},
        {SDLK_INSERT, VK_INSERT},      {SDLK_DELETE, VK_DELETE},
        {SDLK_LGUI, VK_LWIN},          {SDLK_RGUI, VK_RWIN},
        {SDLK_APPLICATION, VK_APPS},   {SDLK_KP_0, VK_NUMPAD0},
        {SDLK_KP_1, VK_NUMPAD0 + 1},   {SDLK_KP_2, VK_NUMPAD0 + 2},
        {SDLK_KP_3, VK_NUMPAD0 + 3},   {SDLK_KP_4, VK_NUMPAD0 + 4},
        {SDLK_KP_5, VK_NUMPAD0 + 5},   {SDLK_KP_6, VK_NUMPAD0 + 6},
        {SDLK_KP_7, VK_NUMPAD0 + 7},   {SDLK_KP_8, VK_NUMPAD0 + 8},
        {SDLK_KP_9, VK_NUMPAD0 + 9},   {SDLK_KP_MULTIPLY, VK_MULTIPLY},
        {SDLK_KP_PLUS, VK_ADD},        {SDLK_KP_MINUS, VK_SUBTRACT},
        {SDLK_KP_PERIOD, VK_DECIMAL},  {SDLK_KP_DIVIDE, VK_DIVIDE},
        {SDLK_F1, VK_F1},              {SDLK_F2, VK_F2},
        {SDLK_F3, VK_F3},              {SDLK_F4, VK_F4},
        {SDLK_F5, VK_F5},              {SDLK_F6, VK_F6},
        {SDLK_F7, VK_F7},              {SDLK_F8, VK_F8},
        {SDLK_F9, VK_F9},              {SDLK_F10, VK_F10},
        {SDLK_F11, VK_F11},            {SDLK_F12, VK_F12},
        {SDLK_NUMLOCKCLEAR, VK_NUMLOCK}, {SDLK_SCROLLLOCK, VK_SCROLL},
        {SDLK_SEMICOLON, VK_OEM_1},    {SDLK_EQUALS, VK_OEM_PLUS},
        {SDLK_COMMA, VK_OEM_COMMA},    {SDLK_MINUS, VK_OEM_MINUS},
        {SDLK_PERIOD, VK_OEM_PERIOD},  {SDLK_SLASH, VK_OEM_2},
        {SDLK_BACKQUOTE, VK_OEM_3},    {SDLK_LEFTBRACKET, VK_OEM_4},
        {SDLK_BACKSLASH, VK_OEM_5},    {SDLK_RIGHTBRACKET, VK_OEM_6},
        {SDLK_QUOTE, VK_OEM_7},
    };
    return table;
}

}  // namespace

int VirtualKeyFromKeycode(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if ((key >= SDLK_0 && key <= SDLK_9) || key == SDLK_SPACE) {
        return key;
    }
    auto found = KeyTable().find(key);
    return found == KeyTable().end() ? 0 : found->second;
}

Uint32 PostedMessageEventType() {
    static const Uint32 type = SDL_RegisterEvents(1);
    return type == static_cast<Uint32>(-1) ? 0 : type;
}

bool TranslateEvent(const SDL_Event& event, Message& message) {
    switch (event.type) {
    case SDL_QUIT:
        message = Message{nullptr, WM_QUIT, 0, 0};
        return true;
    case SDL_WINDOWEVENT:
        return TranslateWindowEvent(event.window, message);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return TranslateKeyEvent(event.key, message);
    case SDL_MOUSEMOTION:
        message = MessageFor(event.motion.windowID, WM_MOUSEMOVE, 0, MakeLParam(event.motion.x, event.motion.y));
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return TranslateButtonEvent(event.button, message);
    default:
        if (event.type != 0 && event.type == PostedMessageEventType()) {
            return TranslatePostedMessage(event.user, message);
        }
        return false;
    }
}
