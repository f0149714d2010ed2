#include "MenuLook.h"

#include <gtest/gtest.h>

namespace {

MenuEntry Entry(const std::string& text, MenuItemKind kind = MenuItemKind::Command, bool current = false,
                bool trademark = false)
{
    return MenuEntry{text, kind, current, trademark};
}

TEST(MenuLook, ItemKindComesFromTheCommandIdUnlessItOpensASubmenu)
{
    EXPECT_EQ(MenuItemKindOf(0, false), MenuItemKind::Separator);
    EXPECT_EQ(MenuItemKindOf(1, false), MenuItemKind::Hidden);
    EXPECT_EQ(MenuItemKindOf(1018, false), MenuItemKind::Command);
    EXPECT_EQ(MenuItemKindOf(0, true), MenuItemKind::Submenu);
    EXPECT_EQ(MenuItemKindOf(1, true), MenuItemKind::Submenu);
}

TEST(MenuLook, EveryItemIsAsWideAsTheMenuAndTheLongestTextWidensIt)
{
    int width = 122; // the owner's minimum
    width = WidenMenuFor(width, "Stop");
    EXPECT_EQ(width, 122) << "short texts keep the owner's width";
    width = WidenMenuFor(width, "A rather long timer name"); // 24 characters
    EXPECT_EQ(width, 24 * 8);
    width = WidenMenuFor(width, "Mute");
    EXPECT_EQ(width, 24 * 8) << "a menu never narrows";
    EXPECT_EQ(WidenMenuFor(0, ""), 0);

    EXPECT_EQ(MeasureMenuItem(MenuItemKind::Command, 140).width, 140);
    EXPECT_EQ(MeasureMenuItem(MenuItemKind::Command, 140).height, 18);
    EXPECT_EQ(MeasureMenuItem(MenuItemKind::Submenu, 140).height, 18);
    EXPECT_EQ(MeasureMenuItem(MenuItemKind::Separator, 140).height, 5);
    EXPECT_EQ(MeasureMenuItem(MenuItemKind::Separator, 140).width, 140);
    EXPECT_EQ(MeasureMenuItem(MenuItemKind::Hidden, 140).height, 0);
    EXPECT_EQ(MeasureMenuItem(MenuItemKind::Command, 140, 20).height, 22) << "item height plus 2";
}

TEST(MenuLook, NormalAndSelectedItemsInTheProgramsColours)
{
    const MenuItemLook normal = LookOfMenuItem(Entry("Mute"), false);
    EXPECT_EQ(normal.fill, 0x000000u);
    EXPECT_EQ(normal.textColour, 0xFFFFFFu);
    EXPECT_EQ(normal.text, "Mute");
    EXPECT_FALSE(normal.line);
    EXPECT_FALSE(normal.arrow);
    EXPECT_FALSE(normal.trademark);

    const MenuItemLook selected = LookOfMenuItem(Entry("Mute"), true);
    EXPECT_EQ(selected.fill, 0xDEA035u);
    EXPECT_EQ(selected.textColour, 0xFFFFFFu);

    MenuColours own;
    own.background = 0x102030;
    own.selectedText = 0x00FF00;
    EXPECT_EQ(LookOfMenuItem(Entry("Mute"), false, own).fill, 0x102030u);
    EXPECT_EQ(LookOfMenuItem(Entry("Mute"), true, own).textColour, 0x00FF00u);
}

TEST(MenuLook, ThePresentChoiceIsStarredInTheMarkColourSelectedOrNot)
{
    for (bool selected : {false, true}) {
        const MenuItemLook look = LookOfMenuItem(Entry("Boost", MenuItemKind::Command, true), selected);
        EXPECT_EQ(look.text, "*Boost");
        EXPECT_EQ(look.textColour, 0xFFBF44u);
        EXPECT_EQ(look.fill, selected ? 0xDEA035u : 0x000000u);
    }
    const MenuItemLook set = LookOfMenuItem(Entry("R&&D", MenuItemKind::Submenu, true), false);
    EXPECT_EQ(set.text, "*R&&D") << "a marked set keeps its doubled ampersand";
    EXPECT_TRUE(set.arrow);
}

TEST(MenuLook, SeparatorsAreALineAndOnlySubmenusCarryTheArrow)
{
    const MenuItemLook separator = LookOfMenuItem(Entry("", MenuItemKind::Separator), true);
    EXPECT_TRUE(separator.line);
    EXPECT_EQ(separator.lineColour, 0xDEA035u);
    EXPECT_EQ(separator.fill, 0x000000u) << "a separator never shows the highlight";
    EXPECT_TRUE(separator.text.empty());
    EXPECT_FALSE(separator.arrow);

    EXPECT_TRUE(LookOfMenuItem(Entry("Multimedia", MenuItemKind::Submenu), false).arrow);
    EXPECT_FALSE(LookOfMenuItem(Entry("Button off"), false).arrow);
    EXPECT_TRUE(LookOfMenuItem(Entry("Tolk", MenuItemKind::Command, false, true), false).trademark);
}

} // namespace
