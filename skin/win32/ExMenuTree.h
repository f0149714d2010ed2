// The program's owner-drawn menus made from a menu as data, for one opening and destroyed after it:
// the root menu and each submenu, every one with the program's menu font and the minimum width its
// part of the data gives. This is where every skinned menu of the program is made.
#pragma once

#include "ExMenu.h"
#include "Menu.h"

#include <cstddef>
#include <memory>
#include <vector>

class CExMenuTree {
public:
    // percent: the display scaling of the window the menu opens from (CSkinDialog::SkinPercent).
    explicit CExMenuTree(const ::Menu& menu, int percent = 100);
    CExMenuTree(const CExMenuTree&) = delete;
    CExMenuTree& operator=(const CExMenuTree&) = delete;

    CExMenu& Root() { return *m_menus.front(); }
    // The root and every submenu, in the order of a walk that visits a menu before its submenus.
    std::size_t MenuCount() const { return m_menus.size(); }
    CExMenu& Menu(std::size_t index) { return *m_menus.at(index); }

private:
    CExMenu& Make(const ::Menu& menu);

    int m_percent = 100;

    std::vector<std::unique_ptr<CExMenu>> m_menus;
};
