#include "SpinWnd.h"

#include "SkinMessages.h"
#include "SkinScale.h"

namespace {

// The edit field's own background until the owner sets the colours.
constexpr COLORREF kDefaultBackColour = RGB(0xFF, 0xFF, 0xFF);

} // namespace

MessageSpan CSpinWnd::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnWmCreate<&CSpinWnd::OnCreate>(),
        OnWmEraseBkgnd<&CSpinWnd::OnEraseBkgnd>(),
        OnMessage<WM_EDIT_NOTIFY, &CSpinWnd::OnEditNotify>(),
        OnControl<&CSpinWnd::m_up, &CSpinWnd::OnUp>(),
        OnControl<&CSpinWnd::m_down, &CSpinWnd::OnDown>(),
    };
    return kEntries;
}

bool CSpinWnd::Create(const RECT& rect, HWND parent, UINT id)
{
    m_rect = rect;
    m_id = id;
    // The display scaling of the window it sits in; rect is already at that scaling.
    m_percent = SkinPercentOf(parent);
    return CreateChild(nullptr, rect, parent, WS_VISIBLE | WS_CLIPCHILDREN, id);
}

int CSpinWnd::OnCreate(CREATESTRUCTA& create)
{
    if (CWnd::OnCreate(create) == -1)
        return -1;
    const int width = create.cx;
    const int height = create.cy;
    const int buttonsLeft = ButtonsLeft() - m_rect.left;
    const int fieldWidth = buttonsLeft > 0 ? buttonsLeft : 0;
    // The number sits in the middle of the field's height, as the well in the picture does.
    const int textHeight = ScaleValue(16, m_percent);
    const int textTop = height > textHeight ? (height - textHeight) / 2 : 0;
    if (!m_edit.Create(RECT{ScaleValue(4, m_percent), textTop, fieldWidth - ScaleValue(2, m_percent),
                            textTop + textHeight},
                       m_hWnd, WS_TABSTOP))
        return -1;
    m_edit.SetNumericOnly(1);
    m_edit.ApplyFont();
    m_backBrush.Reset(::CreateSolidBrush(kDefaultBackColour));
    if (!m_up.Create(RECT{fieldWidth, 0, width, height / 2}, m_hWnd) ||
        !m_down.Create(RECT{fieldWidth, height / 2, width, height}, m_hWnd))
        return -1;
    return 0;
}

void CSpinWnd::SetButtonPictures(HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled)
{
    const int middle = (m_rect.top + m_rect.bottom) / 2;
    const int buttonsLeft = ButtonsLeft();
    m_up.SetStateBitmaps(buttonsLeft, m_rect.top, m_rect.right, middle, normal, over, down, disabled);
    m_down.SetStateBitmaps(buttonsLeft, middle, m_rect.right, m_rect.bottom, normal, over, down, disabled);
}

int CSpinWnd::ButtonsLeft() const
{
    // Where the picture's button marks begin: the 100 % edge, kButtonWidth left of the 100 % right
    // edge, scaled as the skin's pictures are drawn (an edge of its own, not a scaled width).
    if (m_percent == 100)
        return m_rect.right - kButtonWidth;
    return ScaleValue(UnscaleValue(m_rect.right, m_percent) - kButtonWidth, m_percent);
}

void CSpinWnd::SetHint(const std::string& hint)
{
    m_up.SetHint(hint);
    m_down.SetHint(hint);
    m_edit.SetAccessName(hint);
}

void CSpinWnd::SetColors(COLORREF text, COLORREF back)
{
    m_edit.SetTextColor(text);
    m_edit.SetBackColor(back);
    m_backBrush.Reset(::CreateSolidBrush(back));
    Invalidate(true);
}

void CSpinWnd::SetValue(int32_t value)
{
    const std::string text = m_value.SetValue(value);
    ::SetWindowTextA(m_edit.GetSafeHwnd(), text.c_str());
}

bool CSpinWnd::OnEraseBkgnd(HDC dc)
{
    // The edit field is only as high as its text; the rest of the field shows the field's colour.
    RECT client = GetClientRect();
    client.right -= kButtonWidth;
    ::FillRect(dc, &client, m_backBrush.Get());
    return true;
}

std::string CSpinWnd::FieldText() const
{
    HWND edit = m_edit.GetSafeHwnd();
    const int length = ::GetWindowTextLengthA(edit);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(edit, text.data(), length + 1)));
    return text;
}

void CSpinWnd::CatchUpWithField()
{
    const std::string text = FieldText();
    if (text != m_value.Text())
        Apply(m_value.Typed(text));
}

LRESULT CSpinWnd::OnEditNotify(WPARAM code, LPARAM)
{
    if (code == 13) {
        CatchUpWithField();
        Apply(m_value.Enter());
    } else {
        // Every change of the text is a report, even of the number already reported.
        Apply(m_value.Typed(FieldText()));
    }
    return 0;
}

void CSpinWnd::OnUp()
{
    CatchUpWithField();
    Apply(m_value.Up());
}

void CSpinWnd::OnDown()
{
    CatchUpWithField();
    Apply(m_value.Down());
}

void CSpinWnd::Apply(const SpinChange& change)
{
    if (change.fieldText)
        ::SetWindowTextA(m_edit.GetSafeHwnd(), change.fieldText->c_str());
    if (change.reported)
        ::SendMessageA(::GetParent(m_hWnd), WM_SPIN_VALUE, static_cast<WPARAM>(*change.reported),
                       static_cast<LPARAM>(m_id));
}
