#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/GLProcAddress.h"
#include "support/DisplayCheck.h"

TEST(OffscreenContext, GivesACurrentContextWithShadersAndFramebuffers) {
    k_OffscreenContext context(64, 32);
    REQUIRE_CONTEXT(context);
    EXPECT_NE(GetGLProcAddress("glCreateShader"), nullptr);
    EXPECT_NE(GetGLProcAddress("glBindFramebufferEXT"), nullptr);
    GLint accumulationBits = 0;
    glGetIntegerv(GL_ACCUM_RED_BITS, &accumulationBits);
    EXPECT_GT(accumulationBits, 0) << "no accumulation buffer: motion blur would be lost";
}
