#include "ExMenu.h"

#include "DpiScale.h"
#include "Gdi.h"
#include "ResourceIds.h"

#include <algorithm>
#include <utility>

namespace {

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    ::SetDCBrushColor(dc, colour);
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

} // namespace

CExMenu::CExMenu() : m_trademarkFont(MakeFont(8, 0, FW_NORMAL, "Eurostile")) {}

void CExMenu::SetScale(int percent)
{
    if (percent == m_percent)
        return;
    m_percent = percent;
    m_trademarkFont = MakeFontAt(percent, 8, 0, FW_NORMAL, "Eurostile");
}

bool CExMenu::Record(const MenuItem& item, MenuItemType type)
{
    // The submenu's items are drawn by the submenu's own object.
    MenuItem own;
    own.type = type;
    own.text = item.text;
    own.id = item.id;
    own.checked = item.checked;
    own.disabled = item.disabled;
    own.isDefault = item.isDefault;
    own.trademark = item.trademark;
    m_textWidth = WidenMenuFor(m_textWidth, own.text);
    m_entries.push_back(std::move(own));
    return true;
}

bool CExMenu::AppendEntry(const MenuItem& item)
{
    const bool separator = item.type == MenuItemType::Separator;
    const UINT flags = (separator ? MF_SEPARATOR : 0) | (item.disabled ? MF_GRAYED : 0);
    if (!AppendDrawnItem(flags, separator ? 0 : static_cast<UINT>(item.id), m_entries.size(),
                         MenuItemAccessName(item)))
        return false;
    return Record(item, item.type);
}

bool CExMenu::AppendSubmenu(const MenuItem& item, CExMenu& submenu)
{
    if (!m_arrow)
        m_arrow.Reset(static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SUBMENU_ARROW),
                                                      IMAGE_ICON, ScaleValue(32, m_percent),
                                                      ScaleValue(32, m_percent), 0)));
    if (!AppendDrawnSubmenu(item.disabled ? MF_GRAYED : 0, submenu, m_entries.size(), MenuItemAccessName(item)))
        return false;
    return Record(item, MenuItemType::Submenu);
}

int CExMenu::Width() const
{
    return ScaleValue(std::max(m_minimumWidth, m_textWidth), m_percent);
}

void CExMenu::SetTextFont(const char* face, int height, int weight)
{
    m_textFont = MakeFontAt(m_percent, height, 0, weight, face);
}

void CExMenu::MeasureItem(MEASUREITEMSTRUCT& item, ULONG_PTR data)
{
    if (data >= m_entries.size())
        return;
    // Measured at 100 % and scaled.
    const MenuItemSize size = MeasureMenuItem(m_entries[data], std::max(m_minimumWidth, m_textWidth), m_itemHeight);
    item.itemWidth = static_cast<UINT>(ScaleValue(size.width, m_percent));
    item.itemHeight = static_cast<UINT>(ScaleValue(size.height, m_percent));
}

void CExMenu::DrawItem(const DRAWITEMSTRUCT& item, ULONG_PTR data)
{
    if (data >= m_entries.size())
        return;
    const MenuItemLook look = LookOfMenuItem(m_entries[data], (item.itemState & ODS_SELECTED) != 0, m_colours);
    HDC dc = item.hDC;
    const RECT& rect = item.rcItem;
    {
        const SavedDcState saved(dc);
        FillSolid(dc, rect, look.fill);
        if (look.line) {
            const int middle = (rect.top + rect.bottom) / 2;
            ::SelectObject(dc, ::GetStockObject(DC_PEN));
            ::SetDCPenColor(dc, look.lineColour);
            ::MoveToEx(dc, rect.left, middle, nullptr);
            ::LineTo(dc, rect.right, middle);
        } else {
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, look.textColour);
            if (m_textFont)
                ::SelectObject(dc, m_textFont.Get());
            RECT text = rect;
            text.left += ScaleValue(kMenuTextIndent, m_percent);
            ::DrawTextA(dc, look.text.c_str(), static_cast<int>(look.text.size()), &text, DT_SINGLELINE | DT_VCENTER);
            if (look.trademark) {
                RECT extent = text;
                ::DrawTextA(dc, look.text.c_str(), static_cast<int>(look.text.size()), &extent,
                            DT_SINGLELINE | DT_CALCRECT);
                RECT mark = rect;
                mark.left = extent.right;
                ::SelectObject(dc, m_trademarkFont.Get());
                ::DrawTextA(dc, "TM", 2, &mark, DT_SINGLELINE | DT_VCENTER);
            }
            if (look.arrow && m_arrow)
                ::DrawIconEx(dc, rect.right - ScaleValue(kMenuArrowFromRight, m_percent),
                             rect.top - ScaleValue(kMenuArrowAboveTop, m_percent), m_arrow.Get(),
                             ScaleValue(32, m_percent), ScaleValue(32, m_percent), 0, nullptr, DI_NORMAL);
        }
    }
    // The system draws nothing of its own (check marks, its own arrow) over the item.
    ::ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
}
