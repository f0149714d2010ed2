#include "BitmapBtn.h"

#include "Gdi.h"
#include "SkinMessages.h"

const MessageEntry CBitmapBtn::kMessageEntries[] = {
    OnReflect<WM_DRAWITEM, &CBitmapBtn::OnDrawItem>(),
    OnMessage<WM_MOUSEMOVE, &CBitmapBtn::OnMouseMove>(),
    OnMessage<WM_CAPTURECHANGED, &CBitmapBtn::OnCaptureChanged>(),
    OnMessage<WM_KILLFOCUS, &CBitmapBtn::OnKillFocus>(),
    OnMessage<WM_LBUTTONDOWN, &CBitmapBtn::OnLButtonDown>(),
    OnMessage<WM_LBUTTONUP, &CBitmapBtn::OnLButtonUp>(),
    OnMessage<WM_ERASEBKGND, &CBitmapBtn::OnEraseBkgnd>(),
};
const MessageTable CBitmapBtn::kMessages{&CWnd::kMessages, CBitmapBtn::kMessageEntries};

bool CBitmapBtn::Create(const RECT& rect, HWND parent)
{
    if (!CreateEx(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent, nullptr))
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
    case ButtonPicture::Over:
        return m_over.Get();
    case ButtonPicture::Down:
        return m_down.Get();
    case ButtonPicture::Disabled:
        return m_disabled.Get();
    case ButtonPicture::Normal:
        break;
    }
    return m_normal.Get();
}

LRESULT CBitmapBtn::OnDrawItem(WPARAM, LPARAM lParam)
{
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
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
        return TRUE;
    }
    MemoryDc back(item.hDC);
    UniqueBitmap backBitmap(::CreateCompatibleBitmap(item.hDC, width, height));
    SelectScope selectBack(back.Get(), backBitmap.Get());
    if (picture != nullptr)
        ::BitBlt(back.Get(), 0, 0, width, height, pictureDc.Get(), 0, 0, SRCCOPY);
    ::SetBkMode(back.Get(), TRANSPARENT);
    ::SetTextColor(back.Get(), RGB(0xE0, 0xE0, 0xE0));
    UniqueGdiObject<HFONT> font(::CreateFontA(14, 0, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                              DEFAULT_PITCH | FF_SWISS, "Eurostile"));
    SIZE extent{};
    {
        SelectScope selectFont(back.Get(), font.Get());
        ::GetTextExtentPoint32A(back.Get(), m_caption.c_str(), static_cast<int>(m_caption.size()), &extent);
        const int y = height / 2 - extent.cy / 2;
        ::TextOutA(back.Get(), client.left + 5, y, m_caption.c_str(), static_cast<int>(m_caption.size()));
        if (m_trademark) {
            UniqueGdiObject<HFONT> small(::CreateFontA(8, 0, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                                       DEFAULT_PITCH | FF_SWISS, "Eurostile"));
            SelectScope selectSmall(back.Get(), small.Get());
            ::TextOutA(back.Get(), client.left + 5 + extent.cx, y, "TM", 2);
        }
    }
    ::BitBlt(item.hDC, 0, 0, width, height, back.Get(), 0, 0, SRCCOPY);
    return TRUE;
}

LRESULT CBitmapBtn::OnMouseMove(WPARAM wParam, LPARAM)
{
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const bool hasCapture = ::GetCapture() == m_hWnd;
    const ButtonMouseInput input{(wParam & MK_LBUTTON) != 0,
                                 hasCapture,
                                 ::GetActiveWindow() != nullptr,
                                 GetOwnerOrParent() != nullptr,
                                 hasCapture && ::WindowFromPoint(cursor) == m_hWnd,
                                 m_highlighted};
    const ButtonMouseActions actions = OnButtonMouseMove(input);
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
    if (actions.releaseCapture)
        ::ReleaseCapture();
    return Default();
}

LRESULT CBitmapBtn::OnCaptureChanged(WPARAM, LPARAM)
{
    if (m_highlighted) {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        Invalidate(false);
    }
    return Default();
}

LRESULT CBitmapBtn::OnKillFocus(WPARAM, LPARAM)
{
    m_highlighted = false;
    ReportHover(0);
    Invalidate(false);
    return Default();
}

LRESULT CBitmapBtn::OnLButtonDown(WPARAM, LPARAM)
{
    HWND owner = GetOwnerOrParent();
    if (owner != nullptr) {
        HWND top = ::GetAncestor(owner, GA_ROOT);
        if (::GetActiveWindow() != top)
            ::SetActiveWindow(top);
    }
    return Default();
}

LRESULT CBitmapBtn::OnLButtonUp(WPARAM, LPARAM)
{
    if (!m_toggleMode)
        return Default();
    // The system button took the capture and its pushed look on the press; both end here, since
    // its own release (which would also report a click) does not run.
    SendMessage(BM_SETSTATE, FALSE, 0);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_checked = !m_checked;
    Invalidate(false);
    HWND parent = ::GetParent(m_hWnd);
    const int id = ::GetDlgCtrlID(m_hWnd);
    ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(m_hWnd));
    return 0;
}

LRESULT CBitmapBtn::OnEraseBkgnd(WPARAM, LPARAM)
{
    return 0;
}
