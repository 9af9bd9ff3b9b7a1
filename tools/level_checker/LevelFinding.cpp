#include "tools/level_checker/LevelFinding.h"

namespace {

constexpr const wchar_t* kWarning = L"warning: ";

std::wstring Number(std::size_t index) { return std::to_wstring(index + 1); }

}  // namespace

std::wstring FindingLine(const LevelFinding& finding) {
    std::wstring line = finding.file;
    if (finding.world) {
        const FindingWorld& world = *finding.world;
        line += L": world " + (world.name ? L"\"" + *world.name + L"\" " : L"") + L"(" + Number(world.index) + L")";
    }
    if (finding.screen) {
        line += L", screen (" + std::to_wstring(finding.screen->x) + L", " + std::to_wstring(finding.screen->y) + L")";
    }
    if (finding.sprite) {
        line += L", sprite " + Number(finding.sprite->index) + L" \"" + finding.sprite->texture + L"\"";
    }
    return line + L": " + (finding.severity == FindingSeverity::Warning ? kWarning : L"") + finding.text;
}
