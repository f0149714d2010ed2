#include "KeyCommands.h"
#include "MacroManagerModel.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<MacroRecord> Macro(const std::string& name, int events = 0)
{
    auto macro = std::make_unique<MacroRecord>();
    std::memset(macro.get(), 0, sizeof(MacroRecord));
    CopyToField(macro->Name, name);
    macro->EventCount = events;
    return macro;
}

std::unique_ptr<MacroSet> Set(const std::string& name, std::initializer_list<const char*> macros = {})
{
    auto set = std::make_unique<MacroSet>();
    CopyToField(set->Name, name);
    for (const char* m : macros)
        set->Elements.push_back(Macro(m));
    return set;
}

// Sets "Set 0", "Set 1", ... each with the macros "M0" and "M1".
MacroLibrary NumberedSets(int count)
{
    MacroLibrary library;
    for (int i = 0; i < count; ++i)
        library.push_back(Set("Set " + std::to_string(i), {"M0", "M1"}));
    return library;
}

ButtonInfo KeyPlaying(const std::string& set, const std::string& macro)
{
    ButtonInfo key;
    std::memset(&key, 0, sizeof key);
    key.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    CopyToField(key.MacroSetName, set);
    CopyToField(key.MacroName, macro);
    return key;
}

ButtonInfo KeyWithShortcut()
{
    ButtonInfo key;
    std::memset(&key, 0, sizeof key);
    key.FunctionCode = static_cast<uint8_t>(KeyFunction::Shortcut);
    return key;
}

// An editor page that logs what the manager asks of it into a log shared by both pages.
struct LoggingPage : MacroEditorPage {
    LoggingPage(std::string n, std::vector<std::string>& l) : name(std::move(n)), log(l) {}
    void LoadMacro(int set, int macro) override
    {
        shownSet = set;
        shownMacro = macro;
        log.push_back(name + " load " + std::to_string(set) + "," + std::to_string(macro));
    }
    void CommitBars() override
    {
        log.push_back(name + " commit");
        if (onCommit)
            onCommit(shownSet, shownMacro);
    }
    std::string name;
    std::vector<std::string>& log;
    int shownSet = -2;
    int shownMacro = -2;
    std::function<void(int set, int macro)> onCommit;
};

struct ManagerTest : ::testing::Test {
    MacroLibrary library;
    std::vector<std::string> log;
    LoggingPage basic{"basic", log};
    LoggingPage advanced{"advanced", log};
    MacroManagerModel manager{library, basic, advanced};

    // Opens the manager as the key menu's command id does.
    void OpenBy(int commandId, const ButtonInfo& key = KeyWithShortcut())
    {
        const KeyCommand command = DecodeKeyCommand(commandId);
        ASSERT_EQ(command.kind, KeyCommandKind::MacroManager);
        manager.Start(command.set, key);
    }
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        for (const ListRow& row : manager.MacroList().Rows())
            rows.push_back(row.text);
        return rows;
    }
    std::string SetName(size_t i) const { return std::string(FieldText(library[i]->Name)); }
    bool AddSet(const std::string& name)
    {
        EXPECT_EQ(manager.SetMenuChosen(kCmdAddSet), ManagerDialog::CreateMacroSet);
        return manager.SetNameEntered(name);
    }
    void AddMacro(const std::string& name, ListEditEnd how = ListEditEnd::Enter)
    {
        ASSERT_EQ(manager.AddMacroClicked(), ManagerDialog::NewMacroEntry);
        manager.EndMacroEntry(how, name);
    }
};

using Names = std::vector<std::string>;
using Log = std::vector<std::string>;

} // namespace

TEST_F(ManagerTest, TheTopCreateEntryOpensTheZentorSetWhateverItsCaseAndBlanks)
{
    library.push_back(Set("Games", {"Jump"}));
    library.push_back(Set("  zentor TOLK ", {"Hello", "Bye"}));
    OpenBy(1099);
    EXPECT_EQ(manager.SelectedSet(), 1);
    EXPECT_EQ(manager.SetCaption(), "  zentor TOLK ");
    EXPECT_EQ(Rows(), (Names{"Hello", "Bye"}));
    EXPECT_EQ(manager.SelectedMacro(), 0);
    EXPECT_EQ(manager.MacroList().Selection(), 0);
    EXPECT_EQ(log, (Log{"basic load 1,0", "advanced load 1,0"}));
}

TEST_F(ManagerTest, WithoutTheZentorSetTheTopEntryOpensNoSet)
{
    library.push_back(Set("Games", {"Jump"}));
    OpenBy(1099);
    EXPECT_EQ(manager.SelectedSet(), -1);
    EXPECT_EQ(manager.SelectedMacro(), -1);
    EXPECT_EQ(manager.SetCaption(), "");
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(log, (Log{"basic load -1,-1", "advanced load -1,-1"}));
    EXPECT_EQ(manager.AddMacroClicked(), ManagerDialog::WarnMacroSet);
}

TEST_F(ManagerTest, EditMacroOfSet3SelectsSet3AndTheKeysMacroInIt)
{
    library = NumberedSets(5);
    library[3]->Elements.push_back(Macro("Combo"));
    OpenBy(1107, KeyPlaying("set 3", "COMBO"));
    EXPECT_EQ(manager.SelectedSet(), 3);
    EXPECT_EQ(manager.SelectedMacro(), 2);
    EXPECT_EQ(manager.MacroList().Selection(), 2);
    EXPECT_EQ(basic.shownMacro, 2);

    // The key's macro lives in another set: the set opens at its first macro.
    ManagerTest::log.clear();
    manager.Start(DecodeKeyCommand(1107).set, KeyPlaying("Set 1", "Combo"));
    EXPECT_EQ(manager.SelectedSet(), 3);
    EXPECT_EQ(manager.SelectedMacro(), 0);
    // A key that plays no macro selects nothing of its own.
    manager.Start(DecodeKeyCommand(1106).set, KeyWithShortcut());
    EXPECT_EQ(manager.SelectedSet(), 3);
    EXPECT_EQ(manager.SelectedMacro(), 0);
}

TEST_F(ManagerTest, TheCommandsOfThe51stSetOpenIt)
{
    library = NumberedSets(51);
    const auto edit = MacroManagerCommandId(50, true);
    ASSERT_TRUE(edit);
    OpenBy(*edit);
    EXPECT_EQ(manager.SelectedSet(), 50);
    EXPECT_EQ(manager.SetCaption(), "Set 50");
    EXPECT_EQ(Rows(), (Names{"M0", "M1"}));
}

TEST_F(ManagerTest, ASetTheCommandNamesButTheLibraryLacksOpensNone)
{
    library = NumberedSets(2);
    OpenBy(1107);
    EXPECT_EQ(manager.SelectedSet(), -1);
    EXPECT_EQ(manager.SetCaption(), "");
    EXPECT_EQ(manager.AddMacroClicked(), ManagerDialog::WarnMacroSet);
}

TEST_F(ManagerTest, ASetWithoutMacrosSelectsNoMacro)
{
    library.push_back(Set("Empty"));
    OpenBy(1100);
    EXPECT_EQ(manager.SelectedSet(), 0);
    EXPECT_EQ(manager.SelectedMacro(), -1);
    EXPECT_EQ(manager.MacroList().Selection(), -1);
    EXPECT_EQ(manager.DeleteMacroClicked(), ManagerDialog::NoSelectMacroDelete);
}

TEST_F(ManagerTest, TheSetMenuListsTheSetsMarksTheKeysAndEndsWithAddAndDelete)
{
    library = NumberedSets(3);
    OpenBy(1099, KeyPlaying(" SET 1", "m1"));
    const Menu expected{0,
                        {CommandItem("Set 0", 2000), CommandItem("Set 1", 2001, true), CommandItem("Set 2", 2002),
                         SeparatorItem(), CommandItem("[+]Add Macro Set", 2998),
                         CommandItem("[x]Delete Macro Set", 2999)}};
    EXPECT_EQ(manager.SetMenu(), expected);

    EXPECT_EQ(manager.SetMenuChosen(2002), ManagerDialog::None);
    EXPECT_EQ(manager.SelectedSet(), 2);
    EXPECT_EQ(manager.SetCaption(), "Set 2");
    // The key's set opens at the key's macro.
    manager.SetMenuChosen(2001);
    EXPECT_EQ(manager.SelectedMacro(), 1);
    // An id of no set changes nothing.
    manager.SetMenuChosen(2003);
    EXPECT_EQ(manager.SelectedSet(), 1);
    EXPECT_EQ(manager.SetMenuChosen(2999), ManagerDialog::DeleteMacroSet);
}

TEST_F(ManagerTest, A51stSetIsCreatedButNotA52nd)
{
    library = NumberedSets(50);
    OpenBy(1099);
    EXPECT_TRUE(AddSet("Fifty-one"));
    ASSERT_EQ(library.size(), 51u);
    EXPECT_EQ(manager.SelectedSet(), 50);
    EXPECT_EQ(manager.SetCaption(), "Fifty-one");

    // The name dialog still opens, but its OK creates nothing.
    EXPECT_FALSE(AddSet("Fifty-two"));
    EXPECT_EQ(library.size(), 51u);
    EXPECT_EQ(manager.SelectedSet(), 50);
}

TEST_F(ManagerTest, ASetNameDifferingOnlyInCaseOrBlanksCreatesNothing)
{
    library.push_back(Set("Alpha", {"A1"}));
    OpenBy(1100);
    EXPECT_FALSE(AddSet("ALPHA"));
    EXPECT_FALSE(AddSet("  alpha\t"));
    EXPECT_FALSE(AddSet("   "));
    EXPECT_EQ(library.size(), 1u);
    EXPECT_EQ(manager.SelectedSet(), 0);
    EXPECT_EQ(manager.SelectedMacro(), 0);

    EXPECT_TRUE(AddSet("  Beta  "));
    ASSERT_EQ(library.size(), 2u);
    EXPECT_EQ(SetName(1), "Beta");
    EXPECT_TRUE(library[1]->Elements.empty());
    EXPECT_EQ(manager.SelectedSet(), 1);
    EXPECT_EQ(manager.SelectedMacro(), -1);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(basic.shownSet, 1);
    EXPECT_EQ(basic.shownMacro, -1);
}

TEST(MacroSetNameField, TakesTwentyFourCharactersTrimmedAndNotEmpty)
{
    EXPECT_EQ(SetNameFromField("  Raid night "), "Raid night");
    EXPECT_EQ(SetNameFromField(" \t "), std::nullopt);
    EXPECT_EQ(SetNameFromField(""), std::nullopt);
    EXPECT_EQ(SetNameFromField(std::string(30, 'x')), std::string(24, 'x'));
    EXPECT_EQ(MacroNameFieldText(std::string(30, 'y')), std::string(24, 'y'));
}

TEST_F(ManagerTest, DeletingTheLastSetSelectsTheNewLastSet)
{
    library = NumberedSets(3);
    OpenBy(1104);
    ASSERT_EQ(manager.SelectedSet(), 2);
    manager.DeleteSetConfirmed();
    ASSERT_EQ(library.size(), 2u);
    EXPECT_EQ(manager.SelectedSet(), 1);
    EXPECT_EQ(manager.SetCaption(), "Set 1");
    EXPECT_EQ(manager.SelectedMacro(), 0);

    // A set in the middle: the next one takes its place.
    manager.SetMenuChosen(2000);
    manager.DeleteSetConfirmed();
    ASSERT_EQ(library.size(), 1u);
    EXPECT_EQ(SetName(0), "Set 1");
    EXPECT_EQ(manager.SelectedSet(), 0);
}

TEST_F(ManagerTest, DeletingTheOnlySetLeavesNoSetAndAnEmptyCaption)
{
    library.push_back(Set("Only", {"A", "B"}));
    OpenBy(1100);
    manager.DeleteSetConfirmed();
    EXPECT_TRUE(library.empty());
    EXPECT_EQ(manager.SelectedSet(), -1);
    EXPECT_EQ(manager.SelectedMacro(), -1);
    EXPECT_EQ(manager.SetCaption(), "");
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(basic.shownSet, -1);

    // With no set selected the confirmation still comes, and deletes nothing.
    library.push_back(Set("Other"));
    EXPECT_EQ(manager.SetMenuChosen(kCmdDeleteSet), ManagerDialog::DeleteMacroSet);
    manager.DeleteSetConfirmed();
    EXPECT_EQ(library.size(), 1u);
}

TEST_F(ManagerTest, ANewMacroIsAppendedEmptyAndSelectedByEnter)
{
    library.push_back(Set("S", {"Jump"}));
    OpenBy(1100);
    AddMacro("Dash");
    ASSERT_EQ(library[0]->Elements.size(), 2u);
    const MacroRecord& dash = *library[0]->Elements[1];
    EXPECT_EQ(FieldText(dash.Name), "Dash");
    EXPECT_EQ(dash.EventCount, 0);
    EXPECT_EQ(dash.Loop, 0);
    EXPECT_EQ(manager.SelectedMacro(), 1);
    EXPECT_EQ(basic.shownMacro, 1);
    EXPECT_EQ(Rows(), (Names{"Jump", "Dash"}));

    // Confirmed by leaving the field, the entry is added but the selection stays.
    AddMacro("Roll", ListEditEnd::FocusLost);
    EXPECT_EQ(library[0]->Elements.size(), 3u);
    EXPECT_EQ(manager.SelectedMacro(), 1);
}

TEST_F(ManagerTest, AnEmptyOrEscapedMacroEntryIsRemoved)
{
    library.push_back(Set("S", {"Jump"}));
    OpenBy(1100);
    AddMacro("");
    AddMacro("Typed", ListEditEnd::Escape);
    EXPECT_EQ(library[0]->Elements.size(), 1u);
    EXPECT_EQ(Rows(), (Names{"Jump"}));
    EXPECT_EQ(manager.SelectedMacro(), 0);
}

TEST_F(ManagerTest, AMacroNameOfTheSetInOtherCaseOrBlanksIsRefusedButAnotherSetTakesItTrimmed)
{
    library.push_back(Set("S", {"Jump", "Dash"}));
    library.push_back(Set("T", {"Roll"}));
    OpenBy(1100);
    AddMacro("JUMP");
    AddMacro(" jump  ");
    EXPECT_EQ(library[0]->Elements.size(), 2u);
    EXPECT_EQ(Rows(), (Names{"Jump", "Dash"}));
    EXPECT_EQ(manager.SelectedMacro(), 0);
    EXPECT_EQ(manager.MacroList().Selection(), 0) << "the list marks the macro the editors show";
    EXPECT_EQ(basic.shownMacro, 0);

    manager.SetMenuChosen(2001);
    AddMacro(" jump ");
    ASSERT_EQ(library[1]->Elements.size(), 2u);
    EXPECT_EQ(FieldText(library[1]->Elements[1]->Name), "jump");
}

TEST_F(ManagerTest, ASetTakesAHundredMacrosAndNoMore)
{
    library.push_back(Set("S"));
    OpenBy(1100);
    for (int i = 0; i < 100; ++i)
        AddMacro("M" + std::to_string(i));
    EXPECT_EQ(library[0]->Elements.size(), 100u);
    EXPECT_EQ(manager.AddMacroClicked(), ManagerDialog::None);
    EXPECT_FALSE(manager.MacroList().Edit());
    EXPECT_EQ(manager.MacroList().Count(), 100);
}

TEST_F(ManagerTest, DeletingAMacroShowsTheOneNowAtItsPlaceOrTheNewLast)
{
    library.push_back(Set("S", {"A", "B", "C"}));
    OpenBy(1100);
    manager.MacroSelectionChanged(1);
    EXPECT_EQ(manager.DeleteMacroClicked(), ManagerDialog::DeleteMacroWarn);
    manager.DeleteMacroConfirmed();
    EXPECT_EQ(Rows(), (Names{"A", "C"}));
    EXPECT_EQ(manager.SelectedMacro(), 1);
    EXPECT_EQ(basic.shownMacro, 1);
    EXPECT_EQ(FieldText(MacroAt(library, 0, 1)->Name), "C");

    manager.DeleteMacroConfirmed(); // the last one
    EXPECT_EQ(Rows(), (Names{"A"}));
    EXPECT_EQ(manager.SelectedMacro(), 0);
    manager.DeleteMacroConfirmed();
    EXPECT_TRUE(library[0]->Elements.empty());
    EXPECT_EQ(manager.SelectedMacro(), -1);
    EXPECT_EQ(manager.DeleteMacroClicked(), ManagerDialog::NoSelectMacroDelete);
}

TEST_F(ManagerTest, TheSwitchFlipsPagesAndLabelAndLeavingAdvancedCommits)
{
    library.push_back(Set("S", {"A"}));
    OpenBy(1100);
    EXPECT_TRUE(manager.SwitchPressed());
    EXPECT_EQ(manager.SwitchLabel(), "SWITCH TO ADVANCED EDIT");
    log.clear();
    manager.SwitchClicked(false);
    EXPECT_EQ(manager.VisiblePage(), MacroPage::Advanced);
    EXPECT_EQ(manager.SwitchLabel(), "SWITCH TO BASIC EDIT");
    EXPECT_EQ(log, (Log{"basic load 0,0", "advanced load 0,0"}));

    log.clear();
    manager.SwitchClicked(true);
    EXPECT_EQ(manager.VisiblePage(), MacroPage::Basic);
    EXPECT_EQ(log, (Log{"advanced commit", "basic load 0,0", "advanced load 0,0"}));
}

TEST_F(ManagerTest, ChoosingAnotherMacroOrSetOnTheAdvancedPageCommitsItsEditsFirst)
{
    library.push_back(Set("S", {"A", "B"}));
    library.push_back(Set("T", {"C"}));
    OpenBy(1100);
    manager.SwitchClicked(false);

    log.clear();
    manager.MacroSelectionChanged(1);
    EXPECT_EQ(log, (Log{"advanced commit", "basic load 0,1", "advanced load 0,1"}));
    log.clear();
    manager.SetMenuChosen(2001);
    EXPECT_EQ(log, (Log{"advanced commit", "basic load 1,0", "advanced load 1,0"}));

    // On the basic page every edit is in the macro already: nothing to commit.
    manager.SwitchClicked(true);
    log.clear();
    manager.SetMenuChosen(2000);
    EXPECT_EQ(log, (Log{"basic load 0,0", "advanced load 0,0"}));
}

TEST_F(ManagerTest, DeletingAMacroOnTheAdvancedPageCommitsIntoTheRightMacro)
{
    library.push_back(Set("S", {"A", "B", "C"}));
    OpenBy(1100);
    // The advanced page writes its pending edits into the macro it shows.
    advanced.onCommit = [this](int set, int macro) {
        if (MacroRecord* m = MacroAt(library, set, macro))
            m->EventCount = 99;
    };
    manager.SwitchClicked(false);
    manager.MacroSelectionChanged(1);
    MacroAt(library, 0, 1)->EventCount = 0;
    manager.DeleteMacroConfirmed();
    // B went with its edits; C, which moved into B's place, keeps its own.
    ASSERT_EQ(library[0]->Elements.size(), 2u);
    EXPECT_EQ(FieldText(library[0]->Elements[1]->Name), "C");
    EXPECT_EQ(library[0]->Elements[1]->EventCount, 0);
}

TEST_F(ManagerTest, OkCommitsTheAdvancedPageAndCancelDoesNot)
{
    library.push_back(Set("S", {"A"}));
    OpenBy(1100);
    manager.SwitchClicked(false);
    log.clear();
    EXPECT_TRUE(manager.Cancel());
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(manager.Ok());
    EXPECT_EQ(log, (Log{"advanced commit"}));
}

TEST_F(ManagerTest, WhileAnEditorCapturesKeysNothingCanBeChangedOrClosed)
{
    library.push_back(Set("S", {"A", "B"}));
    OpenBy(1100);
    manager.EnableControls(false);
    EXPECT_FALSE(manager.Ok());
    EXPECT_FALSE(manager.Cancel());
    EXPECT_EQ(manager.AddMacroClicked(), ManagerDialog::None);
    EXPECT_EQ(manager.DeleteMacroClicked(), ManagerDialog::None);
    EXPECT_EQ(manager.SetMenuChosen(kCmdAddSet), ManagerDialog::None);
    manager.MacroSelectionChanged(1);
    manager.SwitchClicked(false);
    EXPECT_EQ(manager.SelectedMacro(), 0);
    EXPECT_EQ(manager.VisiblePage(), MacroPage::Basic);
    manager.EnableControls(true);
    EXPECT_TRUE(manager.Ok());
}

TEST_F(ManagerTest, OnlyOkKeepsTheManagersChanges)
{
    TempFolder dir;
    library.push_back(Set("S", {"A"}));
    ASSERT_TRUE(SaveMacroLibrary(library, dir.Path()));

    OpenBy(1100);
    AddSet("Discarded");
    ASSERT_TRUE(manager.Cancel());
    EXPECT_TRUE(EndMacroManager(false, library, dir.Path()));
    ASSERT_EQ(library.size(), 1u);

    OpenBy(1100);
    AddSet("Kept");
    AddMacro("K1");
    ASSERT_TRUE(manager.Ok());
    EXPECT_TRUE(EndMacroManager(true, library, dir.Path()));
    MacroLibrary reread;
    LoadMacroLibrary(reread, dir.Path());
    ASSERT_EQ(reread.size(), 2u);
    EXPECT_EQ(FieldText(reread[1]->Name), "Kept");
    ASSERT_EQ(reread[1]->Elements.size(), 1u);
    EXPECT_EQ(FieldText(reread[1]->Elements[0]->Name), "K1");
}
