#include "platform/MessageBox.h"

#include <SDL.h>

#include <iostream>

#include "WideText.h"
#include "platform/MessagePump.h"
#include "platform/WindowMessageView.h"

namespace {

// A box with an OK button and no icon.
constexpr Uint32 kPlainMessageBox = 0;

void ShowSystemMessageBox(const std::wstring& text, const std::wstring& caption) {
    std::string utf8Text = ToUtf8(text);
    std::string utf8Caption = ToUtf8(caption);
    std::cerr << utf8Caption << ": " << utf8Text << std::endl;
    UncoverDesktop();
    // Where the system's box cannot be shown, the program's own window shows the message.
    if (SDL_ShowSimpleMessageBox(kPlainMessageBox, utf8Caption.c_str(), utf8Text.c_str(), nullptr) != 0) {
        ShowMessageInOwnWindow(text, caption);
    }
}

MessageBoxPresenter currentPresenter = ShowSystemMessageBox;

}  // namespace

void UncoverDesktop() {
    SDL_Window* window = static_cast<SDL_Window*>(GetAttachedWindow());
    if (!window) {
        return;
    }
    SDL_SetWindowFullscreen(window, 0);
    SDL_HideWindow(window);
    SDL_ShowCursor(SDL_ENABLE);
}

void ShowMessageBox(const std::wstring& text, const std::wstring& caption) {
    currentPresenter(text, caption);
}

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter) {
    MessageBoxPresenter previous = currentPresenter;
    currentPresenter = presenter ? presenter : ShowSystemMessageBox;
    return previous;
}
