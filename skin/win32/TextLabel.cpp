#include "TextLabel.h"

#include "Gdi.h"
#include "SkinAccessible.h"
#include "SkinMessages.h"
#include "SkinPicture.h"
#include "SkinScale.h"

namespace {

// What a screen reader reads of a line of text: its text.
ControlAccess StaticTextAccess(const std::string& text)
{
    ControlAccessInput input;
    input.role = ControlRole::StaticText;
    input.caption = text;
    return DescribeControl(input);
}

// The labels' font: Arial 12 high, compact labels narrower (5) than the others (7), the status
// line between them (6).
UniqueGdiObject<HFONT> MakeLabelFont(int percent, int width)
{
    return MakeFontAt(percent, 12, width, FW_NORMAL);
}

// Fills a back buffer with back, draws text with format, and copies it to the window in one blit.
void PaintText(HWND hwnd, const PaintDc& paint, COLORREF back, COLORREF textColour, HFONT font, const std::string& text,
               UINT format)
{
    BackBuffer buffer(hwnd, paint.Get());
    if (!buffer)
        return;
    UniqueGdiObject<HBRUSH> brush(::CreateSolidBrush(back));
    ::FillRect(buffer.Get(), &buffer.Client(), brush.Get());
    ::SetBkMode(buffer.Get(), TRANSPARENT);
    ::SetTextColor(buffer.Get(), textColour);
    SelectScope selectFont(buffer.Get(), font);
    RECT area = buffer.Client();
    ::DrawTextA(buffer.Get(), text.c_str(), static_cast<int>(text.size()), &area, format);
}

} // namespace

MessageSpan CTextLabel::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnWmCreate<&CTextLabel::OnCreate>(),
        OnWmDestroy<&CTextLabel::OnDestroy>(),
        OnWmPaint<&CTextLabel::OnPaint>(),
        OnMouse<WM_MOUSEMOVE, &CTextLabel::OnMouseMove>(),
        OnWmEraseBkgnd<&CTextLabel::OnEraseBkgnd>(),
        OnMessage<WM_GETOBJECT, &CTextLabel::OnGetObject>(),
        OnMessage<WM_SKIN_ACCESS, &CTextLabel::OnSkinAccess>(),
    };
    return kEntries;
}

bool CTextLabel::Create(const RECT& rect, HWND parent, UINT id)
{
    m_font = MakeLabelFont(SkinPercentOf(parent), m_compact ? 5 : 7);
    return CreateChild(nullptr, rect, parent, WS_VISIBLE, id, nullptr);
}

int CTextLabel::OnCreate(CREATESTRUCTA& create)
{
    const int result = CWnd::OnCreate(create);
    m_client = GetClientRect();
    return result;
}

void CTextLabel::OnDestroy()
{
    m_font.Reset();
    CWnd::OnDestroy();
}

void CTextLabel::SetText(const std::string& text, int bright)
{
    const bool renamed = text != m_text;
    m_text = text;
    m_bright = bright != 0;
    if (renamed && m_hWnd != nullptr) {
        ::SetWindowTextA(m_hWnd, text.c_str());
        NotifyAccessNameChange(m_hWnd);
    }
    Invalidate(false);
}

LRESULT CTextLabel::OnGetObject(WPARAM flags, LPARAM objectId)
{
    if (const LRESULT answer = AnswerGetObject(m_hWnd, flags, objectId))
        return answer;
    return Default();
}

LRESULT CTextLabel::OnSkinAccess(WPARAM, LPARAM access)
{
    return FillSkinAccess(access, StaticTextAccess(m_text));
}

void CTextLabel::SetBackColor(COLORREF colour)
{
    m_backColor = colour;
    Invalidate(false);
}

void CTextLabel::SetCompact(int compact)
{
    if (m_compact != (compact != 0) && m_hWnd != nullptr)
        m_font = MakeLabelFont(SkinPercentOf(::GetParent(m_hWnd)), compact != 0 ? 5 : 7);
    m_compact = compact != 0;
    Invalidate(false);
}

void CTextLabel::SetWrap(int wrap)
{
    m_wrap = wrap != 0;
    Invalidate(false);
}

void CTextLabel::OnPaint(const PaintDc& paint)
{
    UINT format = m_wrap ? DT_WORDBREAK | DT_NOPREFIX : DT_SINGLELINE | DT_VCENTER;
    if (!m_compact && !m_wrap)
        format |= DT_CENTER;
    PaintText(m_hWnd, paint, m_backColor, m_bright ? RGB(0xFF, 0xFF, 0xFF) : RGB(0x73, 0x73, 0x73), m_font.Get(),
              m_text, format);
}

void CTextLabel::OnMouseMove(UINT, POINT)
{
    if (SkinHints().LabelHover(m_hintEnabled, m_hint))
        PostStatusHint(1);
    Default();
}

bool CTextLabel::OnEraseBkgnd(HDC)
{
    return true;
}

MessageSpan CStatusLabel::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnWmDestroy<&CStatusLabel::OnDestroy>(),
        OnMessage<WM_GETOBJECT, &CStatusLabel::OnGetObject>(),
        OnMessage<WM_SKIN_ACCESS, &CStatusLabel::OnSkinAccess>(),
        OnWmPaint<&CStatusLabel::OnPaint>(),
        OnWmEraseBkgnd<&CStatusLabel::OnEraseBkgnd>(),
    };
    return kEntries;
}

bool CStatusLabel::Create(const RECT& rect, HWND parent, UINT id)
{
    m_font = MakeLabelFont(SkinPercentOf(parent), 6);
    return CreateChild(nullptr, rect, parent, WS_VISIBLE, id, nullptr);
}

void CStatusLabel::OnDestroy()
{
    m_font.Reset();
    CWnd::OnDestroy();
}

void CStatusLabel::SetText(const std::string& text)
{
    const bool changed = text != m_text;
    m_text = text;
    if (changed && m_hWnd != nullptr) {
        ::SetWindowTextA(m_hWnd, text.c_str());
        NotifyAccessNameChange(m_hWnd, true);
    }
    Invalidate(false);
}

LRESULT CStatusLabel::OnGetObject(WPARAM flags, LPARAM objectId)
{
    if (const LRESULT answer = AnswerGetObject(m_hWnd, flags, objectId))
        return answer;
    return Default();
}

LRESULT CStatusLabel::OnSkinAccess(WPARAM, LPARAM access)
{
    return FillSkinAccess(access, StaticTextAccess(m_text));
}

void CStatusLabel::OnPaint(const PaintDc& paint)
{
    PaintText(m_hWnd, paint, RGB(0x02, 0x02, 0x02), RGB(0x64, 0x64, 0x64), m_font.Get(), m_text,
              DT_SINGLELINE | DT_VCENTER);
}

bool CStatusLabel::OnEraseBkgnd(HDC)
{
    return true;
}
