#include <gtest/gtest.h>

#include "platform/MessagePump.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowTesting.h"
#include "platform/k_PopupMenuView.h"

namespace {

const MessageBoxRecorder::Box kNotImplemented = {L"This menu item has not been implemented yet!",
                                                 L"Quillo 2D Game - Level Editor"};

using Labels = std::vector<std::wstring>;

// What the callbacks were given: the labels as they were then, and the last item.
Labels g_chosen;
const MenuItem* g_lastChosen = nullptr;

void RecordChoice(MenuItem* item) {
    g_chosen.push_back(item->label);
    g_lastChosen = item;
}

MenuItem Leaf(const std::wstring& label, MenuCallback callback = RecordChoice) {
    return {{}, label, nullptr, callback};
}

MenuItem Submenu(const std::wstring& label, std::vector<MenuItem> children) {
    return {std::move(children), label};
}

// Leaves in depth-first order: A 0, B 1, C 2, D 3.
MenuItem EditorMenu() {
    return Submenu(L"root", {Leaf(L"A"), Submenu(L"Sub", {Leaf(L"B"), Submenu(L"Deep", {Leaf(L"C")})}), Leaf(L"D")});
}

// A point inside item `index` of a panel.
LParam OnItem(const k_PopupMenuView::Panel& panel, int index) {
    return MakeLParam(panel.left + 10, k_PopupMenuView::ItemTop(panel, index) + k_PopupMenuView::kItemHeight / 2);
}

// The window's popup menu without a display.
class PopupMenu : public UnopenedWindowTest {
protected:
    void SetUp() override {
        UnopenedWindowTest::SetUp();
        g_chosen.clear();
        window.SetPopupMenu(EditorMenu());
    }

    void Command(int id) { Send(WM_COMMAND, static_cast<WParam>(id)); }
    void RightClick() { Send(WM_RBUTTONUP, 0, MakeLParam(100, 50)); }
    bool IsOpen() { return window.GetPopupMenuView().IsOpen(); }
    const k_PopupMenuView::Panel& PanelAt(size_t index) { return window.GetPopupMenuView().GetPanels().at(index); }

    // Runs the queued messages through the window as the pump would: they carry no window.
    void RunQueuedMessages() {
        Message message;
        while (PeekMessage(message)) {
            Send(message.message, message.wParam, message.lParam);
        }
    }
};

// ---------------------------------------------------------------- the menu model

TEST_F(PopupMenu, LeavesAreNumberedDepthFirstAndCallbacksGetTheWindowsOwnCopy) {
    MenuItem menu = EditorMenu();
    menu.children[0].menuHandle = &menu;  // stale handles in the given menu are not kept
    menu.children[2].userData = 11;
    window.SetPopupMenu(menu);
    menu.children[0].label = L"changed afterwards";
    for (int id = 0; id < 4; ++id) {
        Command(id);
    }
    EXPECT_EQ(g_chosen, (Labels{L"A", L"B", L"C", L"D"}));
    EXPECT_TRUE(MessageBoxRecorder::Boxes().empty());
    const MenuItem& copy = window.GetPopupMenu();
    EXPECT_EQ(g_lastChosen, &copy.children[2]);
    EXPECT_EQ(copy.children[2].userData, 11u);
    EXPECT_NE(copy.menuHandle, nullptr);
    EXPECT_EQ(copy.children[0].menuHandle, nullptr);

    g_chosen.clear();
    window.SetPopupMenu(copy.children[1]);  // one of its own submenus
    Command(0);
    Command(1);
    EXPECT_EQ(g_chosen, (Labels{L"B", L"C"}));
}

TEST_F(PopupMenu, CommandsWithoutACallbackShowTheNotImplementedMessage) {
    window.SetPopupMenu(Submenu(L"root", {Leaf(L"Only"), Leaf(L"Later", nullptr)}));
    for (int id : {1, 3, 99, -1}) {  // 3 was a leaf of the menu replaced
        Command(id);
    }
    Command(0);  // the unknown ids entered on the way leave the real ones alone
    EXPECT_EQ(g_chosen, Labels{L"Only"});
    EXPECT_EQ(MessageBoxRecorder::Boxes(), std::vector<MessageBoxRecorder::Box>(4, kNotImplemented));

    window.SetPopupMenu(MenuItem());  // a root without children: right clicks are not taken
    EXPECT_EQ(window.GetPopupMenu().menuHandle, nullptr);
    EXPECT_EQ(Send(WM_RBUTTONUP, 0, MakeLParam(10, 10)), 0);
    EXPECT_FALSE(IsOpen());
    Command(0);
    EXPECT_EQ(MessageBoxRecorder::Boxes().size(), 5u);
}

// ---------------------------------------------------------------- the menu on screen

TEST_F(PopupMenu, HoverOpensSubmenusAndALeftClickOnALeafRunsItThroughAPostedCommand) {
    RightClick();
    ASSERT_TRUE(IsOpen());
    EXPECT_EQ(PanelAt(0).left, 100);
    EXPECT_EQ(PanelAt(0).top, 50);
    Send(WM_MOUSEMOVE, 0, OnItem(PanelAt(0), 1));
    Send(WM_MOUSEMOVE, 0, OnItem(PanelAt(1), 1));
    ASSERT_EQ(window.GetPopupMenuView().GetPanels().size(), 3u);
    Send(WM_LBUTTONUP, 0, OnItem(PanelAt(1), 1));  // a submenu item is not a choice
    EXPECT_TRUE(IsOpen());

    LParam onC = OnItem(PanelAt(2), 0);
    Send(WM_MOUSEMOVE, 0, onC);
    Send(WM_LBUTTONDOWN, 0, onC);
    Send(WM_LBUTTONUP, 0, onC);
    EXPECT_FALSE(IsOpen());
    EXPECT_TRUE(g_chosen.empty()) << "the command is posted, not run inside the click";
    RunQueuedMessages();
    EXPECT_EQ(g_chosen, Labels{L"C"});
    EXPECT_TRUE(engine.mouse.empty()) << "the open menu takes the mouse";
}

TEST_F(PopupMenu, EscapeClicksOutsideResizingOrANewMenuCloseItChoosingNothing) {
    Send(WM_KEYDOWN, 'A');
    RightClick();
    Send(WM_KEYDOWN, 'B');  // pressed and released inside the menu: reaches nothing
    Send(WM_KEYUP, 'B');
    for (int times = 0; times < 2; ++times) {
        Send(WM_SYSKEYDOWN, VK_ESCAPE);  // closes; held, its repeats do not reach the game either
    }
    EXPECT_FALSE(IsOpen());
    EXPECT_FALSE(window.IsKeyDown(VK_ESCAPE)) << "Escape would end the game's loop";
    Send(WM_SYSKEYUP, VK_ESCAPE);
    RightClick();
    Send(WM_KEYDOWN, 'A');  // the repeat of a key held before the menu opened is taken...
    Send(WM_KEYUP, 'A');    // ...but its release passes on, so 'A' does not stay down
    EXPECT_FALSE(window.IsKeyDown('A'));
    EXPECT_EQ(engine.keys, (std::vector<KeyEvent>{{'A', true}, {'A', false}}));

    for (unsigned int click : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        EXPECT_TRUE(IsOpen());
        Send(click, 0, MakeLParam(5, 5));
        Send(click + 1, 0, MakeLParam(5, 5));  // the click's release is taken too: nothing reopens
        EXPECT_FALSE(IsOpen()) << click;
        RightClick();
    }
    Send(WM_SIZE, SIZE_RESTORED, MakeLParam(640, 480));
    EXPECT_FALSE(IsOpen());
    RightClick();
    window.SetPopupMenu(EditorMenu());
    EXPECT_FALSE(IsOpen());
    RunQueuedMessages();
    EXPECT_TRUE(g_chosen.empty());
    EXPECT_TRUE(engine.mouse.empty());
}

// ---------------------------------------------------------------- layout and hit testing

class PopupMenuView : public ::testing::Test {
protected:
    const k_PopupMenuView::Panel& Panel(size_t index) { return view.GetPanels().at(index); }
    size_t PanelCount() { return view.GetPanels().size(); }
    int ItemY(size_t panel, int item) { return k_PopupMenuView::ItemTop(Panel(panel), item) + k_PopupMenuView::kItemHeight / 2; }
    void Hover(size_t panel, int item) { view.MoveTo(Panel(panel).left + 5, ItemY(panel, item)); }

    MenuItem menu = EditorMenu();
    k_PopupMenuView view;
};

TEST_F(PopupMenuView, PanelsOpenBesideTheirItemStayInsideTheAreaAndFollowTheHover) {
    view.Open(menu, 0, 0, 800, 600);
    Hover(0, 1);
    ASSERT_EQ(PanelCount(), 2u);
    EXPECT_EQ(Panel(0).highlighted, 1);
    EXPECT_EQ(Panel(1).left, Panel(0).left + Panel(0).width);
    EXPECT_EQ(Panel(1).top, k_PopupMenuView::ItemTop(Panel(0), 1) - k_PopupMenuView::kBorder);
    EXPECT_EQ(Panel(1).menu, &menu.children[1]);
    Hover(1, 1);
    ASSERT_EQ(PanelCount(), 3u);
    view.MoveTo(Panel(0).left + 6, ItemY(0, 1) + 1);  // still on the item that opened them
    EXPECT_EQ(PanelCount(), 3u);
    view.MoveTo(790, 590);  // on no panel
    EXPECT_EQ(PanelCount(), 3u);
    Hover(1, 0);
    EXPECT_EQ(PanelCount(), 2u);
    Hover(0, 2);
    ASSERT_EQ(PanelCount(), 1u);
    EXPECT_EQ(Panel(0).highlighted, 2);

    view.Open(menu, 800 - Panel(0).width, 0, 800, 600);
    Hover(0, 1);
    ASSERT_EQ(PanelCount(), 2u);
    EXPECT_EQ(Panel(1).left + Panel(1).width, Panel(0).left) << "no room on the right: on the left";

    view.Open(menu, 790, 590, 800, 600);
    EXPECT_EQ(Panel(0).left + Panel(0).width, 790) << "left of the point";
    EXPECT_EQ(Panel(0).top + Panel(0).height, 590) << "above the point";
    MenuItem tall;
    tall.children.assign(40, Leaf(L"item"));
    view.Open(tall, 10, 10, 800, 600);
    EXPECT_EQ(Panel(0).top, 0) << "a menu taller than the window starts at its top";
}

TEST_F(PopupMenuView, OnlyLeavesUnderThePointAreChoices) {
    view.Open(menu, 20, 30, 800, 600);
    const k_PopupMenuView::Panel root = Panel(0);
    const int onFirstItem = ItemY(0, 0);
    EXPECT_EQ(view.LeafAt(root.left + 5, onFirstItem), &menu.children[0]);
    EXPECT_EQ(view.LeafAt(root.left + 5, ItemY(0, 1)), nullptr);  // a submenu
    EXPECT_EQ(view.LeafAt(root.left, root.top), nullptr);          // the border
    EXPECT_TRUE(view.Contains(root.left, root.top));
    EXPECT_EQ(view.LeafAt(root.left + root.width, onFirstItem), nullptr);
    EXPECT_FALSE(view.Contains(root.left + root.width, root.top));
    EXPECT_FALSE(view.Contains(root.left - 1, root.top));
    view.Close();
    EXPECT_EQ(view.LeafAt(root.left + 5, onFirstItem), nullptr);
}

}  // namespace
