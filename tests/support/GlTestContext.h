#pragma once

#include <GL/glew.h>

#include "offscreen/OffscreenContext.h"

// The tests' GL context: the same offscreen context the tools render with.
using GlTestContext = OffscreenContext;

// Skips the current test when no GL context can be made, saying why.
#define REQUIRE_GL(context)                                                    \
    do {                                                                       \
        if (!(context).Failure().empty()) GTEST_SKIP() << (context).Failure(); \
    } while (0)
