// Saves screenshots without holding up the frame: the picture is read back on the drawing
// thread, then compressed and written by a thread of its own into a new file in the pictures
// folder, whose path goes to standard output. Saves still pending finish before it goes.
#pragma once

#include <condition_variable>
#include <ctime>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "PngImage.h"
#include "platform/SceneViewport.h"

class ScreenshotSaver {
public:
    using FolderChooser = std::function<std::filesystem::path()>;

    explicit ScreenshotSaver(FolderChooser chooseFolder);
    ~ScreenshotSaver();
    ScreenshotSaver(const ScreenshotSaver&) = delete;
    ScreenshotSaver& operator=(const ScreenshotSaver&) = delete;

    // Reads the rectangle (OpenGL window coordinates, origin bottom-left) of the current read
    // buffer and queues it for saving, named by the time of this call.
    void Capture(const SceneRectangle& rectangle);

private:
    struct Picture {
        PngImage image;
        std::tm takenAt{};
    };

    void Queue(Picture picture);
    void SavePending();
    void Save(const Picture& picture) const;

    FolderChooser chooseFolder;
    std::mutex lock;
    std::condition_variable woken;
    std::deque<Picture> pending;
    bool stopping = false;
    std::thread worker;  // started with the first screenshot
};
