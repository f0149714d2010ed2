// Dialogs from templates, system controls bound to objects, notifications reflected to the control
// that sent them and commands routed by the sending control's window.
#include "Dialog.h"
#include "PopupMenu.h"
#include "TrayIcon.h"
#include "DialogIds.h"
#include "UniqueHandle.h"
#include "Wnd.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// A system edit control with an object: it answers its own colour request and change notices.
class ColourEdit : public BaseWindow<ColourEdit> {
public:
    static MessageSpan MessageEntries();

    bool Create(HWND parent, int y)
    {
        return CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, y, 100, 20, parent, nullptr);
    }
    UniqueGdiObject<HBRUSH> brush{::CreateSolidBrush(RGB(1, 2, 3))};
    int changes = 0;
    std::vector<std::string> keys;

private:
    HBRUSH OnColour(HDC, HWND) { return brush.Get(); }
    void OnChange() { ++changes; }
    void OnChar(UINT character, UINT, UINT)
    {
        keys.push_back(std::string(1, static_cast<char>(character)));
        Default();
    }
};
MessageSpan ColourEdit::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnReflectCtlColor<WM_CTLCOLOREDIT, &ColourEdit::OnColour>(),
        OnReflectCommand<EN_CHANGE, &ColourEdit::OnChange>(),
        OnKey<WM_CHAR, &ColourEdit::OnChar>(),
    };
    return kEntries;
}

// A plain button object (no entries of its own).
class PlainButton : public CWnd {
public:
    bool Create(HWND parent, int y)
    {
        return CreateEx(0, "BUTTON", "Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, y, 60, 20, parent, nullptr);
    }
};

class ProbeDialog : public BaseWindow<ProbeDialog, CDialog> {
public:
    static MessageSpan MessageEntries();

    explicit ProbeDialog(UINT templateId = IDD_SKIN_POPUP) : BaseWindow(templateId) {}

    ColourEdit edit;
    ColourEdit secondEdit;
    PlainButton first;
    PlainButton second;
    PlainButton row[3];
    std::vector<std::string> calls;

protected:
    int OnCreate(CREATESTRUCTA& create)
    {
        calls.push_back("create");
        if (CWnd::OnCreate(create) == -1)
            return -1;
        edit.Create(m_hWnd, 0);
        secondEdit.Create(m_hWnd, 25);
        first.Create(m_hWnd, 50);
        second.Create(m_hWnd, 75);
        for (int i = 0; i < 3; ++i)
            row[i].Create(m_hWnd, 100 + 25 * i);
        return 0;
    }
    BOOL OnInitDialog() override
    {
        calls.push_back("init");
        return CDialog::OnInitDialog();
    }

private:
    void OnFirst() { calls.push_back("first"); }
    void OnSecond() { calls.push_back("second"); }
    void OnRow(std::size_t index) { calls.push_back("row " + std::to_string(index)); }
};
MessageSpan ProbeDialog::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnWmCreate<&ProbeDialog::OnCreate>(),
        OnControl<&ProbeDialog::first, &ProbeDialog::OnFirst>(),
        OnControl<&ProbeDialog::second, &ProbeDialog::OnSecond>(),
        OnControlArray<&ProbeDialog::row, &ProbeDialog::OnRow>(),
    };
    return kEntries;
}

void Click(const CWnd& button)
{
    ::SendMessageA(button.GetSafeHwnd(), BM_CLICK, 0, 0);
}

TEST(Dialog, ModelessDialogSeesCreateBeforeInitAndRoutesCommandsBySendingControl)
{
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ((std::vector<std::string>{"create", "init"}), dialog.calls);
    dialog.calls.clear();

    // All the buttons have control id 0; each click reaches the handler of its own object.
    Click(dialog.second);
    Click(dialog.row[2]);
    Click(dialog.first);
    Click(dialog.row[0]);
    EXPECT_EQ((std::vector<std::string>{"second", "row 2", "first", "row 0"}), dialog.calls);

    // The system's own behaviour of a bound control is its default processing.
    ::SetWindowTextA(dialog.edit.GetSafeHwnd(), "abc");
    char text[8] = {};
    ::GetWindowTextA(dialog.edit.GetSafeHwnd(), text, sizeof text);
    EXPECT_STREQ("abc", text);
    ::SendMessageA(dialog.edit.GetSafeHwnd(), WM_CHAR, 'x', 0);
    EXPECT_EQ(std::vector<std::string>{"x"}, dialog.edit.keys);
}

TEST(Dialog, NotificationsAreAnsweredByTheControlThatSentThem)
{
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HDC dc = ::GetDC(dialog.edit.GetSafeHwnd());
    const LRESULT brush = ::SendMessageA(dialog.GetSafeHwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(dialog.edit.GetSafeHwnd()));
    ::ReleaseDC(dialog.edit.GetSafeHwnd(), dc);
    EXPECT_EQ(reinterpret_cast<LRESULT>(dialog.edit.brush.Get()), brush);

    ::SetWindowTextA(dialog.secondEdit.GetSafeHwnd(), "typed");
    EXPECT_EQ(0, dialog.edit.changes) << "a change of one edit is not reported to the other";
    EXPECT_GE(dialog.secondEdit.changes, 1);
}

ProbeDialog* g_modal = nullptr;
HWND g_owner = nullptr;
bool g_ownerDisabled = false;

void CALLBACK ClickAndEnd(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_ownerDisabled = !::IsWindowEnabled(g_owner);
    Click(g_modal->first);
    g_modal->EndDialog(42);
}

void CALLBACK PostQuit(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::PostQuitMessage(7);
}

TEST(Dialog, ModalRunDisablesTheOwnerEndsWithItsCodeAndPassesQuitOn)
{
    ProbeDialog owner;
    ASSERT_TRUE(owner.Create(nullptr));
    ProbeDialog modal;
    g_modal = &modal;
    g_owner = owner.GetSafeHwnd();
    g_ownerDisabled = false;
    ::SetTimer(nullptr, 0, 200, &ClickAndEnd);
    EXPECT_EQ(42, modal.DoModal(owner.GetSafeHwnd()));
    const bool ownerDisabled = g_ownerDisabled;
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(owner.GetSafeHwnd()));
    EXPECT_EQ(nullptr, modal.GetSafeHwnd()) << "the window goes with the modal run";
    EXPECT_EQ("first", modal.calls.back());

    // A quit request during the run ends it with IDCANCEL and is left for the outer loop.
    ProbeDialog quitting;
    ::SetTimer(nullptr, 0, 100, &PostQuit);
    EXPECT_EQ(IDCANCEL, quitting.DoModal(nullptr));
    MSG message;
    ASSERT_TRUE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, message.wParam);
}

TEST(Dialog, MissingTemplateFailsCleanly)
{
    ProbeDialog modal(4321);
    EXPECT_EQ(-1, modal.DoModal(nullptr));
    ProbeDialog modeless(4321);
    EXPECT_FALSE(modeless.Create(nullptr));
    EXPECT_EQ(nullptr, modeless.GetSafeHwnd());
    // The failed attempts leave nothing bound: the next window is created normally.
    ProbeDialog next;
    EXPECT_TRUE(next.Create(nullptr));
    EXPECT_EQ("create", next.calls.front());
}

TEST(Dialog, ObjectGoingFirstHandsTheWindowBackToItsSystemClass)
{
    HWND hwnd = nullptr;
    {
        ProbeDialog dialog;
        ASSERT_TRUE(dialog.Create(nullptr));
        hwnd = dialog.first.GetSafeHwnd();
        EXPECT_EQ(&dialog.first, CWnd::FromHandle(hwnd));
    }
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(nullptr, CWnd::FromHandle(hwnd));
}

// An owner-drawn list that measures and draws its own rows, as the macro lists do.
class RowList : public BaseWindow<RowList> {
public:
    static MessageSpan MessageEntries();

    bool Create(HWND parent)
    {
        return CreateEx(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY, 0,
                        0, 200, 120, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(4096)));
    }
    int measured = 0;
    std::vector<std::string> drawn;

private:
    void OnMeasureItem(MEASUREITEMSTRUCT& item)
    {
        ++measured;
        item.itemHeight = 21;
    }
    void OnDrawItem(const DRAWITEMSTRUCT& item)
    {
        char text[32] = {};
        if (item.itemID != static_cast<UINT>(-1))
            SendMessage(LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
        drawn.push_back(text);
    }
};
MessageSpan RowList::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnReflectMeasureItem<&RowList::OnMeasureItem>(),
        OnReflectDrawItem<&RowList::OnDrawItem>(),
    };
    return kEntries;
}

TEST(Dialog, OwnerDrawnListMeasuresAndDrawsItsOwnRows)
{
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    RowList list;
    ASSERT_TRUE(list.Create(dialog.GetSafeHwnd()));
    EXPECT_EQ(1, list.measured) << "measured while it was created";
    EXPECT_EQ(21, list.SendMessage(LB_GETITEMHEIGHT, 0, 0));
    list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Macro one"));
    list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Macro two"));
    dialog.ShowWindow(SW_SHOW);
    ::UpdateWindow(list.GetSafeHwnd());
    EXPECT_NE(std::find(list.drawn.begin(), list.drawn.end(), "Macro two"), list.drawn.end());
}

void CALLBACK ChooseSecondItem(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    for (BYTE key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
        ::keybd_event(key, static_cast<BYTE>(::MapVirtualKeyA(key, 0)), 0, 0);
        ::keybd_event(key, static_cast<BYTE>(::MapVirtualKeyA(key, 0)), KEYEVENTF_KEYUP, 0);
    }
}

void CALLBACK DismissMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::keybd_event(VK_ESCAPE, static_cast<BYTE>(::MapVirtualKeyA(VK_ESCAPE, 0)), 0, 0);
    ::keybd_event(VK_ESCAPE, static_cast<BYTE>(::MapVirtualKeyA(VK_ESCAPE, 0)), KEYEVENTF_KEYUP, 0);
}

TEST(PopupMenu, TrackReturnsTheChosenCommandOrZeroWhenDismissed)
{
    ProbeDialog owner;
    ASSERT_TRUE(owner.Create(nullptr));
    owner.ShowWindow(SW_SHOW);
    CPopupMenu menu;
    ASSERT_TRUE(menu.AppendItem(MF_STRING, 2000, "First set"));
    ASSERT_TRUE(menu.AppendItem(MF_STRING, 2001, "Second set"));
    ASSERT_TRUE(menu.AppendItem(MF_SEPARATOR, 0, nullptr));
    CPopupMenu sub;
    ASSERT_TRUE(sub.AppendItem(MF_STRING, 3000, "Inner"));
    ASSERT_TRUE(menu.AppendSubmenu(0, std::move(sub), "More"));
    EXPECT_EQ(nullptr, sub.Get()) << "the submenu now belongs to the menu";

    ::SetTimer(nullptr, 0, 300, &ChooseSecondItem);
    EXPECT_EQ(2001u, menu.Track(owner.GetSafeHwnd(), 100, 100));
    ::SetTimer(nullptr, 0, 300, &DismissMenu);
    EXPECT_EQ(0u, menu.Track(owner.GetSafeHwnd(), 100, 100));
}

// A window whose command table records the menu commands it gets, as the host's window does.
class CommandWindow : public BaseWindow<CommandWindow> {
public:
    static MessageSpan MessageEntries();

    std::vector<UINT> commands;

private:
    void OnFirst() { commands.push_back(2000); }
    void OnSecond() { commands.push_back(2001); }
};
MessageSpan CommandWindow::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnCommand<2000, &CommandWindow::OnFirst>(),
        OnCommand<2001, &CommandWindow::OnSecond>(),
    };
    return kEntries;
}

void HandlePendingMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
}

TEST(PopupMenu, TheChoiceReachesTheOwnersCommandTableAndTheDefaultItemIsMarked)
{
    CommandWindow owner;
    ASSERT_TRUE(
        owner.CreateEx(0, nullptr, "Tray menu owner", WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, nullptr, nullptr));
    CPopupMenu menu;
    ASSERT_TRUE(menu.AppendItem(MF_STRING, 2000, "Configuration"));
    ASSERT_TRUE(menu.AppendItem(MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(menu.AppendItem(MF_STRING, 2001, "Exit"));
    ASSERT_TRUE(menu.SetDefaultItem(2000));
    EXPECT_EQ(::GetMenuDefaultItem(menu.Get(), FALSE, 0), 2000u);
    EXPECT_FALSE(menu.SetDefaultItem(4711)) << "no such item";

    ::SetTimer(nullptr, 0, 300, &ChooseSecondItem); // down twice passes the separator: "Exit"
    EXPECT_EQ(2001u, menu.TrackAndPost(owner.GetSafeHwnd(), 100, 100, TPM_LEFTBUTTON));
    EXPECT_TRUE(owner.commands.empty()) << "the command arrives after the menu has closed, not inside it";
    HandlePendingMessages();
    EXPECT_EQ(owner.commands, std::vector<UINT>{2001});

    ::SetTimer(nullptr, 0, 300, &DismissMenu);
    EXPECT_EQ(0u, menu.TrackAndPost(owner.GetSafeHwnd(), 100, 100, TPM_LEFTBUTTON));
    HandlePendingMessages();
    EXPECT_EQ(owner.commands, std::vector<UINT>{2001}) << "a dismissed menu posts nothing";
}

// The system's menu as PlainPopupMenu makes it from a menu model: what the tray shows, item by item,
// and the states a model can ask for.
TEST(PopupMenu, APlainMenuShowsTheModelsItemsAndStates)
{
    const CPopupMenu tray = PlainPopupMenu(TrayMenu());
    ASSERT_EQ(3, ::GetMenuItemCount(tray.Get()));
    char text[64] = {};
    ::GetMenuStringA(tray.Get(), 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Configuration", text);
    EXPECT_NE(0u, ::GetMenuState(tray.Get(), 1, MF_BYPOSITION) & MF_SEPARATOR);
    ::GetMenuStringA(tray.Get(), 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Exit", text);
    EXPECT_EQ(static_cast<UINT>(::GetMenuItemID(tray.Get(), 0)), ::GetMenuDefaultItem(tray.Get(), FALSE, 0));

    Menu inner;
    inner.items = {CommandItem("Chosen", 3001, true), CommandItem("Greyed", 3002)};
    inner.items[1].disabled = true;
    Menu outer;
    outer.items = {SubmenuItem("More", inner)};
    const CPopupMenu plain = PlainPopupMenu(outer);
    HMENU sub = ::GetSubMenu(plain.Get(), 0);
    ASSERT_NE(nullptr, sub);
    EXPECT_EQ(2, ::GetMenuItemCount(sub));
    EXPECT_NE(0u, ::GetMenuState(sub, 3001, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(0u, ::GetMenuState(sub, 3001, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_NE(0u, ::GetMenuState(sub, 3002, MF_BYCOMMAND) & MF_GRAYED);
}

} // namespace
