// Starting the video subsystem and choosing the OpenGL pixel format, shared by the game's
// window and by hidden contexts for tests and tools.
#pragma once

enum class VideoStart {
    Started,    // a driver that shows windows is running
    Failed,     // the subsystem could not start
    NoDisplay,  // only drivers that draw into memory were available; the subsystem is stopped again
};

// Starts the video subsystem, trying again a few times when a busy display refuses the
// connection. The caller stops it again (SDL_QuitSubSystem) after Started.
VideoStart StartVideo();

// Asks for the game's pixel format: double buffered RGBA 8-8-8-8, depth 24 and, when
// withAccumulation is set, a 16-bit accumulation buffer for the motion blur. False when the
// driver refuses an attribute.
bool RequestPixelFormat(bool withAccumulation);
