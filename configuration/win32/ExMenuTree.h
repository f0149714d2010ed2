// The owner-drawn menus of one menu tree, made for one opening and destroyed after it: the root
// menu and each submenu, every one with the key menu's font and the minimum width the tree gives.
#pragma once

#include "ExMenu.h"
#include "KeyMenu.h"

#include <cstddef>
#include <memory>
#include <vector>

class CExMenuTree {
public:
    // root is a submenu item; its children become the items of the root menu.
    explicit CExMenuTree(const MenuItem& root);
    CExMenuTree(const CExMenuTree&) = delete;
    CExMenuTree& operator=(const CExMenuTree&) = delete;

    CExMenu& Root() { return *m_menus.front(); }
    // The root and every submenu, in the order of a walk that visits a menu before its submenus.
    std::size_t MenuCount() const { return m_menus.size(); }
    CExMenu& Menu(std::size_t index) { return *m_menus.at(index); }

private:
    CExMenu& Make(const MenuItem& item);

    std::vector<std::unique_ptr<CExMenu>> m_menus;
};
