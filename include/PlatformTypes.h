// Window-system values as the engine sees them: opaque handles and the parameters of a
// window message. platform/ gives them meaning; nothing else looks inside.
#pragma once

#include <cstdint>

using WindowHandle = void*;
using DeviceContext = void*;
using MenuHandle = void*;

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// An OpenGL object name.
typedef unsigned int GLuint;
