// Where the fixed-size scene lies on a display surface of any size: scaled as large as fits
// with its aspect kept (or by the largest whole multiple that fits) and centred, the rest
// black bars. Pure arithmetic, shared by the drawing (surface pixels) and the mouse (window
// coordinates).
#pragma once

#include "SceneScaling.h"

// A rectangle on the surface, origin at the top-left corner, y downwards.
struct SceneRectangle {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const SceneRectangle& other) const {
        return left == other.left && top == other.top && width == other.width && height == other.height;
    }
};

// The scene's rectangle on the surface. A surface or scene without area gives the scene's own
// size at the origin (nothing to fit into). Sharp scaling on a surface smaller than the scene
// shrinks it as smooth scaling does: no whole multiple fits.
SceneRectangle FitScene(int sceneWidth, int sceneHeight, int surfaceWidth, int surfaceHeight,
                        SceneScaling scaling = SceneScaling::Smooth);

// How a point on the surface relates to the scene.
enum class ScenePoint { Inside, OnBar };

// Maps the surface point (x, y) into scene coordinates, clamped to the scene's edge when the
// point lies on a bar; the result says which.
ScenePoint SurfaceToScene(const SceneRectangle& rectangle, int sceneWidth, int sceneHeight, int& x, int& y);
