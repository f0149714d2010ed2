#include "TextLabel.h"

#include "Gdi.h"
#include "SkinMessages.h"
#include "SkinPicture.h"

namespace {

HFONT CreateLabelFont(int height, int width)
{
    return ::CreateFontA(height, width, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
}

// Fills a back buffer with back, draws text with format, and copies it to the window in one blit.
void PaintText(HWND hwnd, COLORREF back, COLORREF textColour, HFONT font, const std::string& text, UINT format)
{
    PaintDc paint(hwnd);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0)
        return;
    MemoryDc buffer(paint.Get());
    UniqueBitmap bitmap(::CreateCompatibleBitmap(paint.Get(), width, height));
    SelectScope selectBitmap(buffer.Get(), bitmap.Get());
    UniqueGdiObject<HBRUSH> brush(::CreateSolidBrush(back));
    ::FillRect(buffer.Get(), &client, brush.Get());
    ::SetBkMode(buffer.Get(), TRANSPARENT);
    ::SetTextColor(buffer.Get(), textColour);
    {
        SelectScope selectFont(buffer.Get(), font);
        RECT area = client;
        ::DrawTextA(buffer.Get(), text.c_str(), static_cast<int>(text.size()), &area, format);
    }
    ::BitBlt(paint.Get(), 0, 0, width, height, buffer.Get(), 0, 0, SRCCOPY);
}

} // namespace

const MessageEntry CTextLabel::kMessageEntries[] = {
    OnWmCreate<&CTextLabel::OnCreate>(),
    OnMessage<WM_PAINT, &CTextLabel::OnPaint>(),
    OnMessage<WM_MOUSEMOVE, &CTextLabel::OnMouseMove>(),
    OnMessage<WM_ERASEBKGND, &CTextLabel::OnEraseBkgnd>(),
};
const MessageTable CTextLabel::kMessages{&CWnd::kMessages, CTextLabel::kMessageEntries};

bool CTextLabel::Create(const RECT& rect, HWND parent, UINT id)
{
    return CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

int CTextLabel::OnCreate(CREATESTRUCTA& create)
{
    const int result = CWnd::OnCreate(create);
    m_client = GetClientRect();
    return result;
}

void CTextLabel::SetText(const std::string& text, int bright)
{
    m_text = text;
    m_bright = bright != 0;
    Invalidate(false);
}

void CTextLabel::SetBackColor(COLORREF colour)
{
    m_backColor = colour;
    Invalidate(false);
}

void CTextLabel::SetCompact(int compact)
{
    m_compact = compact != 0;
    Invalidate(false);
}

LRESULT CTextLabel::OnPaint(WPARAM, LPARAM)
{
    UniqueGdiObject<HFONT> font(CreateLabelFont(12, m_compact ? 5 : 7));
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if (!m_compact)
        format |= DT_CENTER;
    PaintText(m_hWnd, m_backColor, m_bright ? RGB(0xFF, 0xFF, 0xFF) : RGB(0x73, 0x73, 0x73), font.Get(), m_text,
              format);
    return 0;
}

LRESULT CTextLabel::OnMouseMove(WPARAM, LPARAM)
{
    if (SkinHints().LabelHover(m_hintEnabled, m_hint))
        PostStatusHint(1);
    return Default();
}

LRESULT CTextLabel::OnEraseBkgnd(WPARAM, LPARAM)
{
    return TRUE;
}

const MessageEntry CStatusLabel::kMessageEntries[] = {
    OnMessage<WM_PAINT, &CStatusLabel::OnPaint>(),
    OnMessage<WM_ERASEBKGND, &CStatusLabel::OnEraseBkgnd>(),
};
const MessageTable CStatusLabel::kMessages{&CWnd::kMessages, CStatusLabel::kMessageEntries};

bool CStatusLabel::Create(const RECT& rect, HWND parent, UINT id)
{
    return CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CStatusLabel::SetText(const std::string& text)
{
    m_text = text;
    Invalidate(false);
}

LRESULT CStatusLabel::OnPaint(WPARAM, LPARAM)
{
    UniqueGdiObject<HFONT> font(CreateLabelFont(12, 6));
    PaintText(m_hWnd, RGB(0x02, 0x02, 0x02), RGB(0x64, 0x64, 0x64), font.Get(), m_text, DT_SINGLELINE | DT_VCENTER);
    return 0;
}

LRESULT CStatusLabel::OnEraseBkgnd(WPARAM, LPARAM)
{
    return TRUE;
}
