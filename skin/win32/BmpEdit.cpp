#include "BmpEdit.h"

#include "SkinMessages.h"

#include <string>

const MessageEntry CBmpEdit::kMessageEntries[] = {
    OnReflect<WM_CTLCOLOREDIT, &CBmpEdit::OnCtlColor>(),
    OnReflect<WM_CTLCOLORSTATIC, &CBmpEdit::OnCtlColor>(),
    OnReflectCommand<EN_CHANGE, &CBmpEdit::OnChange>(),
    OnReflectCommand<EN_KILLFOCUS, &CBmpEdit::OnKillFocusNotify>(),
    OnMessage<WM_KEYUP, &CBmpEdit::OnKeyUp>(),
    OnMessage<WM_VSCROLL, &CBmpEdit::OnVScroll>(),
    OnMessage<WM_ERASEBKGND, &CBmpEdit::OnEraseBkgnd>(),
};
const MessageTable CBmpEdit::kMessages{&CWnd::kMessages, CBmpEdit::kMessageEntries};

CBmpEdit::CBmpEdit()
    : m_font(::CreateFontA(14, 0, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial"))
{
}

bool CBmpEdit::Create(const RECT& rect, HWND parent, DWORD style, UINT id)
{
    return CreateEx(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | style, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, parent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CBmpEdit::SetTextColor(COLORREF colour)
{
    m_textColor = colour;
    Invalidate(true);
}

void CBmpEdit::SetBackColor(COLORREF colour)
{
    m_backColor = colour;
    Invalidate(true);
}

void CBmpEdit::ApplyFont()
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);
}

bool CBmpEdit::PreTranslateMessage(MSG& message)
{
    if (message.hwnd != m_hWnd || message.message != WM_KEYDOWN)
        return false;
    const auto key = static_cast<uint32_t>(message.wParam);
    if (key == VK_UP || key == VK_DOWN || key == VK_TAB)
        return true;
    return m_numericOnly && !NumericEditAllowsKey(key);
}

LRESULT CBmpEdit::OnCtlColor(WPARAM wParam, LPARAM)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    m_brush.Reset(::CreateSolidBrush(m_backColor));
    ::SetTextColor(dc, m_textColor);
    ::SetBkColor(dc, m_backColor);
    return reinterpret_cast<LRESULT>(m_brush.Get());
}

void CBmpEdit::OnChange()
{
    if (m_numericOnly && !m_filtering) {
        const int length = ::GetWindowTextLengthA(m_hWnd);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        ::GetWindowTextA(m_hWnd, text.data(), length + 1);
        text.resize(static_cast<size_t>(length));
        const std::string kept(NumericLeadingRun(text));
        if (kept != text) {
            // Replacing the text changes it again; that second change is already clean.
            m_filtering = true;
            SendMessage(EM_SETSEL, 0, -1);
            SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(kept.c_str()));
            m_filtering = false;
        }
    }
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
    ::PostMessageA(::GetParent(m_hWnd), WM_EDIT_NOTIFY, 0, 0);
}

void CBmpEdit::OnKillFocusNotify()
{
    ::PostMessageA(::GetParent(m_hWnd), BitmapEditKillFocusMessage(), 0, 0);
}

LRESULT CBmpEdit::OnKeyUp(WPARAM wParam, LPARAM)
{
    if (wParam == VK_RETURN)
        ::PostMessageA(::GetParent(m_hWnd), WM_EDIT_NOTIFY, 13, 0);
    return Default();
}

LRESULT CBmpEdit::OnVScroll(WPARAM, LPARAM)
{
    Invalidate(true);
    return Default();
}

LRESULT CBmpEdit::OnEraseBkgnd(WPARAM, LPARAM)
{
    return TRUE;
}
