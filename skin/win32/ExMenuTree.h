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
    explicit CExMenuTree(const ::Menu& menu);
    CExMenuTree(const CExMenuTree&) = delete;
    CExMenuTree& operator=(const CExMenuTree&) = delete;

    CExMenu& Root() { return *m_menus.front(); }
    // The root and every submenu, in the order of a walk that visits a menu before its submenus.
    std::size_t MenuCount() const { return m_menus.size(); }
    CExMenu& Menu(std::size_t index) { return *m_menus.at(index); }

private:
    CExMenu& Make(const ::Menu& menu);

    std::vector<std::unique_ptr<CExMenu>> m_menus;
};
