// The typed entries of the message tables, driven by real input: each handler gets the values the
// user's mouse and keyboard produced, notifications reach the control that handles its own, and an
// owner-drawn menu's items are measured and drawn by the menu's object.
#include "OwnerDrawnMenu.h"
#include "PopupMenu.h"
#include "UniqueHandle.h"
#include "WinTestInput.h"
#include "Wnd.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr POINT kOrigin{100, 100}; // the probe window's screen position
constexpr RECT kEditRect{10, 150, 110, 170};
constexpr RECT kVerticalBarRect{270, 10, 290, 130};
constexpr RECT kHorizontalBarRect{120, 170, 260, 190};
constexpr COLORREF kEditColour = RGB(10, 200, 30);

// Runs the thread's messages for a while, translating keys as the program's loop does.
void Pump(DWORD milliseconds)
{
    const DWORD end = ::GetTickCount() + milliseconds;
    do {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::Sleep(5);
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
}

void SendMouse(DWORD flags, DWORD data = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    ::SendInput(1, &input, sizeof input);
}

void Mouse(DWORD flags, DWORD data = 0)
{
    SendMouse(flags, data);
    Pump(80);
}

void Key(WORD virtualKey, bool up)
{
    SendKeyInput(static_cast<BYTE>(virtualKey), up);
}

void PressKey(WORD virtualKey)
{
    Key(virtualKey, false);
    Key(virtualKey, true);
}

void MoveTo(POINT screen)
{
    ::SetCursorPos(screen.x, screen.y);
    Pump(120);
}

POINT Screen(int x, int y)
{
    return POINT{kOrigin.x + x, kOrigin.y + y};
}

// One call of a handler, with the values it was given.
struct Event {
    std::string name;
    POINT point{};
    UINT a = 0; // keys, key, code, hit test, item
    UINT b = 0; // repeat count, position, mouse message, flags
    UINT c = 0; // key flags
    HWND window = nullptr;
    HMENU menu = nullptr;
    int delta = 0;
};

// A vertical scroll bar control that handles its own notifications.
class OwnScrollBar : public BaseWindow<OwnScrollBar> {
public:
    static MessageSpan MessageEntries()
    {
        static constexpr MessageEntry kEntries[] = {OnReflectScroll<WM_VSCROLL, &OwnScrollBar::OnScroll>()};
        return kEntries;
    }
    bool Create(HWND parent) { return CreateChild("SCROLLBAR", kVerticalBarRect, parent, WS_VISIBLE | SBS_VERT); }
    std::vector<Event> events;

private:
    void OnScroll(UINT code, int position, HWND bar)
    {
        Event event{"vscroll"};
        event.a = code;
        event.b = static_cast<UINT>(position);
        event.window = bar;
        events.push_back(event);
    }
};

class ProbeWindow : public BaseWindow<ProbeWindow> {
public:
    static MessageSpan MessageEntries();

    ~ProbeWindow() override { DestroyWindow(); }

    bool Create()
    {
        static const bool registered = RegisterWindowClass("TolkCrackerProbe", CS_DBLCLKS,
                                                           ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)),
                                                           reinterpret_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        if (!registered || !CreateEx(0, "TolkCrackerProbe", "cracker probe", WS_POPUP | WS_VISIBLE, kOrigin.x,
                                     kOrigin.y, 300, 200, nullptr, nullptr))
            return false;
        // Children without objects: they go with the window.
        m_edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, kEditRect.left, kEditRect.top,
                                   kEditRect.right - kEditRect.left, kEditRect.bottom - kEditRect.top, m_hWnd, nullptr,
                                   nullptr, nullptr);
        m_horizontalBar =
            ::CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, kHorizontalBarRect.left,
                              kHorizontalBarRect.top, kHorizontalBarRect.right - kHorizontalBarRect.left,
                              kHorizontalBarRect.bottom - kHorizontalBarRect.top, m_hWnd, nullptr, nullptr, nullptr);
        if (!verticalBar.Create(m_hWnd) || m_edit == nullptr || m_horizontalBar == nullptr)
            return false;
        ::SetScrollRange(verticalBar.GetSafeHwnd(), SB_CTL, 0, 100, TRUE);
        ::SetScrollRange(m_horizontalBar, SB_CTL, 0, 100, TRUE);
        for (int attempt = 0; attempt < 100 && ::GetForegroundWindow() != m_hWnd; ++attempt) {
            ::SetForegroundWindow(m_hWnd);
            Pump(20);
        }
        ::SetFocus(m_hWnd);
        Pump(100);
        return ::GetForegroundWindow() == m_hWnd;
    }

    HWND Edit() const { return m_edit; }
    HWND HorizontalBar() const { return m_horizontalBar; }

    // The events named name, in order.
    std::vector<Event> Named(const std::string& name) const
    {
        std::vector<Event> found;
        std::copy_if(events.begin(), events.end(), std::back_inserter(found),
                     [&](const Event& event) { return event.name == name; });
        return found;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const Event& event : events)
            names.push_back(event.name);
        return names;
    }

    std::vector<Event> events;
    OwnScrollBar verticalBar;
    UniqueGdiObject<HBRUSH> editBrush{::CreateSolidBrush(kEditColour)};
    bool ownCursor = true;

private:
    void Record(const char* name, UINT keys, POINT point)
    {
        Event event{name};
        event.a = keys;
        event.point = point;
        events.push_back(event);
    }
    void OnMouseMove(UINT keys, POINT point) { Record("move", keys, point); }
    void OnLButtonDown(UINT keys, POINT point) { Record("ldown", keys, point); }
    void OnLButtonUp(UINT keys, POINT point) { Record("lup", keys, point); }
    void OnLButtonDblClk(UINT keys, POINT point) { Record("ldouble", keys, point); }
    void OnRButtonDown(UINT keys, POINT point) { Record("rdown", keys, point); }
    void OnRButtonUp(UINT keys, POINT point)
    {
        Record("rup", keys, point);
        Default(); // the system turns it into WM_CONTEXTMENU
    }
    void OnRButtonDblClk(UINT keys, POINT point) { Record("rdouble", keys, point); }
    void OnMButtonDown(UINT keys, POINT point) { Record("mdown", keys, point); }
    void OnMButtonUp(UINT keys, POINT point) { Record("mup", keys, point); }
    void OnMButtonDblClk(UINT keys, POINT point) { Record("mdouble", keys, point); }
    void OnMouseWheel(UINT keys, int delta, POINT screen)
    {
        Event event{"wheel"};
        event.a = keys;
        event.delta = delta;
        event.point = screen;
        events.push_back(event);
    }
    void OnMouseLeave() { events.push_back(Event{"leave"}); }
    void RecordKey(const char* name, UINT key, UINT repeat, UINT flags)
    {
        Event event{name};
        event.a = key;
        event.b = repeat;
        event.c = flags;
        events.push_back(event);
    }
    void OnKeyDown(UINT key, UINT repeat, UINT flags) { RecordKey("keydown", key, repeat, flags); }
    void OnKeyUp(UINT key, UINT repeat, UINT flags) { RecordKey("keyup", key, repeat, flags); }
    void OnChar(UINT key, UINT repeat, UINT flags) { RecordKey("char", key, repeat, flags); }
    // Neither is handed on: Alt alone would start the menu mode.
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags) { RecordKey("syskeydown", key, repeat, flags); }
    void OnSysKeyUp(UINT key, UINT repeat, UINT flags) { RecordKey("syskeyup", key, repeat, flags); }
    void OnPaint(const PaintDc& paint)
    {
        Event event{"paint"};
        const RECT& area = paint.Paint().rcPaint;
        event.point = POINT{area.left, area.top};
        event.a = static_cast<UINT>(area.right);
        event.b = static_cast<UINT>(area.bottom);
        events.push_back(event);
    }
    bool OnEraseBkgnd(HDC dc)
    {
        Event event{"erase"};
        event.a = dc != nullptr ? 1 : 0;
        events.push_back(event);
        return true;
    }
    void RecordScroll(const char* name, UINT code, int position, HWND bar)
    {
        Event event{name};
        event.a = code;
        event.b = static_cast<UINT>(position);
        event.window = bar;
        events.push_back(event);
    }
    void OnHScroll(UINT code, int position, HWND bar) { RecordScroll("hscroll", code, position, bar); }
    void OnVScroll(UINT code, int position, HWND bar) { RecordScroll("vscroll", code, position, bar); }
    HBRUSH OnCtlColorEdit(HDC dc, HWND control)
    {
        Event event{"ctlcolor"};
        event.window = control;
        events.push_back(event);
        ::SetBkColor(dc, kEditColour);
        return editBrush.Get();
    }
    bool OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage)
    {
        Event event{"setcursor"};
        event.window = window;
        event.a = hitTest;
        event.b = mouseMessage;
        events.push_back(event);
        if (!ownCursor || hitTest != HTCLIENT)
            return Default() != 0;
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS)));
        return true;
    }
    void OnContextMenu(HWND window, POINT screen)
    {
        Event event{"contextmenu"};
        event.window = window;
        event.point = screen;
        events.push_back(event);
    }
    void OnCaptureChanged(HWND newCapture)
    {
        Event event{"capturechanged"};
        event.window = newCapture;
        events.push_back(event);
    }
    void OnKillFocus(HWND newFocus)
    {
        Event event{"killfocus"};
        event.window = newFocus;
        events.push_back(event);
    }
    void OnInitMenuPopup(HMENU menu, UINT position, bool windowMenu)
    {
        Event event{"initmenupopup"};
        event.menu = menu;
        event.a = position;
        event.b = windowMenu ? 1 : 0;
        events.push_back(event);
    }
    void OnMenuSelect(UINT item, UINT flags, HMENU menu)
    {
        Event event{"menuselect"};
        event.a = item;
        event.b = flags;
        event.menu = menu;
        events.push_back(event);
    }
    void OnMeasureItem(MEASUREITEMSTRUCT& item)
    {
        Event event{"measureitem"};
        event.a = item.CtlType;
        event.b = static_cast<UINT>(item.itemData);
        events.push_back(event);
        item.itemWidth = 80;
        item.itemHeight = 20;
    }
    void OnDrawItem(const DRAWITEMSTRUCT& item)
    {
        Event event{"drawitem"};
        event.a = item.CtlType;
        event.b = static_cast<UINT>(item.itemData);
        events.push_back(event);
    }

    HWND m_edit = nullptr;
    HWND m_horizontalBar = nullptr;
};

MessageSpan ProbeWindow::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnMouse<WM_MOUSEMOVE, &ProbeWindow::OnMouseMove>(),
        OnMouse<WM_LBUTTONDOWN, &ProbeWindow::OnLButtonDown>(),
        OnMouse<WM_LBUTTONUP, &ProbeWindow::OnLButtonUp>(),
        OnMouse<WM_LBUTTONDBLCLK, &ProbeWindow::OnLButtonDblClk>(),
        OnMouse<WM_RBUTTONDOWN, &ProbeWindow::OnRButtonDown>(),
        OnMouse<WM_RBUTTONUP, &ProbeWindow::OnRButtonUp>(),
        OnMouse<WM_RBUTTONDBLCLK, &ProbeWindow::OnRButtonDblClk>(),
        OnMouse<WM_MBUTTONDOWN, &ProbeWindow::OnMButtonDown>(),
        OnMouse<WM_MBUTTONUP, &ProbeWindow::OnMButtonUp>(),
        OnMouse<WM_MBUTTONDBLCLK, &ProbeWindow::OnMButtonDblClk>(),
        OnWmMouseWheel<&ProbeWindow::OnMouseWheel>(),
        OnWmMouseLeave<&ProbeWindow::OnMouseLeave>(),
        OnKey<WM_KEYDOWN, &ProbeWindow::OnKeyDown>(),
        OnKey<WM_KEYUP, &ProbeWindow::OnKeyUp>(),
        OnKey<WM_CHAR, &ProbeWindow::OnChar>(),
        OnKey<WM_SYSKEYDOWN, &ProbeWindow::OnSysKeyDown>(),
        OnKey<WM_SYSKEYUP, &ProbeWindow::OnSysKeyUp>(),
        OnWmPaint<&ProbeWindow::OnPaint>(),
        OnWmEraseBkgnd<&ProbeWindow::OnEraseBkgnd>(),
        OnScroll<WM_HSCROLL, &ProbeWindow::OnHScroll>(),
        OnScroll<WM_VSCROLL, &ProbeWindow::OnVScroll>(),
        OnCtlColor<WM_CTLCOLOREDIT, &ProbeWindow::OnCtlColorEdit>(),
        OnWmSetCursor<&ProbeWindow::OnSetCursor>(),
        OnWmContextMenu<&ProbeWindow::OnContextMenu>(),
        OnWmCaptureChanged<&ProbeWindow::OnCaptureChanged>(),
        OnWmKillFocus<&ProbeWindow::OnKillFocus>(),
        OnWmInitMenuPopup<&ProbeWindow::OnInitMenuPopup>(),
        OnWmMenuSelect<&ProbeWindow::OnMenuSelect>(),
        OnWmMeasureItem<&ProbeWindow::OnMeasureItem>(),
        OnWmDrawItem<&ProbeWindow::OnDrawItem>(),
    };
    return kEntries;
}

class Crackers : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::SetCursorPos(1000, 900);
        Pump(50);
        ASSERT_TRUE(window.Create());
        window.events.clear();
    }
    void TearDown() override
    {
        if (::GetCapture() != nullptr)
            ::ReleaseCapture();
        window.DestroyWindow();
        ::SetCursorPos(1000, 900);
        Pump(50);
    }

    ProbeWindow window;
};

TEST_F(Crackers, MouseButtonsMovesAndDoubleClicksArriveWithTheirPointAndKeys)
{
    MoveTo(Screen(30, 40));
    const std::vector<Event> moves = window.Named("move");
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().point.x, 30);
    EXPECT_EQ(moves.back().point.y, 40);
    const std::vector<Event> cursor = window.Named("setcursor");
    ASSERT_FALSE(cursor.empty());
    EXPECT_EQ(cursor.back().window, window.GetSafeHwnd());
    EXPECT_EQ(cursor.back().a, static_cast<UINT>(HTCLIENT));
    EXPECT_EQ(cursor.back().b, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS)))
        << "the handler's cursor, not the class's arrow";

    window.events.clear();
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    std::vector<std::string> names = window.Names();
    names.erase(std::remove(names.begin(), names.end(), "setcursor"), names.end());
    names.erase(std::remove(names.begin(), names.end(), "move"), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"ldown", "lup", "ldouble", "lup"}));
    const std::vector<Event> downs = window.Named("ldown");
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].a & MK_LBUTTON, static_cast<UINT>(MK_LBUTTON));
    EXPECT_EQ(downs[0].point.x, 30);
    EXPECT_EQ(downs[0].point.y, 40);
    ASSERT_EQ(window.Named("ldouble").size(), 1u);
    EXPECT_EQ(window.Named("ldouble")[0].point.y, 40);
    EXPECT_EQ(window.Named("lup")[0].a & MK_LBUTTON, 0u) << "released";

    // Shift held with the middle button; the right button's release brings the context menu.
    window.events.clear();
    MoveTo(Screen(50, 60));
    Key(VK_SHIFT, false);
    Pump(50);
    Mouse(MOUSEEVENTF_MIDDLEDOWN);
    Mouse(MOUSEEVENTF_MIDDLEUP);
    Key(VK_SHIFT, true);
    Pump(50);
    ASSERT_EQ(window.Named("mdown").size(), 1u);
    EXPECT_EQ(window.Named("mdown")[0].a & (MK_MBUTTON | MK_SHIFT), static_cast<UINT>(MK_MBUTTON | MK_SHIFT));
    EXPECT_EQ(window.Named("mup").size(), 1u);
    Mouse(MOUSEEVENTF_RIGHTDOWN);
    Mouse(MOUSEEVENTF_RIGHTUP);
    ASSERT_EQ(window.Named("rdown").size(), 1u);
    EXPECT_EQ(window.Named("rdown")[0].a & MK_RBUTTON, static_cast<UINT>(MK_RBUTTON));
    EXPECT_EQ(window.Named("rdown")[0].point.x, 50);
    const std::vector<Event> menus = window.Named("contextmenu");
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].window, window.GetSafeHwnd());
    EXPECT_EQ(menus[0].point.x, kOrigin.x + 50) << "screen coordinates";
    EXPECT_EQ(menus[0].point.y, kOrigin.y + 60);
}

TEST_F(Crackers, PointsLeftOfTheWindowAreNegativeAndTheWheelTurnsBothWays)
{
    MoveTo(Screen(20, 20));
    ::SetCapture(window.GetSafeHwnd());
    window.events.clear();
    MoveTo(POINT{kOrigin.x - 20, kOrigin.y - 5});
    const std::vector<Event> moves = window.Named("move");
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().point.x, -20);
    EXPECT_EQ(moves.back().point.y, -5);
    ::ReleaseCapture();
    Pump(50);
    ASSERT_EQ(window.Named("capturechanged").size(), 1u);
    EXPECT_EQ(window.Named("capturechanged")[0].window, nullptr);

    MoveTo(Screen(40, 30));
    window.events.clear();
    Mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA));
    Mouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA * 2);
    const std::vector<Event> wheel = window.Named("wheel");
    ASSERT_EQ(wheel.size(), 2u);
    EXPECT_EQ(wheel[0].delta, -WHEEL_DELTA) << "towards the user";
    EXPECT_EQ(wheel[1].delta, 2 * WHEEL_DELTA);
    EXPECT_EQ(wheel[0].point.x, kOrigin.x + 40) << "screen coordinates";
    EXPECT_EQ(wheel[0].point.y, kOrigin.y + 30);
}

TEST_F(Crackers, LeavingTheWindowLosingTheCaptureAndTheFocusNameTheWindowConcerned)
{
    MoveTo(Screen(60, 60));
    ASSERT_TRUE(window.TrackMouseLeave());
    window.events.clear();
    MoveTo(POINT{900, 800});
    Pump(600); // the system checks where the pointer went on a timer
    EXPECT_EQ(window.Named("leave").size(), 1u);

    ::SetCapture(window.GetSafeHwnd());
    ::SetCapture(window.Edit());
    Pump(30);
    ASSERT_EQ(window.Named("capturechanged").size(), 1u);
    EXPECT_EQ(window.Named("capturechanged")[0].window, window.Edit());
    ::ReleaseCapture();

    // A click into the edit field takes the focus from the window.
    ::SetFocus(window.GetSafeHwnd());
    Pump(30);
    window.events.clear();
    MoveTo(Screen((kEditRect.left + kEditRect.right) / 2, (kEditRect.top + kEditRect.bottom) / 2));
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    ASSERT_EQ(window.Named("killfocus").size(), 1u);
    EXPECT_EQ(window.Named("killfocus")[0].window, window.Edit());
    EXPECT_TRUE(window.Named("ldown").empty()) << "the click was the edit's";
}

TEST_F(Crackers, KeysArriveWithTheirCodeRepeatCountAndFlags)
{
    PressKey('A');
    Pump(100);
    const std::vector<Event> downs = window.Named("keydown");
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].a, static_cast<UINT>('A'));
    EXPECT_EQ(downs[0].b, 1u);
    EXPECT_EQ(downs[0].c & 0xFF, ::MapVirtualKeyA('A', 0)) << "scan code";
    EXPECT_EQ(downs[0].c & KF_UP, 0u);
    const std::vector<Event> chars = window.Named("char");
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].a, static_cast<UINT>('a'));
    const std::vector<Event> ups = window.Named("keyup");
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].a, static_cast<UINT>('A'));
    EXPECT_EQ(ups[0].c & KF_UP, static_cast<UINT>(KF_UP));

    window.events.clear();
    Key(VK_MENU, false);
    PressKey('X');
    Key(VK_MENU, true);
    Pump(100);
    const std::vector<Event> system = window.Named("syskeydown");
    const auto x = std::find_if(system.begin(), system.end(), [](const Event& e) { return e.a == 'X'; });
    ASSERT_NE(x, system.end()) << "Alt+X is a system key";
    EXPECT_EQ(x->c & KF_ALTDOWN, static_cast<UINT>(KF_ALTDOWN));
    EXPECT_TRUE(window.Named("keydown").empty());
}

TEST_F(Crackers, PaintGetsTheInvalidAreaAfterTheBackgroundAndControlsGetTheParentsColours)
{
    Pump(100);
    window.events.clear();
    RECT area{10, 12, 50, 40};
    ::InvalidateRect(window.GetSafeHwnd(), &area, TRUE);
    ::UpdateWindow(window.GetSafeHwnd());
    const std::vector<std::string> names = window.Names();
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[0], "erase");
    EXPECT_EQ(window.Named("erase")[0].a, 1u) << "with a device context";
    const std::vector<Event> paints = window.Named("paint");
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints[0].point.x, 10);
    EXPECT_EQ(paints[0].point.y, 12);
    EXPECT_EQ(paints[0].a, 50u);
    EXPECT_EQ(paints[0].b, 40u);

    window.events.clear();
    ::InvalidateRect(window.Edit(), nullptr, TRUE);
    ::UpdateWindow(window.Edit());
    Pump(50);
    const std::vector<Event> colours = window.Named("ctlcolor");
    ASSERT_FALSE(colours.empty());
    EXPECT_EQ(colours[0].window, window.Edit());
    EXPECT_EQ(ScreenPixel(Screen(kEditRect.right - 6, kEditRect.top + 6)), kEditColour) << "the handler's brush";
}

TEST_F(Crackers, ScrollBarsReportTheirCodeAndPositionAndAControlKeepsItsOwnNotifications)
{
    // A scroll bar follows the mouse in a loop of its own from the press to the release, so the
    // clicks are scripted.
    auto click = [](POINT at) {
        MoveTo(at);
        TimedSteps script;
        script.Then(10, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); });
        script.Then(150, [] { SendMouse(MOUSEEVENTF_LEFTUP); });
        script.Start();
        Pump(500);
    };
    const int arrow = ::GetSystemMetrics(SM_CYVSCROLL);
    // The down arrow of the vertical bar: the bar's object answers, the parent never hears of it.
    click(Screen((kVerticalBarRect.left + kVerticalBarRect.right) / 2, kVerticalBarRect.bottom - arrow / 2));
    ASSERT_FALSE(window.verticalBar.events.empty());
    EXPECT_EQ(window.verticalBar.events.front().a, static_cast<UINT>(SB_LINEDOWN));
    EXPECT_EQ(window.verticalBar.events.front().window, window.verticalBar.GetSafeHwnd());
    EXPECT_EQ(window.verticalBar.events.back().a, static_cast<UINT>(SB_ENDSCROLL));
    EXPECT_TRUE(window.Named("vscroll").empty());

    // The horizontal bar has no object: its parent gets the notifications.
    const int width = ::GetSystemMetrics(SM_CXHSCROLL);
    const int y = (kHorizontalBarRect.top + kHorizontalBarRect.bottom) / 2;
    click(Screen(kHorizontalBarRect.right - width / 2, y));
    std::vector<Event> scrolls = window.Named("hscroll");
    ASSERT_FALSE(scrolls.empty());
    EXPECT_EQ(scrolls.front().a, static_cast<UINT>(SB_LINERIGHT));
    EXPECT_EQ(scrolls.front().window, window.HorizontalBar());

    // Dragging the thumb to the right reports where it went.
    window.events.clear();
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetScrollBarInfo(window.HorizontalBar(), OBJID_CLIENT, &info));
    const int thumb = (info.xyThumbTop + info.xyThumbBottom) / 2;
    MoveTo(Screen(kHorizontalBarRect.left + thumb, y));
    TimedSteps drag;
    drag.Then(10, [] { SendMouse(MOUSEEVENTF_LEFTDOWN); });
    for (int step = 1; step <= 6; ++step)
        drag.Then(40, [=] { ::SetCursorPos(kOrigin.x + kHorizontalBarRect.left + thumb + step * 10, kOrigin.y + y); });
    drag.Then(60, [] { SendMouse(MOUSEEVENTF_LEFTUP); });
    drag.Start();
    Pump(900);
    scrolls = window.Named("hscroll");
    const auto tracked =
        std::find_if(scrolls.begin(), scrolls.end(), [](const Event& e) { return e.a == SB_THUMBTRACK && e.b > 0; });
    EXPECT_NE(tracked, scrolls.end());
    const auto placed =
        std::find_if(scrolls.begin(), scrolls.end(), [](const Event& e) { return e.a == SB_THUMBPOSITION; });
    ASSERT_NE(placed, scrolls.end());
    EXPECT_GT(placed->b, 1u);
    EXPECT_LE(placed->b, 100u);
}

// Swatches of colour, one per item; the item data is the colour.
class SwatchMenu : public COwnerDrawnMenu {
public:
    struct Drawn {
        ULONG_PTR data;
        UINT state;
        RECT rect;
    };
    std::vector<ULONG_PTR> measured;
    std::vector<Drawn> drawn;

protected:
    void MeasureItem(MEASUREITEMSTRUCT& item, ULONG_PTR data) override
    {
        measured.push_back(data);
        item.itemWidth = 120;
        item.itemHeight = 24;
    }
    void DrawItem(const DRAWITEMSTRUCT& item, ULONG_PTR data) override
    {
        drawn.push_back(Drawn{data, item.itemState, item.rcItem});
        UniqueGdiObject<HBRUSH> brush(::CreateSolidBrush(static_cast<COLORREF>(data)));
        ::FillRect(item.hDC, &item.rcItem, brush.Get());
    }
};

constexpr COLORREF kRed = RGB(220, 20, 20);
constexpr COLORREF kBlue = RGB(20, 20, 220);

TEST_F(Crackers, OwnerDrawnMenuItemsAreMeasuredAndDrawnByTheMenuAndTheOwnerSeesTheMenuOpenAndSelect)
{
    SwatchMenu menu;
    ASSERT_TRUE(menu.AppendDrawnItem(0, 501, kRed, "Red"));
    ASSERT_TRUE(menu.AppendDrawnItem(0, 502, kBlue));
    ASSERT_TRUE(menu.AppendItem(MF_STRING, 503, "Plain"));
    // A screen reader reads an owner-drawn item's name from the MSAAMENUINFO its item data points at.
    for (const auto& [position, name] : {std::pair<UINT, std::wstring>{0, L"Red"}, {1, L""}}) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        ASSERT_TRUE(::GetMenuItemInfoW(menu.Get(), position, TRUE, &info));
        const auto* access = reinterpret_cast<const MSAAMENUINFO*>(info.dwItemData);
        ASSERT_NE(access, nullptr);
        EXPECT_EQ(access->dwMSAASignature, static_cast<DWORD>(MSAA_MENU_SIG));
        EXPECT_EQ(std::wstring(access->pszWText, access->cchWText), name);
    }

    COLORREF redOnScreen = CLR_INVALID;
    COLORREF blueOnScreen = CLR_INVALID;
    TimedSteps script;
    script.Then(400, [&] {
        HWND popup = ::FindWindowA("#32768", nullptr);
        for (const SwatchMenu::Drawn& item : menu.drawn) {
            POINT centre{(item.rect.left + item.rect.right) / 2, (item.rect.top + item.rect.bottom) / 2};
            ::ClientToScreen(popup, &centre);
            (item.data == kRed ? redOnScreen : blueOnScreen) = ScreenPixel(centre);
        }
        PressKey(VK_DOWN);
    });
    script.Then(300, [] { PressKey(VK_ESCAPE); });
    script.Start();
    const BOOL chosen = ::TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, kOrigin.x + 20,
                                         kOrigin.y + 20, 0, window.GetSafeHwnd(), nullptr);
    Pump(100);
    EXPECT_EQ(chosen, 0) << "dismissed";

    EXPECT_EQ(menu.measured, (std::vector<ULONG_PTR>{kRed, kBlue}));
    ASSERT_GE(menu.drawn.size(), 2u);
    EXPECT_EQ(redOnScreen, kRed) << "the menu's own drawing is what the user sees";
    EXPECT_EQ(blueOnScreen, kBlue);
    const bool redSelected = std::any_of(menu.drawn.begin(), menu.drawn.end(), [](const SwatchMenu::Drawn& d) {
        return d.data == kRed && (d.state & ODS_SELECTED) != 0;
    });
    EXPECT_TRUE(redSelected) << "Down highlights the first item";
    EXPECT_TRUE(window.Named("measureitem").empty()) << "the owner's table never saw the menu's items";
    EXPECT_TRUE(window.Named("drawitem").empty());

    const std::vector<Event> opened = window.Named("initmenupopup");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].menu, menu.Get());
    EXPECT_EQ(opened[0].b, 0u) << "not the window menu";
    const std::vector<Event> selected = window.Named("menuselect");
    const auto first = std::find_if(selected.begin(), selected.end(), [](const Event& e) { return e.a == 501; });
    ASSERT_NE(first, selected.end());
    EXPECT_EQ(first->menu, menu.Get());
    EXPECT_NE(first->b & MF_OWNERDRAW, 0u);
    ASSERT_FALSE(selected.empty());
    EXPECT_EQ(selected.back().b, 0xFFFFu) << "closed";
    EXPECT_EQ(selected.back().menu, nullptr);
}

TEST_F(Crackers, ItemDataOfAMenuWithoutAnObjectGoesToTheOwnersTable)
{
    SwatchMenu live; // a live owner-drawn menu whose records the foreign data must not be taken for
    ASSERT_TRUE(live.AppendDrawnItem(0, 601, kRed));
    CPopupMenu plain;
    ASSERT_TRUE(plain.AppendOwnerDrawn(0, 701, 0x1234));
    TimedSteps script;
    script.Then(300, [] { PressKey(VK_ESCAPE); });
    script.Start();
    ::TrackPopupMenu(plain.Get(), TPM_RETURNCMD, kOrigin.x + 20, kOrigin.y + 20, 0, window.GetSafeHwnd(), nullptr);
    Pump(50);
    const std::vector<Event> measured = window.Named("measureitem");
    ASSERT_EQ(measured.size(), 1u);
    EXPECT_EQ(measured[0].a, static_cast<UINT>(ODT_MENU));
    EXPECT_EQ(measured[0].b, 0x1234u);
    EXPECT_FALSE(window.Named("drawitem").empty());
    EXPECT_TRUE(live.measured.empty());
    EXPECT_TRUE(live.drawn.empty());
}

// A window that takes a range of menu commands, beside a button whose control id is in the range.
class RangeWindow : public BaseWindow<RangeWindow> {
public:
    static MessageSpan MessageEntries()
    {
        static constexpr MessageEntry kEntries[] = {
            OnCommandRange<1000, 6500, &RangeWindow::OnRangeCommand>(),
        };
        return kEntries;
    }
    ~RangeWindow() override { DestroyWindow(); }
    std::vector<UINT> commands;

private:
    void OnRangeCommand(UINT id) { commands.push_back(id); }
};

TEST_F(Crackers, MenuCommandsOfARangeArriveWithTheirIdAndControlsWithSuchIdsDoNot)
{
    RangeWindow owner;
    ASSERT_TRUE(
        owner.CreateEx(0, nullptr, "range", WS_POPUP | WS_VISIBLE, kOrigin.x, kOrigin.y, 200, 100, nullptr, nullptr));
    CWnd button;
    ASSERT_TRUE(button.CreateChild("BUTTON", RECT{10, 10, 90, 40}, owner.GetSafeHwnd(), WS_VISIBLE, 1000, "b"));
    CPopupMenu menu;
    for (UINT id : {999u, 1000u, 6500u, 6501u})
        ASSERT_TRUE(menu.AppendItem(MF_STRING, id, "item"));
    // The user picks each item in turn from the menu (Down n times, Return).
    for (int item = 0; item < 4; ++item) {
        TimedSteps script;
        script.Then(200, [item] {
            for (int i = 0; i <= item; ++i)
                PressKey(VK_DOWN);
            PressKey(VK_RETURN);
        });
        script.Start();
        ::TrackPopupMenu(menu.Get(), TPM_LEFTALIGN, kOrigin.x + 20, kOrigin.y + 20, 0, owner.GetSafeHwnd(), nullptr);
        Pump(100);
    }
    // A click of the button with id 1000 is a control's notification, not a menu command.
    button.SendMessage(BM_CLICK);
    Pump(50);
    EXPECT_EQ(owner.commands, (std::vector<UINT>{1000, 6500}));
}

} // namespace
