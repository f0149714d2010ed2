#include "TimingList.h"

#include "BitmapBtn.h"
#include "Gdi.h"
#include "SkinAccessible.h"
#include "SkinDialog.h"
#include "SkinFile.h"
#include "SkinScale.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

// Relative to the timing list.
constexpr int kRowTop = 32;
constexpr int kRowPitch = 14;
constexpr int kRowHeight = 13;
constexpr int kSliderLeft = 72;
constexpr int kLabelLeft = 2;
constexpr int kLabelRight = 61;
constexpr RECT kVerticalScroll{455, 25, 474, 306};
constexpr RECT kHorizontalScroll{66, 307, 456, 327};
constexpr int kScaleLeft = 65;
constexpr int kScalePitch = 64;
constexpr int kScaleTop = 6;
// The strip of the time scale that is repainted when the numbers change.
constexpr RECT kScaleStrip{65, 2, 452, 22};
// Around the key names: the focus mark lies in the gaps beside them.
constexpr RECT kFocusFrame{-2, kRowTop - 4, kLabelRight + 4, kRowTop + kRowPitch * kTimingRowCount + 3};

// The rows' font (Arial 12 high, 7 wide), the time scale's in bold.
UniqueGdiObject<HFONT> MakeRowFont(int percent, int weight)
{
    return MakeFontAt(percent, 12, 7, weight);
}

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    UniqueGdiObject<HBRUSH> brush(::CreateSolidBrush(colour));
    ::FillRect(dc, &rect, brush.Get());
}

} // namespace

// ---- CTimingSlider

MessageSpan CTimingSlider::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnWmPaint<&CTimingSlider::OnPaint>(),
        OnWmEraseBkgnd<&CTimingSlider::OnEraseBkgnd>(),
        OnMouse<WM_MOUSEMOVE, &CTimingSlider::OnMouseMove>(),
        OnMouse<WM_LBUTTONDOWN, &CTimingSlider::OnLButtonDown>(),
        OnMouse<WM_LBUTTONUP, &CTimingSlider::OnLButtonUp>(),
        OnWmKillFocus<&CTimingSlider::OnKillFocus>(),
        OnWmSetCursor<&CTimingSlider::OnSetCursor>(),
    };
    return kEntries;
}

bool CTimingSlider::Create(const RECT& rect, HWND parent, int rowId)
{
    m_rowId = rowId;
    m_percent = SkinPercentOf(parent);
    return CreateChild(nullptr, rect, parent, WS_VISIBLE, static_cast<UINT>(rowId));
}

void CTimingSlider::Show(const TimingRow& row)
{
    m_rules.Show(row);
    Invalidate(false);
}

void CTimingSlider::OnPaint(const PaintDc& paint)
{
    const RECT client = GetClientRect();
    Fill(paint.Get(), client, kBackground);
    if (m_rules.BarShown())
        Fill(paint.Get(),
             RECT{ScaleValue(m_rules.DrawnLeft(), m_percent), client.top, ScaleValue(m_rules.DrawnRight(), m_percent),
                  client.bottom},
             kBar);
}

bool CTimingSlider::OnEraseBkgnd(HDC)
{
    return true; // the paint covers everything
}

void CTimingSlider::OnMouseMove(UINT, POINT point)
{
    Apply(m_rules.MouseMove(UnscaleValue(point.x, m_percent)));
}

void CTimingSlider::OnLButtonDown(UINT, POINT point)
{
    // Focus, so that losing it can end a drag.
    ::SetFocus(m_hWnd);
    Apply(m_rules.LeftDown(UnscaleValue(point.x, m_percent)));
}

void CTimingSlider::OnLButtonUp(UINT, POINT)
{
    Apply(m_rules.LeftUp());
}

void CTimingSlider::OnKillFocus(HWND)
{
    Apply(m_rules.FocusLost());
}

bool CTimingSlider::OnSetCursor(HWND, UINT hitTest, UINT)
{
    if (hitTest != HTCLIENT)
        return Default() != 0;
    ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(m_sizing ? IDC_SIZEWE : IDC_ARROW)));
    return true;
}

void CTimingSlider::Apply(const SliderActions& actions)
{
    if (actions.cursor != SliderCursor::Unchanged) {
        m_sizing = actions.cursor == SliderCursor::SizeWestEast;
        ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(m_sizing ? IDC_SIZEWE : IDC_ARROW)));
    }
    if (actions.captureMouse)
        ::SetCapture(m_hWnd);
    if (actions.releaseMouse && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (actions.redraw)
        Invalidate(false);
    for (const HandleDrop& drop : actions.drops)
        ::PostMessageA(GetParent(), WM_TIMING_HANDLE_MOVED, PackHandleMoved(drop.end, drop.x),
                       static_cast<LPARAM>(m_rowId));
}

// ---- CTimingLabel

MessageSpan CTimingLabel::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnWmPaint<&CTimingLabel::OnPaint>(),
        OnWmEraseBkgnd<&CTimingLabel::OnEraseBkgnd>(),
        OnMouse<WM_LBUTTONDOWN, &CTimingLabel::OnLButtonDown>(),
    };
    return kEntries;
}

bool CTimingLabel::Create(const RECT& rect, HWND parent, int rowId)
{
    m_rowId = rowId;
    m_percent = SkinPercentOf(parent);
    m_font = MakeRowFont(m_percent, FW_NORMAL);
    return CreateChild(nullptr, rect, parent, WS_VISIBLE, static_cast<UINT>(100 + rowId));
}

void CTimingLabel::Show(const TimingRow& row)
{
    if (m_text == row.label && m_highlighted == row.highlighted && m_keyPending == row.keyPending)
        return;
    m_text = row.label;
    m_highlighted = row.highlighted;
    m_keyPending = row.keyPending;
    Invalidate(false);
}

void CTimingLabel::OnPaint(const PaintDc& paint)
{
    HDC dc = paint.Get();
    const RECT client = GetClientRect();
    Fill(dc, client, RGB(0, 0, 0));
    if (m_keyPending) {
        Fill(dc, RECT{ScaleValue(5, m_percent), ScaleValue(2, m_percent), ScaleValue(25, m_percent),
                      client.bottom - ScaleValue(2, m_percent)},
             RGB(255, 255, 255));
        return;
    }
    if (m_text.empty())
        return;
    SavedDcState saved(dc);
    SelectScope font(dc, m_font.Get());
    if (m_highlighted) {
        SIZE extent{};
        ::GetTextExtentPoint32A(dc, m_text.c_str(), static_cast<int>(m_text.size()), &extent);
        Fill(dc,
             RECT{client.left, client.top,
                  std::min<LONG>(client.left + extent.cx + ScaleValue(4, m_percent), client.right), client.bottom},
             kHighlight);
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    RECT area{client.left + ScaleValue(2, m_percent), client.top, client.right, client.bottom};
    ::DrawTextA(dc, m_text.c_str(), static_cast<int>(m_text.size()), &area,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

bool CTimingLabel::OnEraseBkgnd(HDC)
{
    return true;
}

void CTimingLabel::OnLButtonDown(UINT, POINT)
{
    ::PostMessageA(GetParent(), WM_TIMING_ROW_CLICK, 0, static_cast<LPARAM>(m_rowId));
}

// ---- CTimingList

MessageSpan CTimingList::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnWmPaint<&CTimingList::OnPaint>(),
        OnWmEraseBkgnd<&CTimingList::OnEraseBkgnd>(),
        OnScroll<WM_HSCROLL, &CTimingList::OnHScroll>(),
        OnScroll<WM_VSCROLL, &CTimingList::OnVScroll>(),
        OnMessage<WM_TIMING_HANDLE_MOVED, &CTimingList::OnHandleMoved>(),
        OnMessage<WM_TIMING_ROW_CLICK, &CTimingList::OnRowClick>(),
        OnMessage<WM_GETDLGCODE, &CTimingList::OnGetDlgCode>(),
        OnKey<WM_KEYDOWN, &CTimingList::OnKeyDown>(),
        OnWmSetFocus<&CTimingList::OnSetFocus>(),
        OnWmKillFocus<&CTimingList::OnKillFocus>(),
        OnMessage<WM_GETOBJECT, &CTimingList::OnGetObject>(),
        OnMessage<WM_SKIN_ACCESS, &CTimingList::OnSkinAccess>(),
        OnMessage<WM_SKIN_ACCESS_ROWS, &CTimingList::OnSkinAccessRows>(),
        OnMessage<WM_SKIN_ACCESS_ROW, &CTimingList::OnSkinAccessRow>(),
        OnMessage<LB_GETCURSEL, &CTimingList::OnGetCurSel>(),
        OnMessage<LB_GETITEMRECT, &CTimingList::OnGetItemRect>(),
    };
    return kEntries;
}

bool CTimingList::Create(const RECT& rect, HWND parent)
{
    // rect is at the page's scaling; the pictures of that scaling (or a smaller set stretched).
    const std::string folder = SkinProgramFolder();
    m_percent = SkinPercentOf(parent);
    m_origin = POINT{UnscaleValue(rect.left, m_percent), UnscaleValue(rect.top, m_percent)};
    const SkinScaleChoice scale = ChooseSkinScale(folder, "timinglist.JPG", m_percent);
    LoadSkinPicture(folder, "timinglist.JPG", scale, m_background);
    LoadSkinPicture(folder, "timinglist_mask.BMP", scale, m_mask, true);
    m_scaleFont = MakeRowFont(m_percent, FW_BOLD);
    if (!CreateChild(nullptr, rect, parent, WS_VISIBLE | WS_BORDER | WS_CLIPCHILDREN | WS_TABSTOP))
        return false;
    if (HRGN region = MakeRegionFromMask(m_mask.Get(), RGB(255, 255, 255), 0)) {
        if (!::SetWindowRgn(m_hWnd, region, TRUE))
            ::DeleteObject(region);
    }
    for (int k = 0; k < kTimingRowCount; ++k) {
        const int top = kRowTop + kRowPitch * k;
        m_sliders[static_cast<std::size_t>(k)].Create(
            Inner(RECT{kSliderLeft, top, kSliderLeft + kBarAreaWidth, top + kRowHeight}), m_hWnd, k + 1);
        m_labels[static_cast<std::size_t>(k)].Create(Inner(RECT{kLabelLeft, top, kLabelRight, top + kRowHeight}),
                                                     m_hWnd, k + 1);
    }
    m_vertical.CreateChild("SCROLLBAR", Inner(kVerticalScroll), m_hWnd, WS_VISIBLE | SBS_VERT, kVerticalScrollId);
    m_horizontal.CreateChild("SCROLLBAR", Inner(kHorizontalScroll), m_hWnd, WS_VISIBLE | SBS_HORZ,
                             kHorizontalScrollId);
    Refresh();
    return true;
}

int CTimingList::InnerX(int x) const
{
    return ScaleValue(m_origin.x + x, m_percent) - ScaleValue(m_origin.x, m_percent);
}

int CTimingList::InnerY(int y) const
{
    return ScaleValue(m_origin.y + y, m_percent) - ScaleValue(m_origin.y, m_percent);
}

RECT CTimingList::Inner(const RECT& rect) const
{
    return RECT{InnerX(rect.left), InnerY(rect.top), InnerX(rect.right), InnerY(rect.bottom)};
}

void CTimingList::Refresh()
{
    const TimingView view = m_model.View(m_layout);
    for (std::size_t r = 0; r < view.rows.size(); ++r) {
        m_sliders[r].Show(view.rows[r]);
        m_labels[r].Show(view.rows[r]);
    }
    auto apply = [](const CWnd& bar, const ScrollRange& range) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        info.nMin = range.minimum;
        // The view's maximum lies one past its last unit (its last position is maximum - page), a
        // scroll bar's nMax on its last unit: so the thumb reaches the end of the track at the last
        // position, and a bar with nothing to scroll shows disabled.
        info.nMax = range.maximum - 1;
        info.nPage = static_cast<UINT>(range.page);
        info.nPos = range.position;
        ::SetScrollInfo(bar.GetSafeHwnd(), SB_CTL, &info, TRUE);
    };
    apply(m_vertical, view.vertical);
    apply(m_horizontal, view.horizontal);
    if (view.scale != m_scale) {
        m_scale = view.scale;
        const RECT strip = Inner(kScaleStrip);
        ::InvalidateRect(m_hWnd, &strip, FALSE);
    }
}

void CTimingList::OnPaint(const PaintDc& paint)
{
    HDC dc = paint.Get();
    const RECT client = GetClientRect();
    if (m_background) {
        MemoryDc source(dc);
        SelectScope select(source.Get(), m_background.Get());
        ::BitBlt(dc, 0, 0, client.right, client.bottom, source.Get(), 0, 0, SRCCOPY);
    } else {
        Fill(dc, client, RGB(0, 0, 0));
    }
    SavedDcState saved(dc);
    SelectScope font(dc, m_scaleFont.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    for (std::size_t k = 0; k < m_scale.size(); ++k)
        ::TextOutA(dc, InnerX(kScaleLeft + kScalePitch * static_cast<int>(k)), InnerY(kScaleTop), m_scale[k].c_str(),
                   static_cast<int>(m_scale[k].size()));
    if (::GetFocus() == m_hWnd)
        DrawFocusMark(dc, Inner(kFocusFrame), m_percent);
}

bool CTimingList::OnEraseBkgnd(HDC)
{
    return true;
}

ScrollRequest CTimingList::RequestOf(UINT code)
{
    switch (code) {
    case SB_LINEUP: return ScrollRequest::LineBack;
    case SB_LINEDOWN: return ScrollRequest::LineForward;
    case SB_PAGEUP: return ScrollRequest::PageBack;
    case SB_PAGEDOWN: return ScrollRequest::PageForward;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return ScrollRequest::Track;
    default: return ScrollRequest::Other;
    }
}

int32_t CTimingList::TrackPosition(HWND scrollBar)
{
    // The message carries only 16 bits of the thumb; a long macro's range is wider.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    ::GetScrollInfo(scrollBar, SB_CTL, &info);
    return info.nTrackPos;
}

void CTimingList::OnHScroll(UINT code, int, HWND scrollBar)
{
    m_model.ScrollHorizontal(RequestOf(code), TrackPosition(scrollBar));
    Refresh();
}

void CTimingList::OnVScroll(UINT code, int, HWND scrollBar)
{
    m_model.ScrollVertical(RequestOf(code), TrackPosition(scrollBar));
    Refresh();
}

LRESULT CTimingList::OnHandleMoved(WPARAM wParam, LPARAM lParam)
{
    if (const std::optional<HandleMove> move = UnpackHandleMoved(static_cast<uint32_t>(wParam)))
        m_model.HandleMoved(move->end, move->x, static_cast<int>(lParam));
    return 0;
}

LRESULT CTimingList::OnRowClick(WPARAM, LPARAM lParam)
{
    m_model.RowClicked(static_cast<int>(lParam));
    Refresh();
    return 0;
}

LRESULT CTimingList::OnGetDlgCode(WPARAM, LPARAM)
{
    return DLGC_WANTARROWS;
}

void CTimingList::OnKeyDown(UINT key, UINT, UINT)
{
    const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        if (m_model.SelectByArrow(key == VK_DOWN)) {
            Refresh();
            NotifySelection();
        }
        return;
    case VK_LEFT:
    case VK_RIGHT:
        if (m_model.NudgeSelected(key == VK_RIGHT, shift)) {
            Refresh();
            ::NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_hWnd, OBJID_CLIENT, m_model.Selected() + 1);
        }
        return;
    default: Default();
    }
}

void CTimingList::InvalidateFocusMark()
{
    const RECT frame = Inner(kFocusFrame);
    ::InvalidateRect(m_hWnd, &frame, TRUE);
}

void CTimingList::OnSetFocus(HWND)
{
    InvalidateFocusMark();
    NotifySelection();
}

void CTimingList::OnKillFocus(HWND)
{
    InvalidateFocusMark();
}

void CTimingList::NotifySelection()
{
    if (!m_model.HasSelection())
        return;
    const LONG child = m_model.Selected() + 1;
    ::NotifyWinEvent(EVENT_OBJECT_SELECTION, m_hWnd, OBJID_CLIENT, child);
    if (::GetFocus() == m_hWnd)
        ::NotifyWinEvent(EVENT_OBJECT_FOCUS, m_hWnd, OBJID_CLIENT, child);
}

LRESULT CTimingList::OnGetObject(WPARAM flags, LPARAM objectId)
{
    if (const LRESULT answer = AnswerGetObject(m_hWnd, flags, objectId))
        return answer;
    return Default();
}

LRESULT CTimingList::OnSkinAccess(WPARAM, LPARAM access)
{
    return FillNamedAccess(access, m_hWnd, ControlRole::List, "Key timing");
}

LRESULT CTimingList::OnSkinAccessRows(WPARAM, LPARAM)
{
    return static_cast<LRESULT>(m_model.Bars().size());
}

LRESULT CTimingList::OnSkinAccessRow(WPARAM row, LPARAM text)
{
    if (text == 0 || row >= m_model.Bars().size())
        return 0;
    *reinterpret_cast<std::string*>(text) = m_model.BarText(static_cast<int>(row), m_layout);
    return 1;
}

LRESULT CTimingList::OnGetCurSel(WPARAM, LPARAM)
{
    return m_model.HasSelection() ? m_model.Selected() : LB_ERR;
}

LRESULT CTimingList::OnGetItemRect(WPARAM row, LPARAM rect)
{
    // A bar's row, from its key name to the end of its bar area, while it is scrolled into view.
    const int64_t shown = static_cast<int64_t>(row) - m_model.Top();
    if (rect == 0 || shown < 0 || shown >= kTimingRowCount)
        return LB_ERR;
    const int top = kRowTop + kRowPitch * static_cast<int>(shown);
    *reinterpret_cast<RECT*>(rect) = Inner(RECT{kLabelLeft, top, kSliderLeft + kBarAreaWidth, top + kRowHeight});
    return 0;
}
