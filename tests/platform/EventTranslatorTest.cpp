#include <gtest/gtest.h>

#include "platform/EventTranslator.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMessages.h"

namespace {

SDL_Event WindowEvent(Uint8 kind, Sint32 data1 = 0, Sint32 data2 = 0) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = kind;
    event.window.data1 = data1;
    event.window.data2 = data2;
    return event;
}

SDL_Event KeyEvent(Uint32 type, SDL_Keycode key, Uint16 modifiers = KMOD_NONE) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    event.key.keysym.mod = modifiers;
    return event;
}

SDL_Event ButtonEvent(Uint32 type, Uint8 button, Sint32 x, Sint32 y) {
    SDL_Event event{};
    event.type = type;
    event.button.button = button;
    event.button.x = x;
    event.button.y = y;
    return event;
}

Message Translate(const SDL_Event& event) {
    Message message;
    EXPECT_TRUE(TranslateEvent(event, message)) << "event type " << event.type;
    return message;
}

TEST(EventTranslator, WindowEventsBecomeSizeActivationAndCloseMessages) {
    for (Uint8 kind : {SDL_WINDOWEVENT_SIZE_CHANGED, SDL_WINDOWEVENT_RESIZED}) {
        Message size = Translate(WindowEvent(kind, 640, 480));
        EXPECT_EQ(size.message, WM_SIZE);
        EXPECT_EQ(LowWord(size.lParam), 640u);
        EXPECT_EQ(HighWord(size.lParam), 480u);
    }
    Message minimised = Translate(WindowEvent(SDL_WINDOWEVENT_MINIMIZED));
    EXPECT_EQ(minimised.message, WM_ACTIVATE);
    EXPECT_NE(HighWord(minimised.wParam), 0u);
    for (Uint8 kind : {SDL_WINDOWEVENT_RESTORED, SDL_WINDOWEVENT_MAXIMIZED}) {
        Message restored = Translate(WindowEvent(kind));
        EXPECT_EQ(restored.message, WM_ACTIVATE);
        EXPECT_EQ(HighWord(restored.wParam), 0u);
        EXPECT_EQ(LowWord(restored.wParam), WA_ACTIVE);
    }
    EXPECT_EQ(Translate(WindowEvent(SDL_WINDOWEVENT_CLOSE)).message, WM_CLOSE);

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(Translate(quit).message, WM_QUIT);
    EXPECT_EQ(Translate(quit).window, nullptr);
}

TEST(EventTranslator, KeysGetTheirVirtualKeyCodes) {
    const std::pair<SDL_Keycode, int> keys[] = {
        {SDLK_a, 'A'},          {SDLK_z, 'Z'},          {SDLK_0, '0'},           {SDLK_SPACE, VK_SPACE},
        {SDLK_RETURN, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN}, {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_LEFT, VK_LEFT},
        {SDLK_DOWN, VK_DOWN},   {SDLK_F12, VK_F12},     {SDLK_RSHIFT, VK_SHIFT}, {SDLK_KP_7, VK_NUMPAD0 + 7},
    };
    for (const auto& [sdlKey, virtualKey] : keys) {
        Message down = Translate(KeyEvent(SDL_KEYDOWN, sdlKey));
        EXPECT_EQ(down.message, WM_KEYDOWN) << sdlKey;
        EXPECT_EQ(down.wParam, static_cast<WParam>(virtualKey)) << sdlKey;
        EXPECT_EQ(Translate(KeyEvent(SDL_KEYUP, sdlKey)).message, WM_KEYUP) << sdlKey;
    }
}

TEST(EventTranslator, KeysWithAltHeldAndAltItselfComeAsSystemKeys) {
    EXPECT_EQ(Translate(KeyEvent(SDL_KEYDOWN, SDLK_F4, KMOD_LALT)).message, WM_SYSKEYDOWN);
    EXPECT_EQ(Translate(KeyEvent(SDL_KEYUP, SDLK_x, KMOD_RALT)).message, WM_SYSKEYUP);
    Message alt = Translate(KeyEvent(SDL_KEYUP, SDLK_LALT));
    EXPECT_EQ(alt.message, WM_SYSKEYUP);
    EXPECT_EQ(alt.wParam, static_cast<WParam>(VK_MENU));
    EXPECT_EQ(Translate(KeyEvent(SDL_KEYDOWN, SDLK_x, KMOD_LCTRL)).message, WM_KEYDOWN);
}

TEST(EventTranslator, MouseEventsCarryClientCoordinatesAsSignedWords) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = -3;
    motion.motion.y = 599;
    Message move = Translate(motion);
    EXPECT_EQ(move.message, WM_MOUSEMOVE);
    EXPECT_EQ(SignedLowWord(move.lParam), -3);
    EXPECT_EQ(SignedHighWord(move.lParam), 599);

    EXPECT_EQ(Translate(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 2)).message, WM_LBUTTONDOWN);
    EXPECT_EQ(Translate(ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 2)).message, WM_LBUTTONUP);
    EXPECT_EQ(Translate(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 2)).message, WM_RBUTTONDOWN);
    Message rightUp = Translate(ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 799, -1));
    EXPECT_EQ(rightUp.message, WM_RBUTTONUP);
    EXPECT_EQ(SignedLowWord(rightUp.lParam), 799);
    EXPECT_EQ(SignedHighWord(rightUp.lParam), -1);
}

TEST(EventTranslator, EventsWithoutAMessageLeaveTheMessageAlone) {
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    const SDL_Event ignored[] = {text, ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 2),
                                 KeyEvent(SDL_KEYDOWN, SDLK_AUDIOPLAY), WindowEvent(SDL_WINDOWEVENT_EXPOSED)};
    for (const SDL_Event& event : ignored) {
        Message message{nullptr, WM_COMMAND, 1, 2};
        EXPECT_FALSE(TranslateEvent(event, message)) << event.type;
        EXPECT_EQ(message.message, WM_COMMAND);
        EXPECT_EQ(message.wParam, 1u);
    }
}

TEST(EventTranslator, PostedMessagesComeBackUnchanged) {
    SDL_Event posted{};
    posted.type = PostedMessageEventType();
    ASSERT_NE(posted.type, 0u);
    posted.user.code = static_cast<Sint32>(WM_COMMAND);
    posted.user.data1 = reinterpret_cast<void*>(static_cast<WParam>(42));
    posted.user.data2 = reinterpret_cast<void*>(static_cast<LParam>(-9));
    Message message = Translate(posted);
    EXPECT_EQ(message.message, WM_COMMAND);
    EXPECT_EQ(message.wParam, 42u);
    EXPECT_EQ(message.lParam, -9);
}

}  // namespace
