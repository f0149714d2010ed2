#include "BmpEdit.h"

#include "ControlAccess.h"
#include "Gdi.h"
#include "SkinAccessible.h"
#include "SkinMessages.h"
#include "SkinScale.h"

#include <optional>
#include <string>

MessageSpan CBmpEdit::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnReflectCtlColor<WM_CTLCOLOREDIT, &CBmpEdit::OnCtlColor>(),
        OnReflectCtlColor<WM_CTLCOLORSTATIC, &CBmpEdit::OnCtlColor>(),
        OnReflectCommand<EN_CHANGE, &CBmpEdit::OnChange>(),
        OnReflectCommand<EN_KILLFOCUS, &CBmpEdit::OnKillFocusNotify>(),
        OnKey<WM_KEYUP, &CBmpEdit::OnKeyUp>(),
        OnScroll<WM_VSCROLL, &CBmpEdit::OnVScroll>(),
        OnWmEraseBkgnd<&CBmpEdit::OnEraseBkgnd>(),
        OnMessage<WM_GETOBJECT, &CBmpEdit::OnGetObject>(),
        OnMessage<WM_SKIN_ACCESS, &CBmpEdit::OnSkinAccess>(),
    };
    return kEntries;
}

CBmpEdit::CBmpEdit() : m_font(MakeFont(14, 0, FW_NORMAL)) {}

bool CBmpEdit::Create(const RECT& rect, HWND parent, DWORD style, UINT id)
{
    // The font for the display scaling of the window it sits in.
    if (const int percent = SkinPercentOf(parent); percent != 100)
        m_font = MakeFontAt(percent, 14, 0, FW_NORMAL);
    return CreateChild("EDIT", rect, parent, WS_VISIBLE | ES_AUTOHSCROLL | style, id);
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

LRESULT CBmpEdit::OnGetObject(WPARAM flags, LPARAM objectId)
{
    // Without a name the system's proxy of the edit answers.
    if (!m_accessName.empty())
        if (const LRESULT answer = AnswerGetObject(m_hWnd, flags, objectId))
            return answer;
    return Default();
}

LRESULT CBmpEdit::OnSkinAccess(WPARAM, LPARAM access)
{
    return FillNamedAccess(access, m_hWnd, ControlRole::EditableText, m_accessName);
}

void CBmpEdit::ApplyFont()
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);
}

bool CBmpEdit::PreTranslateMessage(MSG& message)
{
    if (message.hwnd != m_hWnd || message.message != WM_KEYDOWN)
        return false;
    return EditSwallowsKey(m_numericOnly, static_cast<uint32_t>(message.wParam));
}

HBRUSH CBmpEdit::OnCtlColor(HDC dc, HWND)
{
    m_brush.Reset(::CreateSolidBrush(m_backColor));
    ::SetTextColor(dc, m_textColor);
    ::SetBkColor(dc, m_backColor);
    return m_brush.Get();
}

void CBmpEdit::OnChange()
{
    if (m_numericOnly && !m_filtering) {
        const int length = ::GetWindowTextLengthA(m_hWnd);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        ::GetWindowTextA(m_hWnd, text.data(), length + 1);
        text.resize(static_cast<size_t>(length));
        if (const std::optional<std::string> kept = EditTextCorrection(m_numericOnly, text)) {
            // Replacing the text changes it again; that second change is already clean.
            m_filtering = true;
            SendMessage(EM_SETSEL, 0, -1);
            SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(kept->c_str()));
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

void CBmpEdit::OnKeyUp(UINT key, UINT, UINT)
{
    if (EditReportsKeyUp(key))
        ::PostMessageA(::GetParent(m_hWnd), WM_EDIT_NOTIFY, 13, 0);
    Default();
}

void CBmpEdit::OnVScroll(UINT, int, HWND)
{
    Invalidate(true);
    Default();
}

bool CBmpEdit::OnEraseBkgnd(HDC)
{
    return true;
}
