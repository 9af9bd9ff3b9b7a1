#include "world/RecordTexture.h"

#include "IShaderTexture.h"

namespace {

const wchar_t* const kWaterName = L"Water";
const wchar_t* const kWaterVertexShader = L"water.vs";
const wchar_t* const kWaterFragmentShader = L"water.fs";

}  // namespace

bool ShowsWater(const SpriteData& record) { return record.special && record.texture == kWaterName; }

// A special record with any other name than the water's has no special texture to show, so it
// shows the picture of that name like an ordinary record: the level still loads and the
// designer sees the name that was meant.
ITexture* RecordTexture(IEngine& engine, const SpriteData& record) {
    if (ShowsWater(record)) {
        return engine.GetShaderTexture(kWaterName, kWaterVertexShader, kWaterFragmentShader, kWaterTextureSize,
                                       kWaterTextureSize);
    }
    return engine.GetTexture(record.texture);
}
