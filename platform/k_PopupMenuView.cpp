#include "platform/k_PopupMenuView.h"

#include <algorithm>

namespace {

// The start of a span of `size` moved back so that it ends inside [0, area), but never before 0.
int FitInside(int start, int size, int area) {
    if (start + size > area) {
        start = area - size;
    }
    return std::max(0, start);
}

bool IsInside(const k_PopupMenuView::Panel& panel, int x, int y) {
    return x >= panel.left && x < panel.left + panel.width && y >= panel.top && y < panel.top + panel.height;
}

}  // namespace

void k_PopupMenuView::Open(const MenuItem& root, int x, int y, int width, int height) {
    areaWidth = width;
    areaHeight = height;
    panels.clear();
    if (root.children.empty()) {
        return;
    }
    Panel panel = MeasurePanel(root);
    // Where it does not fit, the menu opens to the left of or above the point instead.
    panel.left = FitInside(x + panel.width > areaWidth ? x - panel.width : x, panel.width, areaWidth);
    panel.top = FitInside(y + panel.height > areaHeight ? y - panel.height : y, panel.height, areaHeight);
    panels.push_back(panel);
}

void k_PopupMenuView::Close() {
    panels.clear();
}

void k_PopupMenuView::MoveTo(int x, int y) {
    Location location = Find(x, y);
    if (location.item < 0) {
        return;
    }
    std::size_t panelIndex = static_cast<std::size_t>(location.panel);
    bool submenuAlreadyOpen = panels[panelIndex].highlighted == location.item && panels.size() > panelIndex + 1;
    if (submenuAlreadyOpen) {
        return;
    }
    panels.resize(panelIndex + 1);
    panels[panelIndex].highlighted = location.item;
    if (!panels[panelIndex].menu->children[location.item].children.empty()) {
        OpenSubmenu(location.panel, location.item);
    }
}

bool k_PopupMenuView::Contains(int x, int y) const {
    return Find(x, y).panel >= 0;
}

const MenuItem* k_PopupMenuView::LeafAt(int x, int y) const {
    Location location = Find(x, y);
    if (location.item < 0) {
        return nullptr;
    }
    const MenuItem& item = panels[location.panel].menu->children[location.item];
    return item.children.empty() ? &item : nullptr;
}

int k_PopupMenuView::ItemTop(const Panel& panel, int index) {
    return panel.top + kBorder + index * kItemHeight;
}

int k_PopupMenuView::TextWidth(const std::wstring& label) {
    return static_cast<int>(label.size()) * kGlyphAdvance * kTextScale;
}

// Later panels lie over earlier ones, so the search runs from the last.
k_PopupMenuView::Location k_PopupMenuView::Find(int x, int y) const {
    for (int index = static_cast<int>(panels.size()) - 1; index >= 0; --index) {
        const Panel& panel = panels[index];
        if (!IsInside(panel, x, y)) {
            continue;
        }
        Location location;
        location.panel = index;
        int offset = y - panel.top - kBorder;
        int row = offset / kItemHeight;
        if (offset >= 0 && row < static_cast<int>(panel.menu->children.size())) {
            location.item = row;
        }
        return location;
    }
    return Location();
}

k_PopupMenuView::Panel k_PopupMenuView::MeasurePanel(const MenuItem& menu) {
    int widestText = 0;
    for (const MenuItem& child : menu.children) {
        widestText = std::max(widestText, TextWidth(child.label));
    }
    Panel panel;
    panel.menu = &menu;
    panel.width = 2 * kBorder + 2 * kTextIndent + widestText + kArrowSpace;
    panel.height = 2 * kBorder + static_cast<int>(menu.children.size()) * kItemHeight;
    return panel;
}

// The submenu opens to the right of its parent panel, or to its left where it does not fit,
// with its first item level with the item that opened it.
void k_PopupMenuView::OpenSubmenu(int panelIndex, int itemIndex) {
    const Panel& parent = panels[panelIndex];
    Panel submenu = MeasurePanel(parent.menu->children[itemIndex]);
    int right = parent.left + parent.width;
    submenu.left = FitInside(right + submenu.width > areaWidth ? parent.left - submenu.width : right, submenu.width,
                             areaWidth);
    submenu.top = FitInside(ItemTop(parent, itemIndex) - kBorder, submenu.height, areaHeight);
    panels.push_back(submenu);
}
