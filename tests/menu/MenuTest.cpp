#include "Menu.h"

#include <gtest/gtest.h>

namespace {

TEST(Menu, TheBuildersMakeEachKindOfItem)
{
    const MenuItem command = CommandItem("Mute", 1006, true);
    EXPECT_EQ(command.type, MenuItemType::Command);
    EXPECT_EQ(command.text, "Mute");
    EXPECT_EQ(command.id, 1006);
    EXPECT_TRUE(command.checked);
    EXPECT_FALSE(command.disabled);
    EXPECT_FALSE(command.isDefault);

    const MenuItem separator = SeparatorItem();
    EXPECT_EQ(separator.type, MenuItemType::Separator);
    EXPECT_EQ(separator.id, 0);
    EXPECT_TRUE(separator.text.empty());

    const MenuItem submenu = SubmenuItem("Multimedia", Menu{122, {CommandItem("Stop", 1005)}});
    EXPECT_EQ(submenu.type, MenuItemType::Submenu);
    EXPECT_EQ(submenu.id, 0) << "a submenu reports no command";
    EXPECT_FALSE(submenu.checked);
    EXPECT_EQ(submenu.submenu.width, 122);
    ASSERT_EQ(submenu.submenu.items.size(), 1u);
    EXPECT_EQ(submenu.submenu.items[0].id, 1005);
}

TEST(Menu, MenusAreEqualOnlyWhenEveryItemStateAndSubmenuIs)
{
    const Menu menu{140,
                    {CommandItem("Create", 1099), SeparatorItem(),
                     SubmenuItem("Fight", Menu{140, {CommandItem("Combo", 1200, true)}})}};
    Menu same = menu;
    EXPECT_TRUE(same == menu);

    Menu other = menu;
    other.items[2].submenu.items[0].checked = false;
    EXPECT_FALSE(other == menu) << "a state deep in a submenu";
    other = menu;
    other.items[2].submenu.width = 122;
    EXPECT_FALSE(other == menu) << "a submenu's width";
    other = menu;
    other.items[0].disabled = true;
    EXPECT_FALSE(other == menu);
    other = menu;
    other.items[0].isDefault = true;
    EXPECT_FALSE(other == menu);
    other = menu;
    other.width = 0;
    EXPECT_FALSE(other == menu);
    other = menu;
    other.items.pop_back();
    EXPECT_FALSE(other == menu);
}

TEST(Menu, NamesShowAsWrittenWithAmpersands)
{
    EXPECT_EQ(MenuText("R&D"), "R&&D");
    EXPECT_EQ(MenuText("&&x&"), "&&&&x&&");
    EXPECT_EQ(MenuText("plain"), "plain");
    EXPECT_EQ(MenuText(""), "");
}

} // namespace
