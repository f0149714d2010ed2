// A popup menu that measures and draws its own items. A menu has no window: WM_MEASUREITEM and
// WM_DRAWITEM for its items go to the window that tracks it, and CWnd hands them on to the menu
// object before its own table sees them. Each item's data is a record of the menu that added it,
// and a record is only believed when a live menu object of this thread owns it, so item data of
// other menus is never taken for a pointer. A record begins with the MSAAMENUINFO through which
// assistive technology reads an owner-drawn item's name.
#pragma once

#include "PopupMenu.h"

#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

class COwnerDrawnMenu : public CPopupMenu {
public:
    COwnerDrawnMenu();
    virtual ~COwnerDrawnMenu();
    // Registered by address: neither copied nor moved. Appended as a submenu, it must outlive the
    // menu it was appended to.
    COwnerDrawnMenu(const COwnerDrawnMenu&) = delete;
    COwnerDrawnMenu& operator=(const COwnerDrawnMenu&) = delete;

    // An item drawn by this object (MF_OWNERDRAW is added to flags); data comes back with each
    // measure and draw request. name (in the program's code page) is what a screen reader reads.
    bool AppendDrawnItem(UINT flags, UINT_PTR id, ULONG_PTR data, const std::string& name = {});
    // A submenu item drawn by this object; submenu's handle now belongs to this menu, while the
    // submenu object (which draws the submenu's items) must live as long as this menu is shown.
    bool AppendDrawnSubmenu(UINT flags, COwnerDrawnMenu& submenu, ULONG_PTR data, const std::string& name = {});

    // For the tracking window: handles WM_MEASUREITEM or WM_DRAWITEM (lParam as received) when the
    // item is one of a live owner-drawn menu of this thread; false for anything else.
    static bool Route(UINT message, LPARAM lParam);

protected:
    // itemWidth and itemHeight are to be set.
    virtual void MeasureItem(MEASUREITEMSTRUCT& item, ULONG_PTR data) = 0;
    // item.hDC, item.rcItem and item.itemState (ODS_SELECTED while highlighted) describe the item.
    virtual void DrawItem(const DRAWITEMSTRUCT& item, ULONG_PTR data) = 0;

private:
    struct Item {
        MSAAMENUINFO access; // first: the item data points at it
        std::wstring name;
        ULONG_PTR data;
    };
    static std::unique_ptr<Item> MakeItem(ULONG_PTR data, const std::string& name);
    // The menu object that owns item data itemData, or null.
    static COwnerDrawnMenu* OwnerOf(ULONG_PTR itemData, const Item*& item);

    std::vector<std::unique_ptr<Item>> m_items;
};
