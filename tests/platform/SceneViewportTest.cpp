#include <gtest/gtest.h>

#include "platform/ScenePresenter.h"
#include "platform/SceneViewport.h"

TEST(SceneViewport, TheSceneFillsTheSurfaceWithItsAspectKeptAndCentred) {
    constexpr auto kSharp = SceneScaling::Sharp;  // the largest whole multiple that fits
    struct Case {
        int surfaceWidth, surfaceHeight;
        SceneRectangle expected;
        SceneScaling scaling = SceneScaling::Smooth;
    };
    const Case cases[] = {
        {800, 600, {0, 0, 800, 600}},          {1024, 768, {0, 0, 1024, 768}},   {1280, 1024, {0, 32, 1280, 960}},
        {1920, 1080, {240, 0, 1440, 1080}},    {400, 600, {0, 150, 400, 300}},   {801, 600, {0, 0, 800, 600}},
        {0, 0, {0, 0, 800, 600}},              {1024, 768, {112, 84, 800, 600}, kSharp},
        {1920, 1080, {560, 240, 800, 600}, kSharp}, {1920, 1200, {160, 0, 1600, 1200}, kSharp},
        {2400, 1800, {0, 0, 2400, 1800}, kSharp},   {400, 600, {0, 150, 400, 300}, kSharp},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(FitScene(800, 600, each.surfaceWidth, each.surfaceHeight, each.scaling), each.expected)
            << each.surfaceWidth << " x " << each.surfaceHeight;
    }
}

TEST(ScenePresenter, TheServerScalesForSoftwareRenderersOrWhenAskedTo) {
    EXPECT_EQ(ChoosePresenter("llvmpipe (LLVM 15.0.6, 256 bits)", nullptr), PresenterKind::Server);
    EXPECT_EQ(ChoosePresenter("Mesa DRI swrast", nullptr), PresenterKind::Server);
    EXPECT_EQ(ChoosePresenter("AMD Radeon RX 6600 (radeonsi, navi23)", nullptr), PresenterKind::OpenGL);
    EXPECT_EQ(ChoosePresenter(nullptr, nullptr), PresenterKind::OpenGL);
    EXPECT_EQ(ChoosePresenter("llvmpipe", "opengl"), PresenterKind::OpenGL);
    EXPECT_EQ(ChoosePresenter("Mesa Intel(R) UHD Graphics 620", "server"), PresenterKind::Server);
    EXPECT_EQ(ChoosePresenter("llvmpipe", "sideways"), PresenterKind::Server) << "an unknown request is ignored";
}

TEST(SceneViewport, SurfacePointsMapToScenePixelsAndBarsClampToTheEdge) {
    const SceneRectangle shown = FitScene(800, 600, 1280, 1024);  // bars of 32 above and below
    struct Case {
        int x, y;
        int sceneX, sceneY;
        ScenePoint where;
    };
    const Case cases[] = {
        {0, 32, 0, 0, ScenePoint::Inside},        {1279, 991, 799, 599, ScenePoint::Inside},
        {640, 512, 400, 300, ScenePoint::Inside}, {640, 10, 400, 0, ScenePoint::OnBar},
        {640, 1000, 400, 599, ScenePoint::OnBar}, {-3, 31, 0, 0, ScenePoint::OnBar},
    };
    for (const Case& each : cases) {
        int x = each.x;
        int y = each.y;
        EXPECT_EQ(SurfaceToScene(shown, 800, 600, x, y), each.where) << each.x << ", " << each.y;
        EXPECT_EQ(x, each.sceneX);
        EXPECT_EQ(y, each.sceneY);
    }
}
