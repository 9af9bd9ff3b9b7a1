#include "tools/editor/PieceMenu.h"

#include <string>

namespace {

// The user data holds the action times kActionUnit plus the value (offset to stay positive).
constexpr std::uintptr_t kActionUnit = 1 << 16;
constexpr int kValueOffset = 1 << 15;
const int kDepths[] = {0, 1, 2, 3, 5, 10, 20, 50, 100};
const wchar_t* const kChecked = L"* ";
const wchar_t* const kUnchecked = L"  ";

MenuItem Leaf(const std::wstring& label, PieceMenuAction action, int value, MenuCallback callback) {
    MenuItem item;
    item.label = label;
    item.callback = callback;
    item.userData = static_cast<std::uintptr_t>(action) * kActionUnit + static_cast<std::uintptr_t>(value + kValueOffset);
    return item;
}

int ValueOf(const MenuItem& item) { return static_cast<int>(item.userData % kActionUnit) - kValueOffset; }

MenuItem Submenu(const std::wstring& label) {
    MenuItem item;
    item.label = label;
    return item;
}

}  // namespace

MenuItem BuildPieceMenu(const SpriteData& shown, MenuCallback callback) {
    MenuItem types = Submenu(L"Type");
    for (int type = r_SpriteType::SolidSphere; type <= r_SpriteType::Door; ++type) {
        const wchar_t* mark = type == shown.type ? kChecked : kUnchecked;
        types.children.push_back(Leaf(mark + r_SpriteType::ToString(type), PieceMenuAction::Type, type, callback));
    }
    MenuItem depths = Submenu(L"Depth (" + std::to_wstring(shown.depth) + L")");
    depths.children.push_back(Leaf(L"  One higher", PieceMenuAction::DepthUp, 0, callback));
    depths.children.push_back(Leaf(L"  One lower", PieceMenuAction::DepthDown, 0, callback));
    for (int depth : kDepths) {
        const wchar_t* mark = depth == shown.depth ? kChecked : kUnchecked;
        depths.children.push_back(Leaf(mark + std::to_wstring(depth), PieceMenuAction::Depth, depth, callback));
    }
    MenuItem root = Submenu(L"PopupMenu");
    root.children.push_back(types);
    root.children.push_back(depths);
    root.children.push_back(Leaf(std::wstring(shown.isStatic ? kChecked : kUnchecked) + L"Static",
                                 PieceMenuAction::ToggleStatic, 0, callback));
    root.children.push_back(Leaf(std::wstring(shown.special ? kChecked : kUnchecked) + L"Special",
                                 PieceMenuAction::ToggleSpecial, 0, callback));
    root.children.push_back(Leaf(L"  Delete", PieceMenuAction::Delete, 0, callback));
    return root;
}

PieceMenuAction ActionOf(const MenuItem& item) { return static_cast<PieceMenuAction>(item.userData / kActionUnit); }

void ApplyPieceMenuChoice(const MenuItem& item, SpriteData& record) {
    switch (ActionOf(item)) {
    case PieceMenuAction::Type: record.type = static_cast<r_SpriteType::Value>(ValueOf(item)); break;
    case PieceMenuAction::Depth: record.depth = ValueOf(item); break;
    case PieceMenuAction::DepthUp: ++record.depth; break;
    case PieceMenuAction::DepthDown: --record.depth; break;
    case PieceMenuAction::ToggleStatic: record.isStatic = !record.isStatic; break;
    case PieceMenuAction::ToggleSpecial: record.special = !record.special; break;
    case PieceMenuAction::Delete: break;
    }
}
