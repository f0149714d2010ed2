// The key menu as the user meets it: real menus of the owner-drawn CExMenu over a real window,
// opened and driven with the real keyboard and pointer, checked through what the screen shows,
// the commands the owner receives and the menu windows' procedures; and the key page, whose key
// button opens the menu and whose caption shows the choice.
#include "ConfigDocument.h"
#include "ExMenuTree.h"
#include "KeyCommands.h"
#include "KeyMenu.h"
#include "KeyPageDlg.h"
#include "MainView.h"
#include "MenuFrameHook.h"
#include "ScreenShot.h"
#include "SkinDialog.h"
#include "SkinMessages.h"
#include "TempFolder.h"
#include "TestLibraries.h"
#include "WinKeyboardLayout.h"
#include "WinTestInput.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr POINT kMenuAt{120, 120};
constexpr COLORREF kBackground = 0x000000;
constexpr COLORREF kHighlight = 0xDEA035;
constexpr COLORREF kLine = 0xDEA035;
constexpr COLORREF kText = 0xFFFFFF;
constexpr COLORREF kCurrent = 0xFFBF44;
constexpr COLORREF kFrame = 0xDEA035;
// Text is drawn smoothed where the system smooths fonts: a glyph's core is the colour, its edges
// blend into the fill.
constexpr int kTextTolerance = 40;
// The mark colour is near the highlight (within 33 in each channel): marks are told apart closely.
constexpr int kMarkTolerance = 12;
// How long a script waits before it closes a menu its keys left open, so that a test fails rather
// than hangs when a walk goes astray.
constexpr DWORD kMenuGuardMs = 1500;
constexpr UINT kMenuSizeWindow = 0x01E2;

// A window that takes the key menu's commands, as the key page does.
class MenuOwner : public BaseWindow<MenuOwner> {
public:
    static MessageSpan MessageEntries()
    {
        static constexpr MessageEntry kEntries[] = {
            OnCommandRange<kFirstKeyCommand, kLastKeyCommand, &MenuOwner::OnKeyCommand>(),
        };
        return kEntries;
    }
    ~MenuOwner() override { DestroyWindow(); }

    bool Create()
    {
        if (!CreateEx(0, nullptr, "key menu owner", WS_POPUP | WS_VISIBLE, 20, 20, 80, 60, nullptr, nullptr))
            return false;
        ::SetForegroundWindow(m_hWnd);
        Pump(100);
        return true;
    }
    std::vector<UINT> commands;

private:
    void OnKeyCommand(UINT id) { commands.push_back(id); }
};

BOOL CALLBACK CollectMenuWindow(HWND window, LPARAM parameter)
{
    char name[16] = {};
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) && ::GetClassNameA(window, name, sizeof name) &&
        std::string(name) == "#32768")
        reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

// The menu windows on the screen, the last opened (topmost) first.
std::vector<HWND> OpenMenuWindows()
{
    std::vector<HWND> found;
    ::EnumWindows(&CollectMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Keys for a menu: pressed at once and left queued, because the menu's own loop must read them
// (a pump here would take them from it).
void PressKeys(const std::vector<BYTE>& keys)
{
    for (BYTE key : keys)
        PressKey(key);
}

// Closes whatever menu is still open.
void CloseMenusLeftOpen()
{
    const size_t open = OpenMenuWindows().size();
    for (size_t i = 0; i < open; ++i)
        PressKey(VK_ESCAPE);
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

RECT ItemRect(HMENU menu, UINT position)
{
    RECT rect{};
    ::GetMenuItemRect(nullptr, menu, position, &rect);
    return rect;
}

int Area(const RECT& r)
{
    return (r.right - r.left) * (r.bottom - r.top);
}

// The right end of an item, where the submenu arrow is drawn.
RECT ArrowArea(const RECT& item)
{
    return RECT{item.right - 16, item.top, item.right - 2, item.bottom};
}

RECT Union(const std::vector<HWND>& windows)
{
    RECT all{};
    for (HWND window : windows) {
        const RECT r = WindowRect(window);
        ::UnionRect(&all, &all, &r);
    }
    return all;
}

std::string ScreenshotPath(const std::string& name)
{
    return std::string(TOLK_SCREENSHOTS) + name;
}

// A key that plays macro "Boost" of set "R&D"; the library also holds "Jump", a second set and a
// timer.
struct Libraries {
    Libraries()
    {
        macros.push_back(TestSet("R&D"));
        macros.back()->Elements.push_back(TestMacro("Boost", 0));
        macros.back()->Elements.push_back(TestMacro("Jump", 1));
        macros.push_back(TestSet("Raid"));
        timers.push_back(TestTimer(180, "Egg"));
        key.KeyNumber = 1;
        key.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
        CopyToField(key.MacroSetName, "R&D");
        CopyToField(key.MacroName, "Boost");
    }
    MacroLibrary macros;
    TimerLibrary timers;
    ButtonInfo key{};
};

class KeyMenuWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::SetCursorPos(1000, 900);
        ASSERT_TRUE(CMenuFrameHook::InstallHook());
        ASSERT_TRUE(owner.Create());
    }
    void TearDown() override
    {
        owner.DestroyWindow();
        CMenuFrameHook::RemoveHook();
        Pump(50);
    }

    UINT Track(CExMenu& menu)
    {
        const UINT chosen = menu.Track(owner.GetSafeHwnd(), kMenuAt.x, kMenuAt.y);
        Pump(100);
        return chosen;
    }

    MenuOwner owner;
    Libraries libraries;
};

TEST_F(KeyMenuWindows, ItemsAreDrawnInTheProgramsColoursWithTheMarkTheArrowsAndTheFlatFrame)
{
    CExMenuTree menus(BuildKeyMenu(libraries.key, libraries.macros, libraries.timers));
    ASSERT_EQ(menus.MenuCount(), 7u) << "root, macros, two sets, timers, media, web";
    HMENU root = menus.Root().Get();
    HMENU macroMenu = ::GetSubMenu(root, 0);
    HMENU setMenu = ::GetSubMenu(macroMenu, 2);
    ASSERT_NE(setMenu, nullptr);
    const unsigned decoratedBefore = CMenuFrameHook::DecorationCount();
    const unsigned restoredBefore = CMenuFrameHook::RestorationCount();

    struct Seen {
        bool rootFramed = false;
        int rootFrameInnerBlack = 0;
        bool rootDecorated = false;
        int rootFill = 0, rootArea = 0;
        int macroText = 0, shortcutText = 0;
        int macroArrow = 0, timerArrow = 0, shortcutArrow = 0;
        int highlightedFill = 0, highlightedArea = 0;
        int setMarked = 0, createMarked = 0, separatorLine = 0, raidMarked = 0;
        int boostMarked = 0, jumpMarked = 0, jumpText = 0;
        size_t windowsOpen = 0;
        bool allDecorated = false;
        bool saved = false;
    } seen;

    TimedSteps script;
    script.Then(400, [&] {
        const std::vector<HWND> windows = OpenMenuWindows();
        if (windows.empty())
            return;
        const RECT frame = WindowRect(windows.front());
        const ScreenCapture screen(frame);
        seen.rootDecorated = CMenuFrameHook::IsDecorated(windows.front());
        seen.rootFramed = screen.At(POINT{frame.left, frame.top}) == kFrame &&
                          screen.At(POINT{frame.right - 1, frame.bottom - 1}) == kFrame &&
                          screen.At(POINT{frame.left, (frame.top + frame.bottom) / 2}) == kFrame;
        seen.rootFrameInnerBlack =
            screen.Count(RECT{frame.left + 1, frame.top + 1, frame.left + 3, frame.bottom - 1}, kBackground);
        const RECT macroItem = ItemRect(root, 0);
        const RECT shortcutItem = ItemRect(root, 1);
        const RECT timerItem = ItemRect(root, 2);
        seen.rootFill = screen.Count(shortcutItem, kBackground);
        seen.rootArea = Area(shortcutItem);
        seen.macroText = screen.Count(macroItem, kText, kTextTolerance);
        seen.shortcutText = screen.Count(shortcutItem, kText, kTextTolerance);
        seen.macroArrow = screen.Count(ArrowArea(macroItem), kText, kTextTolerance);
        seen.timerArrow = screen.Count(ArrowArea(timerItem), kText, kTextTolerance);
        seen.shortcutArrow = screen.Count(ArrowArea(shortcutItem), kText, kTextTolerance);
        PressKey(VK_DOWN); // "Assign Macro" highlighted
    });
    script.Then(300, [&] {
        const RECT macroItem = ItemRect(root, 0);
        seen.highlightedFill = ScreenCapture(macroItem).Count(macroItem, kHighlight);
        seen.highlightedArea = Area(macroItem);
        PressKey(VK_RIGHT); // its submenu, "Create New Macro..." selected
    });
    script.Then(400, [&] {
        const RECT create = ItemRect(macroMenu, 0);
        const RECT separator = ItemRect(macroMenu, 1);
        const RECT set = ItemRect(macroMenu, 2);
        const RECT raid = ItemRect(macroMenu, 3);
        RECT all{};
        ::UnionRect(&all, &create, &raid);
        const ScreenCapture screen(all);
        seen.createMarked = screen.Count(create, kCurrent, kMarkTolerance);
        seen.separatorLine = screen.Count(separator, kLine);
        seen.setMarked = screen.Count(set, kCurrent, kMarkTolerance);
        seen.raidMarked = screen.Count(raid, kCurrent, kMarkTolerance);
        PressKeys({VK_DOWN, VK_RIGHT}); // the set "R&D" (the separator is passed over), opened
    });
    script.Then(400, [&] {
        const std::vector<HWND> windows = OpenMenuWindows();
        seen.windowsOpen = windows.size();
        seen.allDecorated = std::all_of(windows.begin(), windows.end(), &CMenuFrameHook::IsDecorated);
        const RECT boost = ItemRect(setMenu, 3);
        const RECT jump = ItemRect(setMenu, 4);
        const ScreenCapture screen(Union(windows));
        seen.boostMarked = screen.Count(boost, kCurrent, kMarkTolerance);
        seen.jumpMarked = screen.Count(jump, kCurrent, kMarkTolerance);
        seen.jumpText = screen.Count(jump, kText, kTextTolerance);
        RECT shot = Union(windows);
        ::InflateRect(&shot, 10, 10);
        seen.saved = ScreenCapture(shot).SavePng(ScreenshotPath("key_menu_submenus.png"));
        PressKeys({VK_ESCAPE, VK_ESCAPE, VK_ESCAPE});
    });
    script.Then(kMenuGuardMs, &CloseMenusLeftOpen);
    script.Start();
    EXPECT_EQ(Track(menus.Root()), 0u) << "dismissed";

    EXPECT_TRUE(seen.rootDecorated);
    EXPECT_TRUE(seen.rootFramed) << "the outer line of the menu window is the frame colour";
    EXPECT_GT(seen.rootFrameInnerBlack, 0) << "black lines inside it";
    EXPECT_GT(seen.rootFill, seen.rootArea / 2) << "a normal item is black";
    EXPECT_GT(seen.shortcutText, 10) << "with white text";
    EXPECT_GT(seen.macroText, seen.macroArrow);
    EXPECT_GT(seen.macroArrow, 3) << "a submenu item shows the arrow";
    EXPECT_GT(seen.timerArrow, 3);
    EXPECT_EQ(seen.shortcutArrow, 0) << "a command has no arrow";
    EXPECT_GT(seen.highlightedFill, seen.highlightedArea / 2) << "the selected item is filled with the highlight";
    EXPECT_GT(seen.separatorLine, 20) << "a separator is a line in the line colour";
    EXPECT_GT(seen.setMarked, 5) << "the key's set is drawn in the mark colour";
    EXPECT_EQ(seen.createMarked, 0);
    EXPECT_EQ(seen.raidMarked, 0) << "another set is not marked";
    EXPECT_EQ(seen.windowsOpen, 3u);
    EXPECT_TRUE(seen.allDecorated) << "every menu window has the flat frame";
    EXPECT_GT(seen.boostMarked, 5) << "the key's macro is marked";
    EXPECT_EQ(seen.jumpMarked, 0);
    EXPECT_GT(seen.jumpText, 10);
    EXPECT_TRUE(seen.saved);

    EXPECT_TRUE(owner.commands.empty());
    EXPECT_EQ(CMenuFrameHook::DecorationCount() - decoratedBefore, 3u);
    EXPECT_EQ(CMenuFrameHook::RestorationCount() - restoredBefore, 3u) << "each closed menu window is restored";
    EXPECT_EQ(CMenuFrameHook::LiveCount(), 0u);
    EXPECT_TRUE(OpenMenuWindows().empty());
}

TEST_F(KeyMenuWindows, ChoicesByKeyboardSendTheCommandOfTheItem)
{
    CExMenuTree menus(BuildKeyMenu(libraries.key, libraries.macros, libraries.timers));
    const std::vector<std::vector<BYTE>> walks = {
        // "Multimedia", into it ("Open Player"), "Pre Track"
        {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN},
        // "Assign Macro", into it, set "R&D", into it, "Edit Macro...", "Boost", "Jump"
        {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN},
        // from the top upwards to the last item: "Button off"
        {VK_UP, VK_RETURN},
        // "Assign a timer", into it, the timer past "Stop Timer" and the separator
        {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN},
    };
    std::vector<UINT> returned;
    for (const std::vector<BYTE>& walk : walks) {
        TimedSteps script;
        script.Then(300, [&walk] { PressKeys(walk); });
        script.Then(kMenuGuardMs, &CloseMenusLeftOpen);
        script.Start();
        returned.push_back(menus.Root().TrackAndPost(owner.GetSafeHwnd(), kMenuAt.x, kMenuAt.y));
        Pump(150);
    }
    const std::vector<UINT> expected{1002, 1201, 1018, 1025};
    EXPECT_EQ(returned, expected);
    EXPECT_EQ(owner.commands, expected) << "each choice reaches the owner's command table once";
}

TEST_F(KeyMenuWindows, AMenuWindowIsDecoratedAtEveryShowingAndRestoredWhenItHides)
{
    // The menu window the system makes for each opening.
    CExMenuTree menus(BuildKeyMenu(libraries.key, libraries.macros, libraries.timers));
    for (int opening = 0; opening < 2; ++opening) {
        const unsigned decorated = CMenuFrameHook::DecorationCount();
        const unsigned restored = CMenuFrameHook::RestorationCount();
        HWND seenWindow = nullptr;
        bool decoratedWhileOpen = false;
        COLORREF corner = CLR_INVALID;
        TimedSteps script;
        script.Then(300, [&] {
            const std::vector<HWND> windows = OpenMenuWindows();
            if (!windows.empty()) {
                seenWindow = windows.front();
                decoratedWhileOpen =
                    CMenuFrameHook::IsDecorated(seenWindow) && ::GetPropA(seenWindow, "CoolMenu_oldProc") != nullptr;
                const RECT r = WindowRect(seenWindow);
                corner = ScreenPixel(POINT{r.left, r.top});
            }
            PressKey(VK_ESCAPE);
        });
        script.Then(kMenuGuardMs, &CloseMenusLeftOpen);
        script.Start();
        EXPECT_EQ(Track(menus.Root()), 0u);
        ASSERT_NE(seenWindow, nullptr) << "opening " << opening;
        EXPECT_TRUE(decoratedWhileOpen) << "opening " << opening;
        EXPECT_EQ(corner, kFrame) << "opening " << opening;
        EXPECT_EQ(CMenuFrameHook::DecorationCount() - decorated, 1u) << "opening " << opening;
        EXPECT_EQ(CMenuFrameHook::RestorationCount() - restored, 1u) << "opening " << opening;
        EXPECT_FALSE(CMenuFrameHook::IsDecorated(seenWindow));
        if (::IsWindow(seenWindow)) {
            EXPECT_EQ(::GetPropA(seenWindow, "CoolMenu_oldProc"), nullptr);
        }
    }

    // A menu window that the system keeps and sizes again for the next menu (as Windows does):
    // its own procedure is back whenever it hides, and it is decorated again for its next showing.
    CMenuFrameHook::RemoveHook();
    UniqueHwnd window(::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "#32768", "", WS_POPUP, 300, 300, 120, 60,
                                        nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(window);
    const LONG_PTR ownProcedure = ::GetWindowLongPtrA(window.Get(), GWLP_WNDPROC);
    EXPECT_FALSE(CMenuFrameHook::IsDecorated(window.Get())) << "made before the hook";
    ASSERT_TRUE(CMenuFrameHook::InstallHook());
    ASSERT_TRUE(CMenuFrameHook::InstallHook()) << "a second start keeps the one hook";
    for (int showing = 0; showing < 2; ++showing) {
        ::SendMessageA(window.Get(), kMenuSizeWindow, 0, 0);
        EXPECT_TRUE(CMenuFrameHook::IsDecorated(window.Get())) << "showing " << showing;
        EXPECT_NE(::GetWindowLongPtrA(window.Get(), GWLP_WNDPROC), ownProcedure);
        ::SetWindowPos(window.Get(), HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
        Pump(150);
        EXPECT_EQ(ScreenPixel(POINT{300, 300}), kFrame) << "showing " << showing;
        EXPECT_EQ(ScreenPixel(POINT{301, 330}), kBackground);
        ::ShowWindow(window.Get(), SW_HIDE);
        EXPECT_FALSE(CMenuFrameHook::IsDecorated(window.Get())) << "showing " << showing;
        EXPECT_EQ(::GetWindowLongPtrA(window.Get(), GWLP_WNDPROC), ownProcedure) << "showing " << showing;
        EXPECT_EQ(::GetPropA(window.Get(), "CoolMenu_oldProc"), nullptr);
    }
    ::SendMessageA(window.Get(), kMenuSizeWindow, 0, 0);
    ::SendMessageA(window.Get(), kMenuSizeWindow, 0, 0);
    EXPECT_EQ(CMenuFrameHook::LiveCount(), 1u) << "a decorated window is decorated once";
    // Removing the hook (the program's exit) gives every decorated window its procedure back.
    CMenuFrameHook::RemoveHook();
    EXPECT_FALSE(CMenuFrameHook::IsHookInstalled());
    EXPECT_EQ(::GetWindowLongPtrA(window.Get(), GWLP_WNDPROC), ownProcedure);
    EXPECT_EQ(CMenuFrameHook::LiveCount(), 0u);
    ::SendMessageA(window.Get(), kMenuSizeWindow, 0, 0);
    EXPECT_FALSE(CMenuFrameHook::IsDecorated(window.Get())) << "no hook, no decoration";

    // A decorated window that is destroyed leaves nothing behind.
    ASSERT_TRUE(CMenuFrameHook::InstallHook());
    ::SendMessageA(window.Get(), kMenuSizeWindow, 0, 0);
    ASSERT_EQ(CMenuFrameHook::LiveCount(), 1u);
    const unsigned restored = CMenuFrameHook::RestorationCount();
    window.Reset();
    EXPECT_EQ(CMenuFrameHook::LiveCount(), 0u);
    EXPECT_EQ(CMenuFrameHook::RestorationCount() - restored, 1u);
}

class NoHost final : public HostWindow {
public:
    bool SendApply(uint32_t) override { return false; }
};

// The main window as the key page sees it: it shows the working copy on the page.
class MainWindowStandIn : public KeyPageOwner {
public:
    explicit MainWindowStandIn(ConfigDocument& document) : m_document(document) {}
    void RefreshAll() override
    {
        ++refreshes;
        if (page != nullptr)
            page->Show(ComputeMainView(m_document.Working(), m_layout).keys);
    }
    void ApplyNow() override { ++applies; }
    std::string Text(UINT) const override { return "Assign a function to this key"; }
    // Without a dialog plugged in, a command that needs one changes nothing.
    bool RunKeyDialog(int keyIndex, const KeyCommandOutcome& outcome) override
    {
        return keyDialog ? keyDialog(keyIndex, outcome) : false;
    }

    CKeyPageDlg* page = nullptr;
    std::function<bool(int keyIndex, const KeyCommandOutcome& outcome)> keyDialog;
    int refreshes = 0;
    int applies = 0;

private:
    ConfigDocument& m_document;
    WinKeyboardLayout m_layout;
};

// Stands in for the main window's frame area the key page is shown in.
class PageFrame : public CWnd {
public:
    ~PageFrame() override { DestroyWindow(); }
    bool Create()
    {
        if (!CreateEx(0, nullptr, "key page frame", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 800, 420, nullptr, nullptr))
            return false;
        ShowWindow(SW_SHOW);
        ::SetForegroundWindow(m_hWnd);
        return true;
    }
};

class KeyPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSkinProgramFolder(TOLK_DIST);
        ::SetCursorPos(1000, 900);
        ASSERT_TRUE(CMenuFrameHook::InstallHook());
        document.Open(false);
        document.SelectSlot(2); // a fresh folder has no current slot
        document.Macros().push_back(TestSet("Raid"));
        document.Macros().back()->Elements.push_back(TestMacro("Boost", 0, {{0x04, 0, 50}, {0x04, 1, 50}}));
        ASSERT_TRUE(frame.Create());
        ASSERT_TRUE(page.Create(frame.GetSafeHwnd()));
        page.MoveWindow(RECT{0, 0, 790, 410});
        page.ShowWindow(SW_SHOW);
        owner.page = &page;
        owner.RefreshAll();
        Pump(200);
    }
    void TearDown() override
    {
        owner.page = nullptr;
        page.DestroyWindow();
        frame.DestroyWindow();
        CMenuFrameHook::RemoveHook();
        SetHintWindow(nullptr);
        SetSkinProgramFolder("");
        ::SetCursorPos(1000, 900);
        Pump(50);
    }

    // Clicks key (0..4) and walks its menu with keys: first opening, then the rest (a screenshot
    // is taken between them when named). What was seen while the menu was open.
    struct OpenMenu {
        bool open = false;
        RECT window{};
        bool keyHighlighted = false;
    };
    OpenMenu ChooseFromKeyMenu(int key, const std::vector<BYTE>& opening, const std::vector<BYTE>& choosing,
                               const std::string& screenshot = {})
    {
        OpenMenu seen;
        TimedSteps script;
        script.Then(500, [&] {
            const std::vector<HWND> windows = OpenMenuWindows();
            seen.open = windows.size() == 1;
            if (seen.open)
                seen.window = WindowRect(windows.front());
            seen.keyHighlighted = page.KeyButton(key).IsHighlighted();
            PressKeys(opening);
        });
        script.Then(400, [&] {
            if (!screenshot.empty()) {
                RECT shot = frame.GetWindowRect();
                const RECT menus = Union(OpenMenuWindows());
                ::UnionRect(&shot, &shot, &menus);
                ScreenCapture(shot).SavePng(ScreenshotPath(screenshot));
            }
            // The hand leaves the key while it chooses, so that only the page can light the key.
            ::SetCursorPos(1000, 900);
            PressKeys(choosing);
        });
        script.Then(kMenuGuardMs, &CloseMenusLeftOpen);
        script.Start();
        Click(CentreOf(page.KeyButton(key)));
        Pump(200);
        return seen;
    }

    TempFolder folder;
    NullSharedBlock block;
    NoHost host;
    ConfigDocument document{folder.Path(), block, host};
    MainWindowStandIn owner{document};
    PageFrame frame;
    CKeyPageDlg page{document, owner};
};

TEST_F(KeyPage, AKeysMenuOpensUnderItsButtonAndAChoiceRelabelsTheKey)
{
    ASSERT_NE(document.CurrentProfile(), nullptr);
    Profile& profile = *document.CurrentProfile();
    const RECT key = page.KeyButton(0).GetWindowRect();
    const ScreenCapture before(key);
    const int refreshes = owner.refreshes;

    // "Multimedia", into it ("Open Player"), down to "Volume Up".
    const OpenMenu seen =
        ChooseFromKeyMenu(0, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT},
                          {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, "key_page_menu.png");
    ASSERT_TRUE(seen.open) << "a click on key 1 opens its menu";
    EXPECT_EQ(seen.window.left, key.left) << "at the bottom-left corner of the key button";
    EXPECT_EQ(seen.window.top, key.bottom);
    EXPECT_TRUE(seen.keyHighlighted) << "the key being edited is highlighted while its menu is open";
    EXPECT_FALSE(page.KeyButton(0).IsHighlighted()) << "and no longer once it has closed";
    EXPECT_TRUE(OpenMenuWindows().empty());
    EXPECT_EQ(page.EditedKey(), 0);

    EXPECT_EQ(profile.Buttons[0].FunctionCode, static_cast<uint8_t>(KeyFunction::VolumeUp));
    EXPECT_GT(owner.refreshes, refreshes);
    EXPECT_EQ(owner.applies, 0) << "nothing is applied before Apply";
    Pump(100);
    const ScreenCapture afterMedia(key);
    int changed = 0;
    for (LONG y = key.top; y < key.bottom; ++y)
        for (LONG x = key.left; x < key.right; ++x)
            changed += before.At(POINT{x, y}) != afterMedia.At(POINT{x, y}) ? 1 : 0;
    EXPECT_GT(changed, 20) << "the key's caption on the screen shows the new function";

    // Key 3: "Assign Macro", into it, set "Raid", into it, "Edit Macro...", "Boost".
    const int otherRefreshes = owner.refreshes;
    const OpenMenu macro = ChooseFromKeyMenu(2, {VK_DOWN, VK_RIGHT, VK_DOWN, VK_RIGHT}, {VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(macro.open);
    EXPECT_EQ(macro.window.left, page.KeyButton(2).GetWindowRect().left);
    const ButtonInfo& third = profile.Buttons[2];
    EXPECT_EQ(third.FunctionCode, static_cast<uint8_t>(KeyFunction::Macro));
    EXPECT_STREQ(third.MacroSetName, "Raid");
    EXPECT_STREQ(third.MacroName, "Boost");
    EXPECT_EQ(third.MacroEventCount, 2);
    EXPECT_GT(owner.refreshes, otherRefreshes);
    EXPECT_EQ(profile.Buttons[0].FunctionCode, static_cast<uint8_t>(KeyFunction::VolumeUp)) << "key 1 untouched";
    EXPECT_EQ(page.EditedKey(), 2);
}

TEST_F(KeyPage, ACommandThatNeedsADialogRunsThePluggedDialogOrChangesNothing)
{
    ASSERT_NE(document.CurrentProfile(), nullptr);
    Profile& profile = *document.CurrentProfile();
    const ButtonInfo original = profile.Buttons[1];

    // No shortcut dialog yet: "Assign a shortcut" changes nothing.
    const int refreshes = owner.refreshes;
    ASSERT_TRUE(ChooseFromKeyMenu(1, {VK_DOWN, VK_DOWN}, {VK_RETURN}).open);
    EXPECT_EQ(0, std::memcmp(&profile.Buttons[1], &original, sizeof original));
    EXPECT_EQ(owner.refreshes, refreshes);

    // With one plugged in, it gets the key and the stored shortcut and its result is shown.
    std::vector<int> asked;
    owner.keyDialog = [&](int keyIndex, const KeyCommandOutcome& outcome) {
        EXPECT_EQ(outcome.dialog, KeyDialog::Shortcut);
        asked.push_back(keyIndex);
        EXPECT_EQ(outcome.shortcutKey, original.ShortcutKey);
        StoreShortcut(document.CurrentProfile()->Buttons[keyIndex], 0x3E, {0, 0, 1, 0, 0}); // Ctrl+F5
        return true;
    };
    ASSERT_TRUE(ChooseFromKeyMenu(1, {VK_DOWN, VK_DOWN}, {VK_RETURN}).open);
    EXPECT_EQ(asked, std::vector<int>{1});
    EXPECT_EQ(profile.Buttons[1].FunctionCode, static_cast<uint8_t>(KeyFunction::Shortcut));
    EXPECT_EQ(profile.Buttons[1].ShortcutKey, 0x3E);
    EXPECT_EQ(owner.refreshes, refreshes + 1);
}

} // namespace
