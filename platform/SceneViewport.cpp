#include "platform/SceneViewport.h"

#include <algorithm>
#include <cstdint>

namespace {

// Integer division rounded down also for negative numerators.
int FloorDivide(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t quotient = numerator / denominator;
    return static_cast<int>((numerator % denominator != 0 && numerator < 0) ? quotient - 1 : quotient);
}

SceneRectangle Centred(int width, int height, int surfaceWidth, int surfaceHeight) {
    return SceneRectangle{(surfaceWidth - width) / 2, (surfaceHeight - height) / 2, width, height};
}

}  // namespace

SceneRectangle FitScene(int sceneWidth, int sceneHeight, int surfaceWidth, int surfaceHeight, SceneScaling scaling) {
    if (sceneWidth <= 0 || sceneHeight <= 0 || surfaceWidth <= 0 || surfaceHeight <= 0) {
        return SceneRectangle{0, 0, std::max(sceneWidth, 0), std::max(sceneHeight, 0)};
    }
    const int wholeMultiple = std::min(surfaceWidth / sceneWidth, surfaceHeight / sceneHeight);
    if (scaling == SceneScaling::Sharp && wholeMultiple >= 1) {
        return Centred(sceneWidth * wholeMultiple, sceneHeight * wholeMultiple, surfaceWidth, surfaceHeight);
    }
    // Compare the aspects exactly in integers: the wider side decides the scale.
    std::int64_t widthByHeight = static_cast<std::int64_t>(surfaceWidth) * sceneHeight;
    std::int64_t heightByWidth = static_cast<std::int64_t>(surfaceHeight) * sceneWidth;
    SceneRectangle rectangle;
    if (widthByHeight >= heightByWidth) {  // bars left and right (or none)
        rectangle.height = surfaceHeight;
        rectangle.width = static_cast<int>(std::max<std::int64_t>(1, (heightByWidth + sceneHeight / 2) / sceneHeight));
    } else {  // bars above and below
        rectangle.width = surfaceWidth;
        rectangle.height = static_cast<int>(std::max<std::int64_t>(1, (widthByHeight + sceneWidth / 2) / sceneWidth));
    }
    return Centred(rectangle.width, rectangle.height, surfaceWidth, surfaceHeight);
}

ScenePoint SurfaceToScene(const SceneRectangle& rectangle, int sceneWidth, int sceneHeight, int& x, int& y) {
    if (rectangle.width <= 0 || rectangle.height <= 0) {
        return ScenePoint::OnBar;
    }
    int sceneX = FloorDivide(static_cast<std::int64_t>(x - rectangle.left) * sceneWidth, rectangle.width);
    int sceneY = FloorDivide(static_cast<std::int64_t>(y - rectangle.top) * sceneHeight, rectangle.height);
    x = std::clamp(sceneX, 0, sceneWidth - 1);
    y = std::clamp(sceneY, 0, sceneHeight - 1);
    return (x == sceneX && y == sceneY) ? ScenePoint::Inside : ScenePoint::OnBar;
}
