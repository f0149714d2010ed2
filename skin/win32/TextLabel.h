// Text labels of the skinned windows: CTextLabel (a line of text with an optional hover hint) and
// CStatusLabel (the main window's status line). Both paint through a back buffer.
#pragma once

#include "Wnd.h"

#include <string>

class CTextLabel : public CWnd {
public:
    bool Create(const RECT& rect, HWND parent, UINT id);
    // White when bright, grey otherwise; repaints.
    void SetText(const std::string& text, int bright);
    void SetHint(const std::string& hint) { m_hint = hint; }
    void SetHintEnabled(int enabled) { m_hintEnabled = enabled != 0; }
    void SetBackColor(COLORREF colour);
    // Narrow font, left-aligned.
    void SetCompact(int compact);

    const std::string& Text() const { return m_text; }
    bool IsBright() const { return m_bright; }
    bool IsCompact() const { return m_compact; }

protected:
    static const MessageEntry kMessageEntries[];
    static const MessageTable kMessages;
    const MessageTable& Messages() const override { return kMessages; }

private:
    int OnCreate(CREATESTRUCTA& create);
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);

    std::string m_text;
    std::string m_hint;
    bool m_bright = false;
    bool m_hintEnabled = true;
    bool m_compact = false;
    COLORREF m_backColor = RGB(0x02, 0x02, 0x02);
    RECT m_client{};
};

class CStatusLabel : public CWnd {
public:
    bool Create(const RECT& rect, HWND parent, UINT id);
    void SetText(const std::string& text);
    const std::string& Text() const { return m_text; }

protected:
    static const MessageEntry kMessageEntries[];
    static const MessageTable kMessages;
    const MessageTable& Messages() const override { return kMessages; }

private:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);

    std::string m_text;
};
