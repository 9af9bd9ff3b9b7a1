// How the fixed-size scene is enlarged onto a display larger than it.
#pragma once

enum class SceneScaling {
    Smooth,  // as large as fits with its aspect kept, filtered so that every scene pixel weighs the same
    Sharp,   // the largest whole multiple that fits, every scene pixel an equal square block
};
