#include "platform/WindowMessageView.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <vector>

#include "platform/MenuFont.h"
#include "platform/MessagePump.h"

namespace {

constexpr int kFontScale = 2;
constexpr int kMargin = 24;
constexpr int kLineHeight = (kGlyphHeight + 4) * kFontScale;
constexpr int kRedrawMilliseconds = 100;
const wchar_t* const kHint = L"Press any key to close.";

// The text broken into lines of at most width characters, at spaces where it can be and
// within long words where it must; line ends in the text are kept.
std::vector<std::wstring> WrapLines(const std::wstring& text, std::size_t width) {
    std::vector<std::wstring> lines;
    std::wstring line;
    auto finish = [&lines, &line] {
        lines.push_back(line);
        line.clear();
    };
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(L" \n", start);
        std::wstring word = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            finish();
        }
        while (word.size() > width) {
            lines.push_back(word.substr(0, width));
            word.erase(0, width);
        }
        line += (line.empty() ? L"" : L" ") + word;
        if (end == std::wstring::npos) {
            break;
        }
        if (text[end] == L'\n') {
            finish();
        }
        start = end + 1;
    }
    finish();
    return lines;
}

void Draw(SDL_Window* window, const std::wstring& text, const std::wstring& caption) {
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glClearColor(0.1f, 0.1f, 0.14f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const std::size_t columns = static_cast<std::size_t>(std::max(1, (width - 2 * kMargin) / (kGlyphAdvance * kFontScale)));
    int top = kMargin;
    glColor3f(1.0f, 0.8f, 0.4f);
    DrawFontText(caption, kMargin, top, kFontScale);
    top += 2 * kLineHeight;
    glColor3f(1.0f, 1.0f, 1.0f);
    for (const std::wstring& line : WrapLines(text, columns)) {
        DrawFontText(line, kMargin, top, kFontScale);
        top += kLineHeight;
    }
    glColor3f(0.7f, 0.7f, 0.7f);
    DrawFontText(kHint, kMargin, top + kLineHeight, kFontScale);
    SDL_GL_SwapWindow(window);
}

bool EndsTheMessage(const SDL_Event& event) {
    return (event.type == SDL_KEYDOWN && event.key.repeat == 0) || event.type == SDL_QUIT ||
           (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE);
}

}  // namespace

bool ShowMessageInOwnWindow(const std::wstring& text, const std::wstring& caption) {
    SDL_Window* window = static_cast<SDL_Window*>(GetAttachedWindow());
    if (!window || !SDL_GL_GetCurrentContext()) {
        return false;
    }
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    SDL_FlushEvent(SDL_KEYDOWN);  // a key already held when the failure came does not close it
    SDL_Event event;
    do {
        Draw(window, text, caption);  // redrawn while waiting: the window may be uncovered
    } while (!(SDL_WaitEventTimeout(&event, kRedrawMilliseconds) && EndsTheMessage(event)));
    return true;
}
