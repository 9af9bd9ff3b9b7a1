#include "platform/PopupMenuDrawing.h"

#include <GL/gl.h>

namespace {

struct Colour {
    float red;
    float green;
    float blue;
};

constexpr Colour kPanelColour{0.93f, 0.93f, 0.93f};
constexpr Colour kBorderColour{0.35f, 0.35f, 0.35f};
constexpr Colour kHighlightColour{0.20f, 0.40f, 0.80f};
constexpr Colour kTextColour{0.0f, 0.0f, 0.0f};
constexpr Colour kHighlightedTextColour{1.0f, 1.0f, 1.0f};

constexpr wchar_t kSubmenuArrow = L'>';
constexpr int kScale = k_PopupMenuView::kTextScale;

void SetColour(const Colour& colour) {
    glColor3f(colour.red, colour.green, colour.blue);
}

void FillRectangle(int left, int top, int width, int height) {
    glRecti(left, top, left + width, top + height);
}

void DrawItem(const k_PopupMenuView::Panel& panel, int index) {
    const MenuItem& item = panel.menu->children[index];
    int top = k_PopupMenuView::ItemTop(panel, index);
    int innerLeft = panel.left + k_PopupMenuView::kBorder;
    int innerWidth = panel.width - 2 * k_PopupMenuView::kBorder;
    bool highlighted = index == panel.highlighted;
    if (highlighted) {
        SetColour(kHighlightColour);
        FillRectangle(innerLeft, top, innerWidth, k_PopupMenuView::kItemHeight);
    }
    SetColour(highlighted ? kHighlightedTextColour : kTextColour);
    int textTop = top + k_PopupMenuView::kItemPadding;
    DrawFontText(item.label, innerLeft + k_PopupMenuView::kTextIndent, textTop, kScale);
    if (!item.children.empty()) {
        int arrowLeft = innerLeft + innerWidth - k_PopupMenuView::kArrowSpace;
        DrawFontText(std::wstring(1, kSubmenuArrow), arrowLeft, textTop, kScale);
    }
}

void DrawPanel(const k_PopupMenuView::Panel& panel) {
    constexpr int border = k_PopupMenuView::kBorder;
    SetColour(kBorderColour);
    FillRectangle(panel.left, panel.top, panel.width, panel.height);
    SetColour(kPanelColour);
    FillRectangle(panel.left + border, panel.top + border, panel.width - 2 * border, panel.height - 2 * border);
    for (std::size_t index = 0; index < panel.menu->children.size(); ++index) {
        DrawItem(panel, static_cast<int>(index));
    }
}

// Plain flat colour: no texturing, blending, tests or lighting from the scene's drawing.
void DisableSceneState() {
    for (GLenum capability : {GL_TEXTURE_2D, GL_BLEND, GL_DEPTH_TEST, GL_SCISSOR_TEST, GL_ALPHA_TEST,
                              GL_STENCIL_TEST, GL_CULL_FACE, GL_LIGHTING}) {
        glDisable(capability);
    }
}

}  // namespace

void DrawPopupMenuView(const k_PopupMenuView& view, int sceneWidth, int sceneHeight) {
    if (!view.IsOpen()) {
        return;
    }
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, sceneWidth, sceneHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    DisableSceneState();
    for (const k_PopupMenuView::Panel& panel : view.GetPanels()) {
        DrawPanel(panel);
    }
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
}
