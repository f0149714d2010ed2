// Text labels of the skinned windows: CTextLabel (a line of text with an optional hover hint) and
// CStatusLabel (the main window's status line). Both paint through a back buffer. Both are static
// texts to assistive technology (SkinAccessible), named with their text; the status line announces
// every change of its text as a live region does.
#pragma once

#include "UniqueHandle.h"
#include "Wnd.h"

#include <string>

class CTextLabel : public BaseWindow<CTextLabel> {
public:
    static MessageSpan MessageEntries();

    bool Create(const RECT& rect, HWND parent, UINT id);
    // White when bright, grey otherwise; repaints.
    void SetText(const std::string& text, int bright);
    void SetHint(const std::string& hint) { m_hint = hint; }
    void SetHintEnabled(int enabled) { m_hintEnabled = enabled != 0; }
    void SetBackColor(COLORREF colour);
    // Narrow font, left-aligned.
    void SetCompact(int compact);
    // Text broken into lines at word ends from the top left, instead of one line; "&" is shown as
    // it is.
    void SetWrap(int wrap);

    const std::string& Text() const { return m_text; }
    bool IsBright() const { return m_bright; }
    bool IsCompact() const { return m_compact; }

private:
    int OnCreate(CREATESTRUCTA& create);
    void OnDestroy();
    void OnPaint(const PaintDc& paint);
    void OnMouseMove(UINT keys, POINT point);
    bool OnEraseBkgnd(HDC dc);
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
    LRESULT OnSkinAccess(WPARAM, LPARAM access);

    std::string m_text;
    std::string m_hint;
    bool m_bright = false;
    bool m_hintEnabled = true;
    bool m_compact = false;
    bool m_wrap = false;
    COLORREF m_backColor = RGB(0x02, 0x02, 0x02);
    RECT m_client{};
    // Made with the window, again when the width changes with SetCompact; freed with the window.
    UniqueGdiObject<HFONT> m_font;
};

class CStatusLabel : public BaseWindow<CStatusLabel> {
public:
    static MessageSpan MessageEntries();

    bool Create(const RECT& rect, HWND parent, UINT id);
    void SetText(const std::string& text);
    const std::string& Text() const { return m_text; }

private:
    void OnDestroy();
    void OnPaint(const PaintDc& paint);
    bool OnEraseBkgnd(HDC dc);
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
    LRESULT OnSkinAccess(WPARAM, LPARAM access);

    std::string m_text;
    UniqueGdiObject<HFONT> m_font; // made with the window, freed with it
};
