#include "BitmapBtn.h"

#include "Gdi.h"
#include "SkinMessages.h"
#include "SkinScale.h"

namespace {

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
    ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) & ~WS_TABSTOP);
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
        ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) & ~(WS_BORDER | WS_TABSTOP));
    Invalidate(false);
}

void CBitmapBtn::SetCaption(const std::string& caption)
{
    m_caption = caption;
    Invalidate(false);
}

void CBitmapBtn::SetChecked(int checked)
{
    if (m_checked == (checked != 0))
        return;
    m_checked = checked != 0;
    Invalidate(false);
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

void CBitmapBtn::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    const ButtonLookState state{m_toggleMode, m_checked, (item.itemState & ODS_SELECTED) != 0, m_highlighted,
                                (item.itemState & ODS_DISABLED) != 0};
    HBITMAP picture = StateBitmap(ChooseButtonPicture(state));
    const RECT client = GetClientRect();
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    MemoryDc pictureDc(item.hDC);
    SelectScope selectPicture(pictureDc.Get(), picture);
    if (m_caption.empty()) {
        if (picture != nullptr)
            ::BitBlt(item.hDC, 0, 0, width, height, pictureDc.Get(), 0, 0, SRCCOPY);
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
    Apply(OnButtonFocusLost());
    Default();
}

void CBitmapBtn::OnLButtonDown(UINT keys, POINT point)
{
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
