// The timing area of the advanced macro page: CTimingList holds 19 CTimingSlider rows (bars), 19
// CTimingLabel rows (key names), the two scroll bars and the time scale, and shows what its
// TimingListModel's view says after every change. The rows only report the pointer: a dropped bar
// end and a clicked label reach the list as WM_TIMING_HANDLE_MOVED and WM_TIMING_ROW_CLICK.
#pragma once

#include "KeyboardLayout.h"
#include "SkinPicture.h"
#include "TimingListModel.h"
#include "TimingSliderRules.h"
#include "Wnd.h"

#include <array>
#include <string>

// The timing list is a tab stop: Up and Down select a bar, Left and Right move it, Shift+Left and
// Shift+Right move its release. It answers assistive technology as a list whose rows are the bars,
// each read as its key and times.

// One bar row: its 380-pixel bar area, where the ends of its bar are dragged.
class CTimingSlider : public BaseWindow<CTimingSlider> {
public:
    static MessageSpan MessageEntries();

    static constexpr COLORREF kBackground = RGB(25, 42, 52);
    static constexpr COLORREF kBar = RGB(47, 154, 227);

    // Row `rowId` (1..19) at rect of the timing list.
    bool Create(const RECT& rect, HWND parent, int rowId);
    // The row as the timing list shows it now; a drag in progress ends.
    void Show(const TimingRow& row);
    const TimingSliderRules& Rules() const { return m_rules; }

private:
    void OnPaint(const PaintDc& paint);
    bool OnEraseBkgnd(HDC dc);
    void OnMouseMove(UINT keys, POINT point);
    void OnLButtonDown(UINT keys, POINT point);
    void OnLButtonUp(UINT keys, POINT point);
    void OnKillFocus(HWND newFocus);
    bool OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage);
    void Apply(const SliderActions& actions);

    TimingSliderRules m_rules;
    int m_rowId = 0;
    int m_percent = 100; // display scaling: the rules work in 100 % pixels of the bar area
    bool m_sizing = false; // the pointer shows the west-east sizing cursor
};

// One label row: the key name of the row's bar.
class CTimingLabel : public BaseWindow<CTimingLabel> {
public:
    static MessageSpan MessageEntries();

    static constexpr COLORREF kHighlight = RGB(47, 154, 227);

    bool Create(const RECT& rect, HWND parent, int rowId);
    void Show(const TimingRow& row);
    const std::string& Text() const { return m_text; }

private:
    void OnPaint(const PaintDc& paint);
    bool OnEraseBkgnd(HDC dc);
    void OnLButtonDown(UINT keys, POINT point);

    int m_rowId = 0;
    std::string m_text;
    bool m_highlighted = false;
    bool m_keyPending = false;
    UniqueGdiObject<HFONT> m_font;
    int m_percent = 100;
};

class CTimingList : public BaseWindow<CTimingList> {
public:
    static MessageSpan MessageEntries();

    static constexpr UINT kHorizontalScrollId = 100;
    static constexpr UINT kVerticalScrollId = 101;

    CTimingList(TimingListModel& model, const KeyboardLayout& layout) : m_model(model), m_layout(layout) {}

    // The timing area at rect of the page, with its rows, scroll bars and pictures from the skins
    // folder.
    bool Create(const RECT& rect, HWND parent);
    // Shows the model's view: rows, labels, scroll bars and the time scale.
    void Refresh();

    CTimingSlider& Slider(int row) { return m_sliders.at(static_cast<std::size_t>(row)); }
    CTimingLabel& Label(int row) { return m_labels.at(static_cast<std::size_t>(row)); }
    HWND ScrollBar(bool vertical) const { return vertical ? m_vertical.GetSafeHwnd() : m_horizontal.GetSafeHwnd(); }
    const std::array<std::string, kTimeScaleMarks>& Scale() const { return m_scale; }

private:
    void OnPaint(const PaintDc& paint);
    bool OnEraseBkgnd(HDC dc);
    void OnHScroll(UINT code, int position, HWND scrollBar);
    void OnVScroll(UINT code, int position, HWND scrollBar);
    LRESULT OnHandleMoved(WPARAM wParam, LPARAM lParam);
    LRESULT OnRowClick(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    void OnSetFocus(HWND oldFocus);
    void OnKillFocus(HWND newFocus);
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
    LRESULT OnSkinAccess(WPARAM, LPARAM access);
    LRESULT OnSkinAccessRows(WPARAM, LPARAM);
    LRESULT OnSkinAccessRow(WPARAM row, LPARAM text);
    LRESULT OnGetCurSel(WPARAM, LPARAM);
    LRESULT OnGetItemRect(WPARAM row, LPARAM rect);
    // Redraws the focus mark around the key names.
    void InvalidateFocusMark();
    // Tells assistive technology which bar is selected now.
    void NotifySelection();
    static ScrollRequest RequestOf(UINT code);
    static int32_t TrackPosition(HWND scrollBar);

    TimingListModel& m_model;
    const KeyboardLayout& m_layout;
    std::array<CTimingSlider, kTimingRowCount> m_sliders;
    std::array<CTimingLabel, kTimingRowCount> m_labels;
    CWnd m_horizontal;
    CWnd m_vertical;
    std::array<std::string, kTimeScaleMarks> m_scale;
    UniqueBitmap m_background;
    UniqueBitmap m_mask;
    UniqueGdiObject<HFONT> m_scaleFont;
    // Display scaling, and the list's top-left corner at 100 % in its page: a rectangle inside the
    // list lies where the page's picture has it, on the page's scaled pixel grid.
    int m_percent = 100;
    POINT m_origin{};
    RECT Inner(const RECT& rect) const;
    int InnerX(int x) const;
    int InnerY(int y) const;
};
