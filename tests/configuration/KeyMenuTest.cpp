#include "KeyCommands.h"
#include "KeyMenu.h"
#include "MenuLook.h"
#include "TestLibraries.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// "text(id)" per item, "-" for a separator, "text[...]" for a submenu, "*" before a checked item.
std::string Outline(const Menu& menu);

std::string Outline(const MenuItem& item)
{
    std::string s = item.checked ? "*" : "";
    if (item.type == MenuItemType::Separator)
        return s + "-";
    s += item.text;
    if (item.type == MenuItemType::Command)
        return s + "(" + std::to_string(item.id) + ")";
    return s + Outline(item.submenu);
}

std::string Outline(const Menu& menu)
{
    std::string s = "[";
    for (size_t i = 0; i < menu.items.size(); ++i)
        s += (i ? " " : "") + Outline(menu.items[i]);
    return s + "]";
}

// The submenu of the item with text.
const Menu& Child(const Menu& menu, const std::string& text)
{
    for (const MenuItem& item : menu.items)
        if (item.text == text)
            return item.submenu;
    static const Menu none;
    ADD_FAILURE() << "no item " << text;
    return none;
}

const MenuItem& Item(const Menu& menu, const std::string& text)
{
    for (const MenuItem& item : menu.items)
        if (item.text == text)
            return item;
    static const MenuItem none;
    ADD_FAILURE() << "no item " << text;
    return none;
}

void CollectMarked(const Menu& menu, std::vector<std::string>& marked)
{
    for (const MenuItem& item : menu.items) {
        if (item.checked)
            marked.push_back(item.text);
        CollectMarked(item.submenu, marked);
    }
}

std::vector<std::string> Marked(const Menu& menu)
{
    std::vector<std::string> marked;
    CollectMarked(menu, marked);
    return marked;
}

void CollectIds(const Menu& menu, std::vector<int>& ids)
{
    for (const MenuItem& item : menu.items) {
        if (item.id != 0)
            ids.push_back(item.id);
        CollectIds(item.submenu, ids);
    }
}

ButtonInfo KeyWith(KeyFunction function)
{
    ButtonInfo info{};
    info.KeyNumber = 1;
    info.FunctionCode = static_cast<uint8_t>(function);
    return info;
}

} // namespace

TEST(KeyMenu, HoldsEveryFunctionInOrderWithItsCommand)
{
    MacroLibrary macros;
    macros.push_back(TestSet("Fight"));
    macros.back()->Elements.push_back(TestMacro("Combo", 0));
    macros.back()->Elements.push_back(TestMacro("Jump", 0));
    macros.push_back(TestSet("Empty"));
    TimerLibrary timers;
    timers.push_back(TestTimer(30, "Tea"));
    timers.push_back(TestTimer(60, "Egg"));

    const Menu menu = BuildKeyMenu(KeyWith(KeyFunction::None), macros, timers);
    EXPECT_EQ(Outline(menu),
              "["
              "Assign Macro[Create New Macro...(1099) - "
              "Fight[Create New Macro...(1100) Edit Macro...(1101) - Combo(1200) Jump(1201)] "
              "Empty[Create New Macro...(1102) Edit Macro...(1103) -]] "
              "Assign a shortcut(1000) "
              "Assign a timer[Create Timer(1020) Edit/Delete Timer(1022) Stop Timer(1021) - Tea(1025) Egg(1026)] "
              "Multimedia[Open Player(1001) Pre Track(1002) Next Track(1003) Play/Pause(1004) Stop(1005) "
              "Mute(1006) Volume Up(1007) Volume Down(1008) Select Player(1009)] "
              "Internet Explorer[WWW Search(1011) WWW Home(1012) WWW Back(1013) WWW Forward(1014) "
              "WWW Stop(1015) WWW Refresh(1016) WWW Favorites(1017)] "
              "Button off(1018)"
              "]");

    EXPECT_EQ(Child(menu, "Assign Macro").width, 140);
    EXPECT_EQ(Child(Child(menu, "Assign Macro"), "Fight").width, 140);
    EXPECT_EQ(Child(menu, "Assign a timer").width, 122);
    EXPECT_EQ(Child(menu, "Multimedia").width, 122);
    EXPECT_EQ(Child(menu, "Internet Explorer").width, 122);
}

TEST(KeyMenu, EmptyLibrariesLeaveNoSeparatorsBehind)
{
    const Menu menu = BuildKeyMenu(KeyWith(KeyFunction::None), MacroLibrary(), TimerLibrary());
    EXPECT_EQ(Outline(Item(menu, "Assign Macro")), "Assign Macro[Create New Macro...(1099)]");
    EXPECT_EQ(Outline(Item(menu, "Assign a timer")),
              "Assign a timer[Create Timer(1020) Edit/Delete Timer(1022) Stop Timer(1021)]");
}

TEST(KeyMenu, NamesShowAsWrittenWithAmpersands)
{
    MacroLibrary macros;
    macros.push_back(TestSet("R&D"));
    macros.back()->Elements.push_back(TestMacro("Cut & Paste", 0));
    TimerLibrary timers;
    timers.push_back(TestTimer(30, "Tea & Cake"));
    const Menu menu = BuildKeyMenu(KeyWith(KeyFunction::None), macros, timers);
    const Menu& set = Child(Child(menu, "Assign Macro"), "R&&D");
    ASSERT_EQ(set.items.size(), 4u);
    EXPECT_EQ(set.items.back().text, "Cut && Paste");
    EXPECT_EQ(Child(menu, "Assign a timer").items.back().text, "Tea && Cake");
}

TEST(KeyMenu, MarksTheKeysCurrentAssignmentOnly)
{
    MacroLibrary macros;
    macros.push_back(TestSet("Fight"));
    macros.back()->Elements.push_back(TestMacro("Combo", 0));
    macros.push_back(TestSet(" R&D "));
    macros.back()->Elements.push_back(TestMacro("Jump", 0));
    macros.back()->Elements.push_back(TestMacro("Combo", 0));
    TimerLibrary timers;
    timers.push_back(TestTimer(30, "Tea"));
    timers.push_back(TestTimer(60, "Egg"));

    // A macro: its set and the macro, names compared without regard to case or outer blanks.
    ButtonInfo macroKey = KeyWith(KeyFunction::Macro);
    CopyToField(macroKey.MacroSetName, "r&d");
    CopyToField(macroKey.MacroName, "COMBO");
    EXPECT_EQ(Marked(BuildKeyMenu(macroKey, macros, timers)), (std::vector<std::string>{" R&&D ", "Combo"}));
    const Menu menu = BuildKeyMenu(macroKey, macros, timers);
    EXPECT_TRUE(Child(menu, "Assign Macro").items[3].checked);  // " R&D "
    EXPECT_FALSE(Child(menu, "Assign Macro").items[2].checked); // "Fight" holds a "Combo" as well

    // The same names with another function mark nothing of the macros.
    ButtonInfo offKey = macroKey;
    offKey.FunctionCode = static_cast<uint8_t>(KeyFunction::ButtonOff);
    EXPECT_EQ(Marked(BuildKeyMenu(offKey, macros, timers)), std::vector<std::string>{"Button off"});

    ButtonInfo timerKey = KeyWith(KeyFunction::Timer);
    CopyToField(timerKey.TimerName, "egg");
    EXPECT_EQ(Marked(BuildKeyMenu(timerKey, macros, timers)), std::vector<std::string>{"Egg"});

    EXPECT_EQ(Marked(BuildKeyMenu(KeyWith(KeyFunction::Shortcut), macros, timers)),
              std::vector<std::string>{"Assign a shortcut"});
    EXPECT_EQ(Marked(BuildKeyMenu(KeyWith(KeyFunction::VolumeUp), macros, timers)),
              std::vector<std::string>{"Volume Up"});
    EXPECT_EQ(Marked(BuildKeyMenu(KeyWith(KeyFunction::WwwBack), macros, timers)),
              std::vector<std::string>{"WWW Back"});
    EXPECT_EQ(Marked(BuildKeyMenu(KeyWith(KeyFunction::StopTimer), macros, timers)),
              std::vector<std::string>{"Stop Timer"});
    EXPECT_TRUE(Marked(BuildKeyMenu(KeyWith(KeyFunction::None), macros, timers)).empty());
    EXPECT_TRUE(Marked(BuildKeyMenu(KeyWith(KeyFunction::MacroStop), macros, timers)).empty());
}

TEST(KeyMenu, AnEntryChosenFromTheMenuIsMarkedWhenTheMenuOpensAgain)
{
    MacroLibrary macros;
    macros.push_back(TestSet(std::string(60, 'S'))); // longer than the key's field
    macros.back()->Elements.push_back(TestMacro("Combo", 0));
    TimerLibrary timers;
    Profile p = TestProfile();
    const Menu menu = BuildKeyMenu(p.Buttons[0], macros, timers);
    const Menu& set = Child(Child(menu, "Assign Macro"), std::string(60, 'S'));
    ASSERT_EQ(set.items.size(), 4u);
    HandleKeyCommand(set.items.back().id, 0, p, macros, timers);
    EXPECT_EQ(Marked(BuildKeyMenu(p.Buttons[0], macros, timers)),
              (std::vector<std::string>{std::string(60, 'S'), "Combo"}));
}

TEST(KeyMenu, AFullLibraryIsOfferedWholeUnderIdsOfItsOwn)
{
    MacroLibrary macros = FullMacroLibrary();
    TimerLibrary timers = FullTimerLibrary();
    const Menu menu = BuildKeyMenu(KeyWith(KeyFunction::None), macros, timers);

    const Menu& macroMenu = Child(menu, "Assign Macro");
    ASSERT_EQ(macroMenu.items.size(), 2u + 51u);
    for (int s = 0; s < 51; ++s) {
        const Menu& set = macroMenu.items[2 + static_cast<size_t>(s)].submenu;
        ASSERT_EQ(set.items.size(), 3u + 100u);
        EXPECT_EQ(set.items[0].id, MacroManagerCommandId(s, false));
        EXPECT_EQ(set.items[1].id, MacroManagerCommandId(s, true));
        for (int m = 0; m < 100; ++m) {
            const MenuItem& item = set.items[3 + static_cast<size_t>(m)];
            const KeyCommand c = DecodeKeyCommand(item.id);
            EXPECT_EQ(item.text, "S" + std::to_string(s) + "M" + std::to_string(m));
            EXPECT_EQ(c.kind, KeyCommandKind::Macro);
            EXPECT_EQ(c.set, s);
            EXPECT_EQ(c.macro, m);
        }
    }
    const Menu& timerMenu = Child(menu, "Assign a timer");
    ASSERT_EQ(timerMenu.items.size(), 4u + 51u);
    EXPECT_EQ(DecodeKeyCommand(timerMenu.items.back().id).timer, 50);

    std::vector<int> ids;
    CollectIds(menu, ids);
    const std::set<int> distinct(ids.begin(), ids.end());
    EXPECT_EQ(distinct.size(), ids.size());
    EXPECT_GE(*distinct.begin(), kFirstKeyCommand);
    EXPECT_LE(*distinct.rbegin(), kLastKeyCommand);

    // What a hand-edited file may hold beyond that has no id and stays out of the menu.
    macros.push_back(TestSet("Set51"));
    macros[0]->Elements.push_back(TestMacro("S0M100", 0));
    timers.push_back(TestTimer(10, "T51"));
    const Menu over = BuildKeyMenu(KeyWith(KeyFunction::None), macros, timers);
    EXPECT_EQ(Child(over, "Assign Macro").items.size(), 2u + 51u);
    EXPECT_EQ(Child(over, "Assign Macro").items[2].submenu.items.size(), 3u + 100u);
    EXPECT_EQ(Child(over, "Assign a timer").items.size(), 4u + 51u);
}

namespace {

TEST(KeyMenu, EachItemDrawsAsTheMenuShowsIt)
{
    MacroLibrary macros;
    macros.push_back(TestSet("R&D"));
    macros.back()->Elements.push_back(TestMacro("Boost", 0));
    ButtonInfo info = KeyWith(KeyFunction::Macro);
    CopyToField(info.MacroSetName, "R&D");
    CopyToField(info.MacroName, "Boost");
    const Menu menu = BuildKeyMenu(info, macros, TimerLibrary{});

    const MenuItemLook macroMenu = LookOfMenuItem(Item(menu, "Assign Macro"), false);
    EXPECT_TRUE(macroMenu.arrow);
    EXPECT_EQ(macroMenu.text, "Assign Macro");

    const MenuItem& setItem = Child(menu, "Assign Macro").items.at(2);
    const MenuItemLook set = LookOfMenuItem(setItem, false);
    EXPECT_TRUE(set.arrow);
    EXPECT_EQ(set.text, "*R&&D");
    EXPECT_TRUE(LookOfMenuItem(Child(menu, "Assign Macro").items.at(1), false).line);

    const MenuItemLook boost = LookOfMenuItem(setItem.submenu.items.at(3), false);
    EXPECT_FALSE(boost.arrow);
    EXPECT_EQ(boost.text, "*Boost");

    const MenuItemLook off = LookOfMenuItem(Item(menu, "Button off"), false);
    EXPECT_FALSE(off.arrow);
    EXPECT_EQ(off.text, "Button off");
    EXPECT_FALSE(off.trademark);
}

} // namespace
