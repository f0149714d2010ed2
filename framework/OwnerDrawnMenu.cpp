#include "OwnerDrawnMenu.h"

#include <algorithm>

namespace {

// Menus are used on the thread that created them, as their tracking windows are.
thread_local std::vector<COwnerDrawnMenu*> t_menus;

} // namespace

COwnerDrawnMenu::COwnerDrawnMenu()
{
    t_menus.push_back(this);
}

COwnerDrawnMenu::~COwnerDrawnMenu()
{
    t_menus.erase(std::remove(t_menus.begin(), t_menus.end(), this), t_menus.end());
}

std::unique_ptr<COwnerDrawnMenu::Item> COwnerDrawnMenu::MakeItem(ULONG_PTR data, const std::string& name)
{
    auto item = std::make_unique<Item>();
    item->data = data;
    const int length = name.empty() ? 0
                                    : ::MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()),
                                                            nullptr, 0);
    if (length > 0) {
        item->name.resize(static_cast<size_t>(length));
        ::MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), item->name.data(), length);
    }
    item->access.dwMSAASignature = static_cast<DWORD>(MSAA_MENU_SIG);
    item->access.cchWText = static_cast<DWORD>(item->name.size());
    item->access.pszWText = item->name.data();
    return item;
}

bool COwnerDrawnMenu::AppendDrawnItem(UINT flags, UINT_PTR id, ULONG_PTR data, const std::string& name)
{
    auto item = MakeItem(data, name);
    if (!AppendOwnerDrawn(flags, id, reinterpret_cast<ULONG_PTR>(item.get())))
        return false;
    m_items.push_back(std::move(item));
    return true;
}

bool COwnerDrawnMenu::AppendDrawnSubmenu(UINT flags, COwnerDrawnMenu& submenu, ULONG_PTR data,
                                         const std::string& name)
{
    auto item = MakeItem(data, name);
    if (!AppendOwnerDrawnSubmenu(flags, submenu, reinterpret_cast<ULONG_PTR>(item.get())))
        return false;
    m_items.push_back(std::move(item));
    return true;
}

COwnerDrawnMenu* COwnerDrawnMenu::OwnerOf(ULONG_PTR itemData, const Item*& item)
{
    for (COwnerDrawnMenu* menu : t_menus) {
        for (const std::unique_ptr<Item>& own : menu->m_items) {
            if (reinterpret_cast<ULONG_PTR>(own.get()) == itemData) {
                item = own.get();
                return menu;
            }
        }
    }
    return nullptr;
}

bool COwnerDrawnMenu::Route(UINT message, LPARAM lParam)
{
    if (lParam == 0)
        return false;
    const Item* item = nullptr;
    if (message == WM_MEASUREITEM) {
        auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure.CtlType != ODT_MENU)
            return false;
        COwnerDrawnMenu* menu = OwnerOf(measure.itemData, item);
        if (menu == nullptr)
            return false;
        menu->MeasureItem(measure, item->data);
        return true;
    }
    if (message == WM_DRAWITEM) {
        const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (draw.CtlType != ODT_MENU)
            return false;
        COwnerDrawnMenu* menu = OwnerOf(draw.itemData, item);
        if (menu == nullptr)
            return false;
        menu->DrawItem(draw, item->data);
        return true;
    }
    return false;
}
