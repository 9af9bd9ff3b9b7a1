#include <gtest/gtest.h>

#include <vector>

#include "platform/EventTranslator.h"
#include "platform/k_ControllerKeys.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMessages.h"

namespace {

SDL_Event Event(Uint32 type) {
    SDL_Event event{};
    event.type = type;
    return event;
}

SDL_Event WindowEvent(Uint8 kind, Sint32 data1 = 0, Sint32 data2 = 0) {
    SDL_Event event = Event(SDL_WINDOWEVENT);
    event.window.event = kind;
    event.window.data1 = data1;
    event.window.data2 = data2;
    return event;
}

SDL_Event KeyEvent(Uint32 type, SDL_Keycode key, Uint16 modifiers = KMOD_NONE) {
    SDL_Event event = Event(type);
    event.key.keysym.sym = key;
    event.key.keysym.mod = modifiers;
    return event;
}

SDL_Event MouseEvent(Uint32 type, Uint8 button, Sint32 x, Sint32 y) {
    SDL_Event event = Event(type);
    if (type == SDL_MOUSEMOTION) {
        event.motion.x = x;
        event.motion.y = y;
    } else {
        event.button.button = button;
        event.button.x = x;
        event.button.y = y;
    }
    return event;
}

TEST(EventTranslator, EventsBecomeTheMessagesTheWindowHandles) {
    const struct {
        SDL_Event event;
        unsigned int message;
        WParam wParam;
        LParam lParam;
    } cases[] = {
        {WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480), WM_SIZE, SIZE_RESTORED, MakeLParam(640, 480)},
        {WindowEvent(SDL_WINDOWEVENT_RESIZED, 640, 480), WM_SIZE, SIZE_RESTORED, MakeLParam(640, 480)},
        {WindowEvent(SDL_WINDOWEVENT_MINIMIZED), WM_ACTIVATE, MakeWParam(WA_INACTIVE, 1), 0},
        {WindowEvent(SDL_WINDOWEVENT_RESTORED), WM_ACTIVATE, MakeWParam(WA_ACTIVE, 0), 0},
        {WindowEvent(SDL_WINDOWEVENT_MAXIMIZED), WM_ACTIVATE, MakeWParam(WA_ACTIVE, 0), 0},
        {WindowEvent(SDL_WINDOWEVENT_CLOSE), WM_CLOSE, 0, 0},
        {Event(SDL_QUIT), WM_QUIT, 0, 0},
        {MouseEvent(SDL_MOUSEMOTION, 0, -3, 599), WM_MOUSEMOVE, 0, MakeLParam(-3, 599)},
        {MouseEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 2), WM_LBUTTONDOWN, 0, MakeLParam(1, 2)},
        {MouseEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 2), WM_LBUTTONUP, 0, MakeLParam(1, 2)},
        {MouseEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 2), WM_RBUTTONDOWN, 0, MakeLParam(1, 2)},
        {MouseEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 799, -1), WM_RBUTTONUP, 0, MakeLParam(799, -1)},
        // Letters and digits are their upper-case characters; both sides of a modifier are one key.
        {KeyEvent(SDL_KEYDOWN, SDLK_a), WM_KEYDOWN, 'A', 0},
        {KeyEvent(SDL_KEYUP, SDLK_z), WM_KEYUP, 'Z', 0},
        {KeyEvent(SDL_KEYDOWN, SDLK_0), WM_KEYDOWN, '0', 0},
        {KeyEvent(SDL_KEYDOWN, SDLK_SPACE), WM_KEYDOWN, VK_SPACE, 0},
        {KeyEvent(SDL_KEYDOWN, SDLK_KP_ENTER), WM_KEYDOWN, VK_RETURN, 0},
        {KeyEvent(SDL_KEYUP, SDLK_ESCAPE), WM_KEYUP, VK_ESCAPE, 0},
        {KeyEvent(SDL_KEYDOWN, SDLK_LEFT), WM_KEYDOWN, VK_LEFT, 0},
        {KeyEvent(SDL_KEYDOWN, SDLK_RSHIFT), WM_KEYDOWN, VK_SHIFT, 0},
        // The keypad is the cursor block with Num Lock off, digits and a point with it on.
        {KeyEvent(SDL_KEYDOWN, SDLK_KP_7, KMOD_NUM), WM_KEYDOWN, VK_NUMPAD0 + 7, 0},
        {KeyEvent(SDL_KEYUP, SDLK_KP_4), WM_KEYUP, VK_LEFT, 0},
        {KeyEvent(SDL_KEYDOWN, SDLK_KP_5), WM_KEYDOWN, VK_CLEAR, 0},
        {KeyEvent(SDL_KEYDOWN, SDLK_KP_PERIOD), WM_KEYDOWN, VK_DELETE, 0},
        {KeyEvent(SDL_KEYDOWN, SDLK_KP_PERIOD, KMOD_NUM), WM_KEYDOWN, VK_DECIMAL, 0},
        // Keys pressed with Alt held, and Alt itself, are system keys.
        {KeyEvent(SDL_KEYDOWN, SDLK_F4, KMOD_LALT), WM_SYSKEYDOWN, VK_F4, 0},
        {KeyEvent(SDL_KEYUP, SDLK_x, KMOD_RALT), WM_SYSKEYUP, 'X', 0},
        {KeyEvent(SDL_KEYUP, SDLK_LALT), WM_SYSKEYUP, VK_MENU, 0},
        {KeyEvent(SDL_KEYDOWN, SDLK_x, KMOD_LCTRL), WM_KEYDOWN, 'X', 0},
    };
    for (const auto& expected : cases) {
        Message message;
        ASSERT_TRUE(TranslateEvent(expected.event, message)) << expected.message;
        EXPECT_EQ(message.message, expected.message);
        EXPECT_EQ(message.wParam, expected.wParam) << expected.message;
        EXPECT_EQ(message.lParam, expected.lParam) << expected.message;
        EXPECT_EQ(message.window, nullptr) << "an event of no window";
    }
}

SDL_Event Axis(SDL_JoystickID controller, SDL_GameControllerAxis axis, Sint16 value) {
    SDL_Event event = Event(SDL_CONTROLLERAXISMOTION);
    event.caxis = {SDL_CONTROLLERAXISMOTION, 0, controller, static_cast<Uint8>(axis), 0, 0, 0, value, 0};
    return event;
}

SDL_Event Button(Uint32 type, SDL_GameControllerButton button) {
    SDL_Event event = Event(type);
    event.cbutton.which = 1;
    event.cbutton.button = static_cast<Uint8>(button);
    return event;
}

// One player's moves on controller 1: each event and the key changes it must give.
TEST(ControllerKeys, StickAndButtonsPlayAsTheKeys) {
    constexpr Sint16 kDeadZone = k_ControllerKeys::kStickDeadZone;
    SDL_Event removed = Event(SDL_CONTROLLERDEVICEREMOVED);
    removed.cdevice.which = 1;
    const std::pair<SDL_Event, std::vector<k_ControllerKeys::KeyChange>> steps[] = {
        {Axis(1, SDL_CONTROLLER_AXIS_LEFTX, -kDeadZone), {}},
        {Axis(1, SDL_CONTROLLER_AXIS_LEFTX, -kDeadZone - 1), {{VK_GAMEPAD_DPAD_LEFT, true}}},
        {Axis(1, SDL_CONTROLLER_AXIS_RIGHTX, 32767), {}},
        {Axis(2, SDL_CONTROLLER_AXIS_LEFTX, 0), {}},  // another controller, at rest
        {Axis(1, SDL_CONTROLLER_AXIS_LEFTX, 32767), {{VK_GAMEPAD_DPAD_LEFT, false}, {VK_GAMEPAD_DPAD_RIGHT, true}}},
        {Axis(1, SDL_CONTROLLER_AXIS_LEFTX, 0), {{VK_GAMEPAD_DPAD_RIGHT, false}}},
        {Axis(1, SDL_CONTROLLER_AXIS_LEFTY, -9000), {{VK_GAMEPAD_DPAD_UP, true}}},
        {Button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_DPAD_DOWN), {{VK_GAMEPAD_DPAD_DOWN, true}}},
        {Button(SDL_CONTROLLERBUTTONUP, SDL_CONTROLLER_BUTTON_DPAD_DOWN), {{VK_GAMEPAD_DPAD_DOWN, false}}},
        {Button(SDL_CONTROLLERBUTTONUP, SDL_CONTROLLER_BUTTON_BACK), {{VK_ESCAPE, false}}},
        {Button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_START), {{VK_GAMEPAD_MENU, true}}},
        {Button(SDL_CONTROLLERBUTTONUP, SDL_CONTROLLER_BUTTON_START), {{VK_GAMEPAD_MENU, false}}},
        {Button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_A), {{VK_GAMEPAD_A, true}}},
        {Button(SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLER_BUTTON_GUIDE), {}},
        {removed, {{VK_GAMEPAD_DPAD_UP, false}, {VK_GAMEPAD_A, false}}},  // pulled out: nothing stays held
    };
    k_ControllerKeys controllers;
    int step = 0;
    for (const auto& [event, changes] : steps) {
        EXPECT_EQ(controllers.Translate(event), changes) << "step " << step++;
    }
}

// Posted messages coming back are WindowMessagesTest's.
TEST(EventTranslator, OtherEventsLeaveTheMessageAlone) {
    Message message{nullptr, WM_COMMAND, 42, 0};
    for (const SDL_Event& event : {Event(SDL_TEXTINPUT), MouseEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 2),
                                   KeyEvent(SDL_KEYDOWN, SDLK_AUDIOPLAY), WindowEvent(SDL_WINDOWEVENT_EXPOSED)}) {
        EXPECT_FALSE(TranslateEvent(event, message)) << event.type;
        EXPECT_EQ(message.message, WM_COMMAND);
        EXPECT_EQ(message.wParam, 42u);
    }
}

}  // namespace
