// A single-line edit field in the skin's colours, optionally restricted to numbers, that tells its
// parent about changes, Return and the loss of focus.
#pragma once

#include "SkinPicture.h"
#include "Wnd.h"

#include <string>

class CBmpEdit : public BaseWindow<CBmpEdit> {
public:
    static MessageSpan MessageEntries();

    CBmpEdit();

    // A child edit field at rect of parent; style adds to WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL.
    bool Create(const RECT& rect, HWND parent, DWORD style = 0, UINT id = 0);

    // Only digits, comma and full stop can be typed or kept.
    void SetNumericOnly(int numeric) { m_numericOnly = numeric != 0; }
    void SetTextColor(COLORREF colour);
    void SetBackColor(COLORREF colour);
    // Applies the field's font ("Arial", 14, normal weight) and redraws.
    void ApplyFont();
    void SetLimitText(UINT limit) { SendMessage(EM_LIMITTEXT, limit, 0); }

    bool PreTranslateMessage(MSG& message) override;
    // The field's name to assistive technology (what the skin picture writes beside it); its
    // text is its value.
    void SetAccessName(const std::string& name) { m_accessName = name; }

private:
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
    LRESULT OnSkinAccess(WPARAM, LPARAM access);
    HBRUSH OnCtlColor(HDC dc, HWND control);
    void OnChange();
    void OnKillFocusNotify();
    void OnKeyUp(UINT key, UINT repeatCount, UINT flags);
    void OnVScroll(UINT code, int position, HWND scrollBar);
    bool OnEraseBkgnd(HDC dc);

    COLORREF m_textColor = RGB(0x24, 0x24, 0x24);
    COLORREF m_backColor = RGB(0xFF, 0xFF, 0xFF);
    UniqueGdiObject<HBRUSH> m_brush;
    UniqueGdiObject<HFONT> m_font;
    bool m_numericOnly = false;
    bool m_filtering = false;
    std::string m_accessName;
};
