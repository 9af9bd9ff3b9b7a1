#include "world/RecordTexture.h"

#include "IShaderTexture.h"

namespace {

const wchar_t* const kWaterName = L"Water";
const wchar_t* const kWaterVertexShader = L"water.vs";
const wchar_t* const kWaterFragmentShader = L"water.fs";
constexpr int kWaterWidth = 50;
constexpr int kWaterHeight = 50;

}  // namespace

// "Water" (exact case) on a special record is the shared water shader. A special record with
// any other name has no special texture to show, so it shows the picture of that name like an
// ordinary record: the level still loads and the designer sees the name that was meant.
ITexture* RecordTexture(IEngine& engine, const SpriteData& record) {
    if (record.special && record.texture == kWaterName) {
        return engine.GetShaderTexture(kWaterName, kWaterVertexShader, kWaterFragmentShader, kWaterWidth,
                                       kWaterHeight);
    }
    return engine.GetTexture(record.texture);
}
