#include "BitmapBtn.h"

#include "Gdi.h"
#include "SkinAccessible.h"
#include "SkinDialog.h"
#include "SkinMessages.h"
#include "SkinScale.h"

#include <algorithm>
#include <vector>

namespace {

// The colour of the captions, which the focus mark is drawn in.
constexpr COLORREF kCaptionColour = RGB(0xE0, 0xE0, 0xE0);

// The caption's font: Eurostile (a sans serif where the system has none of that name).
UniqueGdiObject<HFONT> MakeCaptionFont(int percent, int height)
{
    return MakeFontAt(percent, height, 0, FW_NORMAL, "Eurostile", DEFAULT_PITCH | FF_SWISS);
}

} // namespace

MessageSpan CBitmapBtn::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnReflectDrawItem<&CBitmapBtn::OnDrawItem>(),
        OnMouse<WM_MOUSEMOVE, &CBitmapBtn::OnMouseMove>(),
        OnWmCaptureChanged<&CBitmapBtn::OnCaptureChanged>(),
        OnWmKillFocus<&CBitmapBtn::OnKillFocus>(),
        OnMouse<WM_LBUTTONDOWN, &CBitmapBtn::OnLButtonDown>(),
        OnMouse<WM_LBUTTONDBLCLK, &CBitmapBtn::OnLButtonDown>(),
        OnMouse<WM_LBUTTONUP, &CBitmapBtn::OnLButtonUp>(),
        OnWmEraseBkgnd<&CBitmapBtn::OnEraseBkgnd>(),
        OnWmDestroy<&CBitmapBtn::OnDestroy>(),
        OnWmSetFocus<&CBitmapBtn::OnSetFocus>(),
        OnMessage<WM_GETOBJECT, &CBitmapBtn::OnGetObject>(),
        OnMessage<WM_SKIN_ACCESS, &CBitmapBtn::OnSkinAccess>(),
    };
    return kEntries;
}

bool CBitmapBtn::Create(const RECT& rect, HWND parent)
{
    m_percent = SkinPercentOf(parent); // the scaling of the window it sits in
    m_captionFont = MakeCaptionFont(m_percent, 14);
    m_trademarkFont = MakeCaptionFont(m_percent, 8);
    if (!CreateChild("BUTTON", rect, parent, WS_VISIBLE))
        return false;
    const LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        m_highlighted = true;
        ReportHover(1);
    }
    SendMessage(BM_SETSTYLE, static_cast<WPARAM>((style & 0xFFFF & ~BS_TYPEMASK) | BS_OWNERDRAW), TRUE);
    ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) | WS_TABSTOP);
    UpdateAccessName();
    return true;
}

void CBitmapBtn::SetStateBitmaps(int x, int y, int right, int bottom, HBITMAP normal, HBITMAP over, HBITMAP down,
                                 HBITMAP disabled)
{
    ClientDc dc(m_hWnd);
    CutStateBitmap(dc.Get(), m_normal, normal, x, y, right, bottom);
    CutStateBitmap(dc.Get(), m_over, over, x, y, right, bottom);
    CutStateBitmap(dc.Get(), m_down, down, x, y, right, bottom);
    CutStateBitmap(dc.Get(), m_disabled, disabled, x, y, right, bottom);
    if (m_hWnd != nullptr)
        ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) & ~WS_BORDER);
    Invalidate(false);
}

void CBitmapBtn::SetCaption(const std::string& caption)
{
    m_caption = caption;
    UpdateAccessName();
    Invalidate(false);
}

void CBitmapBtn::SetHint(const std::string& hint)
{
    m_hint = hint;
    UpdateAccessName();
}

void CBitmapBtn::SetAccessPrefix(const std::string& prefix)
{
    m_accessPrefix = prefix;
    UpdateAccessName();
}

void CBitmapBtn::SetAccessName(const std::string& name)
{
    m_accessName = name;
    UpdateAccessName();
}

void CBitmapBtn::SetShortCaption(const std::string& caption)
{
    m_shortCaption = caption;
    UpdateAccessName();
}

void CBitmapBtn::SetRadioGroup(int group)
{
    m_radioGroup = group;
}

void CBitmapBtn::SetChecked(int checked)
{
    if (m_checked == (checked != 0))
        return;
    m_checked = checked != 0;
    if (m_hWnd != nullptr)
        NotifyAccessStateChange(m_hWnd);
    Invalidate(false);
}

ControlAccess CBitmapBtn::Access() const
{
    ControlAccessInput input;
    input.role = m_radioGroup > 0 ? ControlRole::RadioButton
                 : m_toggleMode   ? ControlRole::CheckBox
                                  : ControlRole::PushButton;
    input.caption = m_caption;
    input.hint = m_hint;
    input.prefix = m_accessPrefix;
    input.name = m_accessName;
    input.shortCaption = m_shortCaption;
    input.checked = m_checked;
    input.disabled = m_hWnd != nullptr && !IsWindowEnabled();
    ControlAccess access = DescribeControl(input);
    // A key beyond ASCII ("Alt+" and one byte of the ANSI code page) in upper case, as Alt+letter
    // matches it.
    if (!access.keyboardShortcut.empty())
        ::CharUpperBuffA(&access.keyboardShortcut.back(), 1);
    return access;
}

void CBitmapBtn::UpdateAccessName()
{
    if (m_hWnd == nullptr)
        return;
    const std::string name = Access().name;
    char current[512] = {};
    ::GetWindowTextA(m_hWnd, current, sizeof current);
    if (name == current)
        return;
    // The button draws itself from its pictures: the text is only read (the system's proxy, the
    // dialog manager), never drawn. '&' is doubled so that the text marks no access key.
    std::string text;
    for (char c : name) {
        text += c;
        if (c == '&')
            text += '&';
    }
    ::SetWindowTextA(m_hWnd, text.c_str());
    NotifyAccessNameChange(m_hWnd);
}

LRESULT CBitmapBtn::OnGetObject(WPARAM flags, LPARAM objectId)
{
    if (const LRESULT answer = AnswerGetObject(m_hWnd, flags, objectId))
        return answer;
    return Default();
}

LRESULT CBitmapBtn::OnSkinAccess(WPARAM, LPARAM access)
{
    return FillSkinAccess(access, Access());
}

void CBitmapBtn::ShowKeyboardFocus()
{
    if (m_focusCue)
        return;
    m_focusCue = true;
    Invalidate(false);
}

void CBitmapBtn::OnSetFocus(HWND)
{
    Default();
    NotifyAccessStateChange(m_hWnd);
}

void CBitmapBtn::Click()
{
    if (m_hWnd == nullptr || !IsWindowEnabled())
        return;
    if (m_toggleMode) {
        m_checked = !m_checked;
        NotifyAccessStateChange(m_hWnd);
        Invalidate(false);
    }
    const int id = ::GetDlgCtrlID(m_hWnd);
    ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(m_hWnd));
}

void CBitmapBtn::MoveInRadioGroup(ArrowKey key)
{
    struct Member {
        CBitmapBtn* button;
        ControlBox box;
    };
    std::vector<Member> members;
    for (HWND child = ::GetWindow(::GetParent(m_hWnd), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        auto* button = dynamic_cast<CBitmapBtn*>(CWnd::FromHandle(child));
        if (button == nullptr || button->m_radioGroup != m_radioGroup || !::IsWindowVisible(child) ||
            !::IsWindowEnabled(child))
            continue;
        RECT rect{};
        ::GetWindowRect(child, &rect);
        members.push_back({button, ControlBox{rect.left, rect.top, rect.right, rect.bottom}});
    }
    std::vector<ControlBox> boxes;
    for (const Member& member : members)
        boxes.push_back(member.box);
    const std::vector<std::size_t> order = ReadingOrder(boxes);
    const auto self =
        std::find_if(order.begin(), order.end(), [&](std::size_t i) { return members[i].button == this; });
    if (self == order.end())
        return;
    const std::size_t at = ArrowTarget(static_cast<std::size_t>(self - order.begin()), order.size(), key);
    CBitmapBtn* target = members[order[at]].button;
    ::SetFocus(target->GetSafeHwnd());
    target->ShowKeyboardFocus();
    if (target->GetChecked() == 0)
        target->Click();
}

bool CBitmapBtn::PreTranslateMessage(MSG& message)
{
    if (message.hwnd != m_hWnd || CSkinDialog::KeysRecorded())
        return false;
    const bool keyDown = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    const bool keyUp = message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
    if (!keyDown && !keyUp)
        return false;
    const bool alt = (::GetKeyState(VK_MENU) & 0x8000) != 0;
    const bool control = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool repeat = (message.lParam & (1L << 30)) != 0;
    const WPARAM key = message.wParam;
    if ((key == VK_SPACE || key == VK_RETURN) && !alt && !control) {
        HWND root = ::GetAncestor(m_hWnd, GA_ROOT);
        if (::SendMessageA(root, WM_SKIN_KEY_ACTIVATES, key, reinterpret_cast<LPARAM>(m_hWnd)) == 2)
            return false;
        if (keyDown && !repeat) {
            ShowKeyboardFocus();
            Click();
        }
        return true;
    }
    const bool menuKey = key == VK_APPS || (key == VK_F10 && shift && !alt && !control);
    if (menuKey && m_opensMenu) {
        if (keyDown && !repeat) {
            ShowKeyboardFocus();
            Click();
        }
        return true;
    }
    if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && !alt && !control) {
        if (keyDown && m_radioGroup > 0) {
            MoveInRadioGroup(key == VK_LEFT    ? ArrowKey::Left
                             : key == VK_UP    ? ArrowKey::Up
                             : key == VK_RIGHT ? ArrowKey::Right
                                               : ArrowKey::Down);
        }
        return true;
    }
    return false;
}

void CBitmapBtn::SetHighlight(int highlight)
{
    m_highlighted = highlight != 0;
    ReportHover(m_highlighted ? 1 : 0);
    Invalidate(false);
}

void CBitmapBtn::ReportHover(int state)
{
    if (m_hWnd != nullptr)
        ::PostMessageA(::GetParent(m_hWnd), WM_BUTTON_HOVER, static_cast<WPARAM>(state), static_cast<LPARAM>(m_tag));
    SkinHints().ButtonHover(m_hint);
    PostStatusHint(static_cast<WPARAM>(state));
}

ButtonPicture CBitmapBtn::CurrentPicture(bool pressed) const
{
    return ChooseButtonPicture(ButtonLookState{m_toggleMode, m_checked, pressed, m_highlighted, !IsWindowEnabled()});
}

HBITMAP CBitmapBtn::StateBitmap(ButtonPicture picture) const
{
    switch (picture) {
    case ButtonPicture::Over: return m_over.Get();
    case ButtonPicture::Down: return m_down.Get();
    case ButtonPicture::Disabled: return m_disabled.Get();
    case ButtonPicture::Normal: break;
    }
    return m_normal.Get();
}

void CBitmapBtn::OnDestroy()
{
    m_captionFont.Reset();
    m_trademarkFont.Reset();
    Default();
}

void DrawFocusMark(HDC dc, const RECT& frame, int percent)
{
    const int inset = ScaleValue(2, percent);
    const int thickness = ScaleValue(1, percent);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (width < 4 * inset + 2 * thickness || height < 4 * inset + 2 * thickness)
        return;
    LOGBRUSH brush{BS_SOLID, kCaptionColour, 0};
    UniqueGdiObject<HPEN> pen(::ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr));
    SelectScope selectPen(dc, pen.Get());
    SelectScope selectBrush(dc, ::GetStockObject(NULL_BRUSH));
    for (int line = 0; line < thickness; ++line)
        ::Rectangle(dc, frame.left + inset + line, frame.top + inset + line, frame.right - inset - line,
                    frame.bottom - inset - line);
}

void CBitmapBtn::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    const ButtonLookState state{m_toggleMode, m_checked, (item.itemState & ODS_SELECTED) != 0, m_highlighted,
                                (item.itemState & ODS_DISABLED) != 0};
    HBITMAP picture = StateBitmap(ChooseButtonPicture(state));
    const RECT client = GetClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    // The focus mark, once the user moves by keyboard.
    const bool focusMark = m_focusCue && (item.itemState & ODS_FOCUS) != 0;
    const auto drawFocusMark = [&](HDC dc) {
        if (focusMark)
            DrawFocusMark(dc, client, m_percent);
    };
    MemoryDc pictureDc(item.hDC);
    SelectScope selectPicture(pictureDc.Get(), picture);
    if (m_caption.empty()) {
        if (picture != nullptr)
            ::BitBlt(item.hDC, 0, 0, width, height, pictureDc.Get(), 0, 0, SRCCOPY);
        drawFocusMark(item.hDC);
        return;
    }
    BackBuffer back(m_hWnd, item.hDC);
    if (!back)
        return;
    if (picture != nullptr)
        ::BitBlt(back.Get(), 0, 0, width, height, pictureDc.Get(), 0, 0, SRCCOPY);
    ::SetBkMode(back.Get(), TRANSPARENT);
    ::SetTextColor(back.Get(), RGB(0xE0, 0xE0, 0xE0));
    SIZE extent{};
    {
        SelectScope selectFont(back.Get(), m_captionFont.Get());
        ::GetTextExtentPoint32A(back.Get(), m_caption.c_str(), static_cast<int>(m_caption.size()), &extent);
        const int y = height / 2 - extent.cy / 2;
        const int margin = ScaleValue(5, m_percent);
        ::TextOutA(back.Get(), client.left + margin, y, m_caption.c_str(), static_cast<int>(m_caption.size()));
        if (m_trademark) {
            SelectScope selectSmall(back.Get(), m_trademarkFont.Get());
            ::TextOutA(back.Get(), client.left + margin + extent.cx, y, "TM", 2);
        }
    }
    drawFocusMark(back.Get());
}

void CBitmapBtn::Apply(const ButtonMouseActions& actions)
{
    if (actions.setHighlighted) {
        m_highlighted = true;
        ReportHover(1);
    }
    if (actions.clearHighlighted) {
        m_highlighted = false;
        ReportHover(0);
    }
    if (actions.captureMouse)
        ::SetCapture(m_hWnd);
    if (actions.repaint)
        Invalidate(false);
    if (actions.releaseCapture && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CBitmapBtn::OnMouseMove(UINT keys, POINT)
{
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const bool hasCapture = ::GetCapture() == m_hWnd;
    Apply(OnButtonMouseMove(ButtonMouseInput{(keys & MK_LBUTTON) != 0, hasCapture, ::GetActiveWindow() != nullptr,
                                             GetOwnerOrParent() != nullptr,
                                             hasCapture && ::WindowFromPoint(cursor) == m_hWnd, m_highlighted}));
    Default();
}

void CBitmapBtn::OnCaptureChanged(HWND)
{
    Apply(OnButtonCaptureChanged(m_highlighted, ::GetCapture() == m_hWnd, m_pressing));
    Default();
}

void CBitmapBtn::OnKillFocus(HWND)
{
    if (m_focusCue) {
        m_focusCue = false;
        Invalidate(false);
    }
    Apply(OnButtonFocusLost());
    Default();
}

void CBitmapBtn::OnLButtonDown(UINT keys, POINT point)
{
    if (m_focusCue) {
        m_focusCue = false;
        Invalidate(false);
    }
    HWND owner = GetOwnerOrParent();
    HWND top = owner != nullptr ? ::GetAncestor(owner, GA_ROOT) : nullptr;
    if (ButtonPressActivatesWindow(owner != nullptr, ::GetActiveWindow() == top))
        ::SetActiveWindow(top);
    // The system's button takes the capture here for the press; it keeps it until the release.
    // A press soon after the last one comes as a double click, which the system's owner-drawn button
    // would report at once (BN_DOUBLECLICKED) instead of pressing: it gets a plain press, so that
    // every click is reported once, at its release, however quickly the clicks follow each other.
    m_pressing = true;
    DefaultProc(WM_LBUTTONDOWN, keys, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
    m_pressing = false;
}

void CBitmapBtn::OnLButtonUp(UINT, POINT)
{
    const ButtonReleaseActions actions = OnButtonLeftRelease(m_toggleMode, m_checked, ::GetCapture() == m_hWnd);
    if (actions.systemHandles) {
        Default();
        return;
    }
    if (actions.unpush)
        SendMessage(BM_SETSTATE, FALSE, 0);
    if (actions.releaseCapture)
        ::ReleaseCapture();
    m_checked = actions.checked;
    if (actions.repaint)
        Invalidate(false);
    if (actions.notifyParent) {
        const int id = ::GetDlgCtrlID(m_hWnd);
        ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(m_hWnd));
    }
}

bool CBitmapBtn::OnEraseBkgnd(HDC)
{
    return false;
}
