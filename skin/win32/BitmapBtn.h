// A push or toggle button drawn from four state pictures cut out of its window's skin pictures.
// Every skinned button has control id 0: its parent tells the buttons apart by window handle.
#pragma once

#include "ControlRules.h"
#include "SkinPicture.h"
#include "Wnd.h"

#include <string>

class CBitmapBtn : public BaseWindow<CBitmapBtn> {
public:
    static MessageSpan MessageEntries();

    // A child button at rect of parent with an empty caption, control id 0, drawn by itself.
    bool Create(const RECT& rect, HWND parent);

    // Cuts the four state pictures out of the whole-window pictures at (x, y)-(right, bottom).
    void SetStateBitmaps(int x, int y, int right, int bottom, HBITMAP normal, HBITMAP over, HBITMAP down,
                         HBITMAP disabled);
    void SetHint(const std::string& hint) { m_hint = hint; }
    void SetCaption(const std::string& caption);
    // Repaints only when the state changes.
    void SetChecked(int checked);
    void SetToggleMode(int toggle) { m_toggleMode = toggle != 0; }
    void SetTrademarkMark(int mark) { m_trademark = mark != 0; }
    // Highlights without the pointer (a key being edited) and reports it like a hover.
    void SetHighlight(int highlight);
    void SetTag(int32_t tag) { m_tag = tag; }

    int GetChecked() const { return m_checked ? 1 : 0; }
    const std::string& Caption() const { return m_caption; }
    bool IsHighlighted() const { return m_highlighted; }
    const std::string& Hint() const { return m_hint; }
    int32_t Tag() const { return m_tag; }
    // The picture the button draws in its present state.
    ButtonPicture CurrentPicture(bool pressed) const;
    // The bitmap of one state (for tests).
    HBITMAP StateBitmap(ButtonPicture picture) const;

private:
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnMouseMove(UINT keys, POINT point);
    void OnCaptureChanged(HWND newCapture);
    void OnKillFocus(HWND newFocus);
    // WM_LBUTTONDOWN and WM_LBUTTONDBLCLK alike.
    void OnLButtonDown(UINT keys, POINT point);
    void OnLButtonUp(UINT keys, POINT point);
    bool OnEraseBkgnd(HDC dc);
    void OnDestroy();
    void ReportHover(int state);
    void Apply(const ButtonMouseActions& actions);

    UniqueBitmap m_normal;
    UniqueBitmap m_over;
    UniqueBitmap m_down;
    UniqueBitmap m_disabled;
    // The caption's fonts, made with the window and freed with it.
    UniqueGdiObject<HFONT> m_captionFont;
    UniqueGdiObject<HFONT> m_trademarkFont;
    std::string m_caption;
    std::string m_hint;
    bool m_checked = false;
    bool m_toggleMode = false;
    bool m_highlighted = false;
    bool m_trademark = false;
    bool m_pressing = false; // the system's handling of a left press on the button is running
    int32_t m_tag = 0;
    int m_percent = 100; // display scaling of its window (fonts, margins)
};
