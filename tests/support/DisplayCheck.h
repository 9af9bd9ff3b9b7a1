// Skips an OpenGL test when no display can be opened (the test command starts Xvfb, so a
// skip there means something is wrong with the machine, not with the code).
#pragma once

#include <gtest/gtest.h>

#include "platform/OffscreenContext.h"

#define REQUIRE_CONTEXT(context)                                              \
    if (!(context).IsReady()) {                                               \
        GTEST_SKIP() << "no OpenGL context: " << (context).Error();           \
    }
