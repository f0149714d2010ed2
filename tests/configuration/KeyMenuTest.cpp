#include "KeyCommands.h"
#include "KeyMenu.h"
#include "TestLibraries.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// "text(id)" per item, "-" for a separator, "text[...]" for a submenu, "*" before a marked item.
std::string Outline(const MenuItem& item)
{
    std::string s = item.current ? "*" : "";
    if (item.separator)
        return s + "-";
    s += item.text;
    if (!item.submenu)
        return s + "(" + std::to_string(item.commandId) + ")";
    s += "[";
    for (size_t i = 0; i < item.children.size(); ++i)
        s += (i ? " " : "") + Outline(item.children[i]);
    return s + "]";
}

const MenuItem& Child(const MenuItem& menu, const std::string& text)
{
    for (const MenuItem& item : menu.children)
        if (item.text == text)
            return item;
    static const MenuItem none;
    ADD_FAILURE() << "no item " << text;
    return none;
}

void CollectMarked(const MenuItem& menu, std::vector<std::string>& marked)
{
    for (const MenuItem& item : menu.children) {
        if (item.current)
            marked.push_back(item.text);
        CollectMarked(item, marked);
    }
}

std::vector<std::string> Marked(const MenuItem& menu)
{
    std::vector<std::string> marked;
    CollectMarked(menu, marked);
    return marked;
}

void CollectIds(const MenuItem& menu, std::vector<int>& ids)
{
    for (const MenuItem& item : menu.children) {
        if (item.commandId != 0)
            ids.push_back(item.commandId);
        CollectIds(item, ids);
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

    const MenuItem menu = BuildKeyMenu(KeyWith(KeyFunction::None), macros, timers);
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
    const MenuItem menu = BuildKeyMenu(KeyWith(KeyFunction::None), MacroLibrary(), TimerLibrary());
    EXPECT_EQ(Outline(Child(menu, "Assign Macro")), "Assign Macro[Create New Macro...(1099)]");
    EXPECT_EQ(Outline(Child(menu, "Assign a timer")),
              "Assign a timer[Create Timer(1020) Edit/Delete Timer(1022) Stop Timer(1021)]");
}

TEST(KeyMenu, NamesShowAsWrittenWithAmpersands)
{
    EXPECT_EQ(MenuText("R&D"), "R&&D");
    EXPECT_EQ(MenuText("&&x&"), "&&&&x&&");
    EXPECT_EQ(MenuText("plain"), "plain");

    MacroLibrary macros;
    macros.push_back(TestSet("R&D"));
    macros.back()->Elements.push_back(TestMacro("Cut & Paste", 0));
    TimerLibrary timers;
    timers.push_back(TestTimer(30, "Tea & Cake"));
    const MenuItem menu = BuildKeyMenu(KeyWith(KeyFunction::None), macros, timers);
    const MenuItem& set = Child(Child(menu, "Assign Macro"), "R&&D");
    ASSERT_EQ(set.children.size(), 4u);
    EXPECT_EQ(set.children.back().text, "Cut && Paste");
    EXPECT_EQ(Child(menu, "Assign a timer").children.back().text, "Tea && Cake");
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
    const MenuItem menu = BuildKeyMenu(macroKey, macros, timers);
    EXPECT_TRUE(Child(menu, "Assign Macro").children[3].current);  // " R&D "
    EXPECT_FALSE(Child(menu, "Assign Macro").children[2].current); // "Fight" holds a "Combo" as well

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
    const MenuItem menu = BuildKeyMenu(p.Buttons[0], macros, timers);
    const MenuItem& set = Child(Child(menu, "Assign Macro"), std::string(60, 'S'));
    ASSERT_EQ(set.children.size(), 4u);
    HandleKeyCommand(set.children.back().commandId, 0, p, macros, timers);
    EXPECT_EQ(Marked(BuildKeyMenu(p.Buttons[0], macros, timers)),
              (std::vector<std::string>{std::string(60, 'S'), "Combo"}));
}

TEST(KeyMenu, AFullLibraryIsOfferedWholeUnderIdsOfItsOwn)
{
    MacroLibrary macros = FullMacroLibrary();
    TimerLibrary timers = FullTimerLibrary();
    const MenuItem menu = BuildKeyMenu(KeyWith(KeyFunction::None), macros, timers);

    const MenuItem& macroMenu = Child(menu, "Assign Macro");
    ASSERT_EQ(macroMenu.children.size(), 2u + 51u);
    for (int s = 0; s < 51; ++s) {
        const MenuItem& set = macroMenu.children[2 + static_cast<size_t>(s)];
        ASSERT_EQ(set.children.size(), 3u + 100u);
        EXPECT_EQ(set.children[0].commandId, MacroManagerCommandId(s, false));
        EXPECT_EQ(set.children[1].commandId, MacroManagerCommandId(s, true));
        for (int m = 0; m < 100; ++m) {
            const MenuItem& item = set.children[3 + static_cast<size_t>(m)];
            const KeyCommand c = DecodeKeyCommand(item.commandId);
            EXPECT_EQ(item.text, "S" + std::to_string(s) + "M" + std::to_string(m));
            EXPECT_EQ(c.kind, KeyCommandKind::Macro);
            EXPECT_EQ(c.set, s);
            EXPECT_EQ(c.macro, m);
        }
    }
    const MenuItem& timerMenu = Child(menu, "Assign a timer");
    ASSERT_EQ(timerMenu.children.size(), 4u + 51u);
    EXPECT_EQ(DecodeKeyCommand(timerMenu.children.back().commandId).timer, 50);

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
    const MenuItem over = BuildKeyMenu(KeyWith(KeyFunction::None), macros, timers);
    EXPECT_EQ(Child(over, "Assign Macro").children.size(), 2u + 51u);
    EXPECT_EQ(Child(over, "Assign Macro").children[2].children.size(), 3u + 100u);
    EXPECT_EQ(Child(over, "Assign a timer").children.size(), 4u + 51u);
}

namespace {

TEST(KeyMenu, EachItemBecomesTheEntryTheMenuDraws)
{
    MacroLibrary macros;
    macros.push_back(TestSet("R&D"));
    macros.back()->Elements.push_back(TestMacro("Boost", 0));
    ButtonInfo info = KeyWith(KeyFunction::Macro);
    CopyToField(info.MacroSetName, "R&D");
    CopyToField(info.MacroName, "Boost");
    const MenuItem menu = BuildKeyMenu(info, macros, TimerLibrary{});

    const MenuEntry macroMenu = MenuEntryOf(Child(menu, "Assign Macro"));
    EXPECT_EQ(macroMenu.kind, MenuItemKind::Submenu);
    EXPECT_EQ(macroMenu.text, "Assign Macro");
    EXPECT_FALSE(macroMenu.current);

    const MenuItem& setItem = Child(menu, "Assign Macro").children.at(2);
    const MenuEntry set = MenuEntryOf(setItem);
    EXPECT_EQ(set.kind, MenuItemKind::Submenu);
    EXPECT_EQ(set.text, "R&&D");
    EXPECT_TRUE(set.current);
    EXPECT_EQ(MenuEntryOf(Child(menu, "Assign Macro").children.at(1)).kind, MenuItemKind::Separator);

    const MenuEntry boost = MenuEntryOf(setItem.children.at(3));
    EXPECT_EQ(boost.kind, MenuItemKind::Command);
    EXPECT_TRUE(boost.current);
    EXPECT_EQ(LookOfMenuItem(boost, false).text, "*Boost");

    const MenuEntry off = MenuEntryOf(Child(menu, "Button off"));
    EXPECT_EQ(off.kind, MenuItemKind::Command);
    EXPECT_FALSE(off.current);
    EXPECT_FALSE(off.trademark);
}

} // namespace
