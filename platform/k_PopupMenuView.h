// Layout, highlight and hit testing of the popup menu the window draws over its picture: a
// stack of panels, the first listing the root's children, each further one the submenu of a
// highlighted item, opened beside it. Holds pointers into the menu it was opened on; draws nothing.
#pragma once

#include <string>
#include <vector>

#include "MenuItem.h"
#include "platform/MenuFont.h"

class k_PopupMenuView {
public:
    struct Panel {
        const MenuItem* menu = nullptr;  // the item whose children the panel lists
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        int highlighted = -1;  // index of the highlighted child; -1 for none
    };

    static constexpr int kTextScale = 2;  // screen pixels per font pixel
    static constexpr int kBorder = 1;
    static constexpr int kItemPadding = 4;  // above and below the text
    static constexpr int kTextIndent = 8;   // left of the text, and right of the widest one
    static constexpr int kArrowSpace = 16;  // right of that, for the submenu arrow
    static constexpr int kItemHeight = kGlyphHeight * kTextScale + 2 * kItemPadding;

    // Shows the root's children with the top-left corner at the point, moved so that the panel
    // stays inside the area (0, 0)-(areaWidth, areaHeight). The root must outlive the view's use.
    void Open(const MenuItem& root, int x, int y, int areaWidth, int areaHeight);
    void Close();
    bool IsOpen() const { return !panels.empty(); }

    // Highlights the item under the point and opens its submenu, closing deeper ones. A point
    // on no item changes nothing.
    void MoveTo(int x, int y);
    bool Contains(int x, int y) const;
    // The leaf item under the point, or null (no item there, or a submenu item).
    const MenuItem* LeafAt(int x, int y) const;

    const std::vector<Panel>& GetPanels() const { return panels; }
    static int ItemTop(const Panel& panel, int index);
    static int TextWidth(const std::wstring& label);

private:
    struct Location {
        int panel = -1;
        int item = -1;  // -1 on the panel's border
    };

    Location Find(int x, int y) const;
    static Panel MeasurePanel(const MenuItem& menu);
    void OpenSubmenu(int panelIndex, int itemIndex);

    std::vector<Panel> panels;
    int areaWidth = 0;
    int areaHeight = 0;
};
