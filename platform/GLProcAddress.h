// Looks up OpenGL entry points beyond version 1.1 in the current context's driver.
#pragma once

// The address of the named OpenGL function, or null when the driver lacks it.
// Needs a current context; callers resolve once per context and keep the pointers.
void* GetGLProcAddress(const char* name);

// The rendering context current on this thread, or null; tells OpenGL objects kept between
// frames whether they still belong to the current context.
void* GetCurrentGLContext();
