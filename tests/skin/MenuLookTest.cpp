#include "MenuLook.h"

#include <gtest/gtest.h>

namespace {

MenuItem Entry(const std::string& text, MenuItemType type = MenuItemType::Command, bool checked = false,
               bool trademark = false)
{
    MenuItem item;
    item.type = type;
    item.text = text;
    item.id = type == MenuItemType::Command ? 1018 : 0;
    item.checked = checked;
    item.trademark = trademark;
    return item;
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

    EXPECT_EQ(MeasureMenuItem(Entry("Mute"), 140).width, 140);
    EXPECT_EQ(MeasureMenuItem(Entry("Mute"), 140).height, 18);
    EXPECT_EQ(MeasureMenuItem(Entry("Multimedia", MenuItemType::Submenu), 140).height, 18);
    EXPECT_EQ(MeasureMenuItem(SeparatorItem(), 140).height, 5);
    EXPECT_EQ(MeasureMenuItem(SeparatorItem(), 140).width, 140);
    EXPECT_EQ(MeasureMenuItem(CommandItem("", 1), 140).height, 0) << "a command of id 1 takes no room";
    EXPECT_EQ(MeasureMenuItem(CommandItem("", 1), 140).width, 140);
    EXPECT_EQ(MeasureMenuItem(Entry("Mute"), 140, 20).height, 22) << "item height plus 2";
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
        const MenuItemLook look = LookOfMenuItem(Entry("Boost", MenuItemType::Command, true), selected);
        EXPECT_EQ(look.text, "*Boost");
        EXPECT_EQ(look.textColour, 0xFFBF44u);
        EXPECT_EQ(look.fill, selected ? 0xDEA035u : 0x000000u);
    }
    const MenuItemLook set = LookOfMenuItem(Entry("R&&D", MenuItemType::Submenu, true), false);
    EXPECT_EQ(set.text, "*R&&D") << "a marked set keeps its doubled ampersand";
    EXPECT_TRUE(set.arrow);
}

TEST(MenuLook, AnItemThatCannotBeChosenShowsItsTextGreySelectedOrNot)
{
    MenuItem item = CommandItem("Stop Timer", 1021, true);
    item.disabled = true;
    for (bool selected : {false, true}) {
        const MenuItemLook look = LookOfMenuItem(item, selected);
        EXPECT_EQ(look.textColour, 0x808080u);
        EXPECT_EQ(look.text, "*Stop Timer") << "still marked as the present choice";
        EXPECT_EQ(look.fill, selected ? 0xDEA035u : 0x000000u);
    }
}

TEST(MenuLook, SeparatorsAreALineAndOnlySubmenusCarryTheArrow)
{
    const MenuItemLook separator = LookOfMenuItem(SeparatorItem(), true);
    EXPECT_TRUE(separator.line);
    EXPECT_EQ(separator.lineColour, 0xDEA035u);
    EXPECT_EQ(separator.fill, 0x000000u) << "a separator never shows the highlight";
    EXPECT_TRUE(separator.text.empty());
    EXPECT_FALSE(separator.arrow);

    EXPECT_TRUE(LookOfMenuItem(Entry("Multimedia", MenuItemType::Submenu), false).arrow);
    EXPECT_FALSE(LookOfMenuItem(Entry("Button off"), false).arrow);
    EXPECT_TRUE(LookOfMenuItem(Entry("Tolk", MenuItemType::Command, false, true), false).trademark);
}

TEST(MenuLook, AScreenReaderReadsAnItemAsShown)
{
    EXPECT_EQ(MenuItemAccessName(Entry("Assign a timer", MenuItemType::Submenu)), "Assign a timer");
    EXPECT_EQ(MenuItemAccessName(Entry("Salt && Pepper")), "Salt & Pepper") << "a doubled & shows as one";
    EXPECT_EQ(MenuItemAccessName(Entry("Play/Pause", MenuItemType::Command, true)), "Play/Pause")
        << "without the present choice's star";
    EXPECT_EQ(MenuItemAccessName(SeparatorItem()), "");
}

} // namespace
