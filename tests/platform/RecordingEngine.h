// A fake engine that records the input events the window hands it, and a recorder that takes
// the place of message boxes, so that window tests never wait for a click.
#pragma once

#include <string>
#include <vector>

#include "IFrameBufferObject.h"
#include "platform/MessageBox.h"
#include "support/FakeEngine.h"

struct KeyEvent {
    int key;
    bool down;
    bool operator==(const KeyEvent& other) const { return key == other.key && down == other.down; }
};

struct MouseEvent {
    int x;
    int y;
    unsigned int message;
    bool operator==(const MouseEvent& other) const {
        return x == other.x && y == other.y && message == other.message;
    }
};

struct ResizeEvent {
    int width;
    int height;
    bool operator==(const ResizeEvent& other) const { return width == other.width && height == other.height; }
};

class RecordingEngine : public FakeEngine {
public:
    std::vector<KeyEvent> keys;
    std::vector<MouseEvent> mouse;
    std::vector<ResizeEvent> resizes;

    void OnKey(int key, bool down) override { keys.push_back({key, down}); }
    void OnMouse(int x, int y, unsigned int message) override { mouse.push_back({x, y, message}); }
    void OnResize(int width, int height) override { resizes.push_back({width, height}); }
};

// Records the boxes shown while it lives instead of showing them.
class MessageBoxRecorder {
public:
    struct Box {
        std::wstring text;
        std::wstring caption;
    };

    MessageBoxRecorder() : previous(SetMessageBoxPresenter(Record)) { Boxes().clear(); }
    ~MessageBoxRecorder() { SetMessageBoxPresenter(previous); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    static std::vector<Box>& Boxes() {
        static std::vector<Box> boxes;
        return boxes;
    }

private:
    static void Record(const std::wstring& text, const std::wstring& caption) { Boxes().push_back({text, caption}); }

    MessageBoxPresenter previous;
};
