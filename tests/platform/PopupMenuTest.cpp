#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/MessagePump.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowMessages.h"
#include "platform/k_PopupMenuView.h"
#include "platform/k_Window.h"
#include "platform/RecordingEngine.h"

namespace {

struct Choice {
    std::wstring label;
    std::uintptr_t userData;
    const MenuItem* item;
};

std::vector<Choice>& Choices() {
    static std::vector<Choice> choices;
    return choices;
}

void RecordChoice(MenuItem* item) {
    Choices().push_back({item->label, item->userData, item});
}

MenuItem Leaf(const std::wstring& label, MenuCallback callback = RecordChoice, std::uintptr_t userData = 0) {
    MenuItem item;
    item.label = label;
    item.callback = callback;
    item.userData = userData;
    return item;
}

MenuItem Submenu(const std::wstring& label, std::vector<MenuItem> children) {
    MenuItem item;
    item.label = label;
    item.children = std::move(children);
    return item;
}

// Leaves in depth-first order: A 0, B 1, C 2, D 3.
MenuItem EditorMenu() {
    return Submenu(L"root", {Leaf(L"A", RecordChoice, 11), Submenu(L"Sub", {Leaf(L"B"), Submenu(L"Deep", {Leaf(L"C")})}),
                             Leaf(L"D")});
}

// The middle of item `index` of a panel.
int ItemCentreY(const k_PopupMenuView::Panel& panel, int index) {
    return k_PopupMenuView::ItemTop(panel, index) + k_PopupMenuView::kItemHeight / 2;
}

class PopupMenu : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        Choices().clear();
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_EVENTS); }

    LResult Send(unsigned int message, WParam wParam = 0, LParam lParam = 0) {
        return window.HandleMessage(message, wParam, lParam);
    }
    void Command(int id) { Send(WM_COMMAND, static_cast<WParam>(id)); }

    // Runs the queued messages through the window as the entry's pump would (the window was
    // never opened, so the messages carry no window to dispatch to).
    void RunQueuedMessages() {
        Message message;
        while (PeekMessage(message)) {
            Send(message.message, message.wParam, message.lParam);
        }
    }

    const std::vector<k_PopupMenuView::Panel>& PopupMenuPanels() { return window.GetPopupMenuView().GetPanels(); }

    std::vector<std::wstring> ChosenLabels() {
        std::vector<std::wstring> labels;
        for (const Choice& choice : Choices()) {
            labels.push_back(choice.label);
        }
        return labels;
    }

    RecordingEngine engine;
    k_Window window{&engine, L"Editor", 800, 600, false};
    MessageBoxRecorder boxes;
};

// ---------------------------------------------------------------- the menu model

TEST_F(PopupMenu, LeavesAreNumberedInDepthFirstOrder) {
    window.SetPopupMenu(EditorMenu());
    for (int id = 0; id < 4; ++id) {
        Command(id);
    }
    EXPECT_EQ(ChosenLabels(), (std::vector<std::wstring>{L"A", L"B", L"C", L"D"}));
    EXPECT_TRUE(MessageBoxRecorder::Boxes().empty());
}

TEST_F(PopupMenu, CallbacksGetTheWindowsOwnCopyWithHandlesOnSubmenusOnly) {
    MenuItem menu = EditorMenu();
    menu.children[0].menuHandle = &menu;  // stale handles in the given menu are not kept
    window.SetPopupMenu(menu);
    menu.children[0].label = L"changed afterwards";
    Command(0);
    ASSERT_EQ(Choices().size(), 1u);
    EXPECT_EQ(Choices()[0].label, L"A");
    EXPECT_EQ(Choices()[0].userData, 11u);
    const MenuItem& copy = window.GetPopupMenu();
    EXPECT_EQ(Choices()[0].item, &copy.children[0]);

    EXPECT_NE(copy.menuHandle, nullptr);
    EXPECT_EQ(copy.children[0].menuHandle, nullptr);
    EXPECT_NE(copy.children[1].menuHandle, nullptr);
    EXPECT_NE(copy.children[1].children[1].menuHandle, nullptr);
    EXPECT_NE(copy.children[1].menuHandle, copy.menuHandle);
    EXPECT_EQ(copy.children[1].children[1].children[0].menuHandle, nullptr);
}

TEST_F(PopupMenu, ItemsWithoutACallbackAndUnknownIdsShowTheNotImplementedMessage) {
    window.SetPopupMenu(Submenu(L"root", {Leaf(L"A"), Leaf(L"Later", nullptr)}));
    Command(1);
    Command(99);
    Command(-1);
    EXPECT_TRUE(Choices().empty());
    ASSERT_EQ(MessageBoxRecorder::Boxes().size(), 3u);
    for (const auto& box : MessageBoxRecorder::Boxes()) {
        EXPECT_EQ(box.text, L"This menu item has not been implemented yet!");
        EXPECT_EQ(box.caption, L"Quillo 2D Game - Level Editor");
    }
    Command(0);  // the unknown ids entered on the way leave the real ones alone
    EXPECT_EQ(ChosenLabels(), std::vector<std::wstring>{L"A"});
}

TEST_F(PopupMenu, ReplacingTheMenuForgetsTheOldCommands) {
    window.SetPopupMenu(EditorMenu());
    window.SetPopupMenu(Submenu(L"root", {Leaf(L"Only")}));
    Command(0);
    Command(3);
    EXPECT_EQ(ChosenLabels(), std::vector<std::wstring>{L"Only"});
    EXPECT_EQ(MessageBoxRecorder::Boxes().size(), 1u);
}

TEST_F(PopupMenu, MenuCanBeReplacedByOneOfItsOwnSubmenus) {
    window.SetPopupMenu(EditorMenu());
    window.SetPopupMenu(window.GetPopupMenu().children[1]);
    EXPECT_EQ(window.GetPopupMenu().label, L"Sub");
    Command(0);
    Command(1);
    EXPECT_EQ(ChosenLabels(), (std::vector<std::wstring>{L"B", L"C"}));
}

TEST_F(PopupMenu, RootWithoutChildrenLeavesRightClicksToDefaultHandling) {
    window.SetPopupMenu(EditorMenu());
    window.SetPopupMenu(MenuItem());
    EXPECT_EQ(window.GetPopupMenu().menuHandle, nullptr);
    EXPECT_EQ(Send(WM_RBUTTONUP, 0, MakeLParam(10, 10)), 0);
    EXPECT_FALSE(window.GetPopupMenuView().IsOpen());
    Command(0);
    EXPECT_EQ(MessageBoxRecorder::Boxes().size(), 1u);
}

// ---------------------------------------------------------------- the menu on screen

TEST_F(PopupMenu, LeftClickOnALeafRunsItsCallbackThroughAPostedCommand) {
    window.SetPopupMenu(EditorMenu());
    EXPECT_EQ(Send(WM_RBUTTONUP, 0, MakeLParam(100, 50)), 0);
    ASSERT_TRUE(window.GetPopupMenuView().IsOpen());
    k_PopupMenuView::Panel panel = PopupMenuPanels()[0];
    EXPECT_EQ(panel.left, 100);
    EXPECT_EQ(panel.top, 50);

    LParam onD = MakeLParam(panel.left + 10, ItemCentreY(panel, 2));
    Send(WM_MOUSEMOVE, 0, onD);
    Send(WM_LBUTTONDOWN, 0, onD);
    Send(WM_LBUTTONUP, 0, onD);
    EXPECT_FALSE(window.GetPopupMenuView().IsOpen());
    EXPECT_TRUE(Choices().empty()) << "the command is posted, not run inside the click";
    RunQueuedMessages();
    EXPECT_EQ(ChosenLabels(), std::vector<std::wstring>{L"D"});
    EXPECT_TRUE(engine.mouse.empty()) << "the open menu takes the mouse";
}

TEST_F(PopupMenu, SubmenusOpenOnHoverAndTheirLeavesCanBeChosen) {
    window.SetPopupMenu(EditorMenu());
    Send(WM_RBUTTONUP, 0, MakeLParam(100, 50));
    k_PopupMenuView::Panel root = PopupMenuPanels()[0];
    Send(WM_MOUSEMOVE, 0, MakeLParam(root.left + 10, ItemCentreY(root, 1)));
    ASSERT_EQ(PopupMenuPanels().size(), 2u);
    k_PopupMenuView::Panel sub = PopupMenuPanels()[1];
    Send(WM_MOUSEMOVE, 0, MakeLParam(sub.left + 10, ItemCentreY(sub, 1)));
    ASSERT_EQ(PopupMenuPanels().size(), 3u);
    k_PopupMenuView::Panel deep = PopupMenuPanels()[2];

    LParam onSubmenuItem = MakeLParam(sub.left + 10, ItemCentreY(sub, 1));
    Send(WM_LBUTTONUP, 0, onSubmenuItem);  // a submenu item is not a choice
    EXPECT_TRUE(window.GetPopupMenuView().IsOpen());
    LParam onC = MakeLParam(deep.left + 10, ItemCentreY(deep, 0));
    Send(WM_MOUSEMOVE, 0, onC);
    Send(WM_LBUTTONUP, 0, onC);
    RunQueuedMessages();
    EXPECT_EQ(ChosenLabels(), std::vector<std::wstring>{L"C"});
}

TEST_F(PopupMenu, EscapeClosesTheMenuWithoutReachingTheKeyTable) {
    window.SetPopupMenu(EditorMenu());
    Send(WM_KEYDOWN, 'A');
    Send(WM_RBUTTONUP, 0, MakeLParam(100, 50));
    Send(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(window.GetPopupMenuView().IsOpen());
    EXPECT_FALSE(window.IsKeyDown(VK_ESCAPE)) << "Escape would end the game's loop";

    Send(WM_RBUTTONUP, 0, MakeLParam(100, 50));
    Send(WM_KEYUP, 'A');  // releases pass on, so 'A' does not stay down
    EXPECT_FALSE(window.IsKeyDown('A'));
    EXPECT_TRUE(window.GetPopupMenuView().IsOpen());
    std::vector<KeyEvent> expected = {{'A', true}, {'A', false}};
    EXPECT_EQ(engine.keys, expected);
}

TEST_F(PopupMenu, ClickOutsideClosesTheMenuAndChoosesNothing) {
    window.SetPopupMenu(EditorMenu());
    Send(WM_RBUTTONUP, 0, MakeLParam(100, 50));
    Send(WM_LBUTTONDOWN, 0, MakeLParam(5, 5));
    EXPECT_FALSE(window.GetPopupMenuView().IsOpen());
    Send(WM_RBUTTONUP, 0, MakeLParam(100, 50));
    Send(WM_RBUTTONDOWN, 0, MakeLParam(5, 5));
    EXPECT_FALSE(window.GetPopupMenuView().IsOpen());
    RunQueuedMessages();
    EXPECT_TRUE(Choices().empty());
    EXPECT_TRUE(engine.mouse.empty());
}

TEST_F(PopupMenu, ResizingOrReplacingTheMenuClosesIt) {
    window.SetPopupMenu(EditorMenu());
    Send(WM_RBUTTONUP, 0, MakeLParam(100, 50));
    Send(WM_SIZE, SIZE_RESTORED, MakeLParam(640, 480));
    EXPECT_FALSE(window.GetPopupMenuView().IsOpen());
    Send(WM_RBUTTONUP, 0, MakeLParam(100, 50));
    window.SetPopupMenu(EditorMenu());
    EXPECT_FALSE(window.GetPopupMenuView().IsOpen());
}

// ---------------------------------------------------------------- layout and hit testing

TEST(PopupMenuView, StaysInsideTheAreaOpeningLeftOrAboveThePointWhereItMust) {
    MenuItem menu = EditorMenu();
    k_PopupMenuView view;
    view.Open(menu, 790, 590, 800, 600);
    const k_PopupMenuView::Panel& panel = view.GetPanels()[0];
    EXPECT_EQ(panel.left + panel.width, 790);
    EXPECT_EQ(panel.top + panel.height, 590);

    MenuItem tall;
    for (int index = 0; index < 40; ++index) {
        tall.children.push_back(Leaf(L"item"));
    }
    view.Open(tall, 10, 10, 800, 600);
    EXPECT_EQ(view.GetPanels()[0].top, 0) << "a menu taller than the window starts at its top";
}

TEST(PopupMenuView, SubmenuOpensBesideItsItemOrOnTheLeftWhenThereIsNoRoom) {
    MenuItem menu = EditorMenu();
    k_PopupMenuView view;
    view.Open(menu, 0, 0, 800, 600);
    k_PopupMenuView::Panel root = view.GetPanels()[0];
    view.MoveTo(root.left + 5, ItemCentreY(root, 1));
    ASSERT_EQ(view.GetPanels().size(), 2u);
    EXPECT_EQ(view.GetPanels()[0].highlighted, 1);
    EXPECT_EQ(view.GetPanels()[1].left, root.left + root.width);
    EXPECT_EQ(view.GetPanels()[1].top, k_PopupMenuView::ItemTop(root, 1) - k_PopupMenuView::kBorder);
    EXPECT_EQ(view.GetPanels()[1].menu, &menu.children[1]);

    view.Open(menu, 800 - root.width, 0, 800, 600);
    root = view.GetPanels()[0];
    view.MoveTo(root.left + 5, ItemCentreY(root, 1));
    ASSERT_EQ(view.GetPanels().size(), 2u);
    EXPECT_EQ(view.GetPanels()[1].left + view.GetPanels()[1].width, root.left);
}

TEST(PopupMenuView, HoverKeepsTheOpenPathAndClosesSubmenusOfOtherItems) {
    MenuItem menu = EditorMenu();
    k_PopupMenuView view;
    view.Open(menu, 0, 0, 800, 600);
    k_PopupMenuView::Panel root = view.GetPanels()[0];
    view.MoveTo(root.left + 5, ItemCentreY(root, 1));
    k_PopupMenuView::Panel sub = view.GetPanels()[1];
    view.MoveTo(sub.left + 5, ItemCentreY(sub, 1));
    ASSERT_EQ(view.GetPanels().size(), 3u);

    view.MoveTo(root.left + 6, ItemCentreY(root, 1) + 1);  // still on the item that opened them
    EXPECT_EQ(view.GetPanels().size(), 3u);
    view.MoveTo(790, 590);  // on no panel
    EXPECT_EQ(view.GetPanels().size(), 3u);
    view.MoveTo(sub.left + 5, ItemCentreY(sub, 0));
    EXPECT_EQ(view.GetPanels().size(), 2u);
    view.MoveTo(root.left + 5, ItemCentreY(root, 2));
    ASSERT_EQ(view.GetPanels().size(), 1u);
    EXPECT_EQ(view.GetPanels()[0].highlighted, 2);
}

TEST(PopupMenuView, OnlyLeavesUnderThePointAreChoices) {
    MenuItem menu = EditorMenu();
    k_PopupMenuView view;
    view.Open(menu, 20, 30, 800, 600);
    k_PopupMenuView::Panel root = view.GetPanels()[0];
    EXPECT_EQ(view.LeafAt(root.left + 5, ItemCentreY(root, 0)), &menu.children[0]);
    EXPECT_EQ(view.LeafAt(root.left + 5, ItemCentreY(root, 1)), nullptr);  // a submenu
    EXPECT_EQ(view.LeafAt(root.left, root.top), nullptr);                  // the border
    EXPECT_TRUE(view.Contains(root.left, root.top));
    EXPECT_EQ(view.LeafAt(root.left + root.width, ItemCentreY(root, 0)), nullptr);
    EXPECT_FALSE(view.Contains(root.left + root.width, root.top));
    EXPECT_FALSE(view.Contains(root.left - 1, root.top));
    view.Close();
    EXPECT_EQ(view.LeafAt(root.left + 5, ItemCentreY(root, 0)), nullptr);
}

}  // namespace
