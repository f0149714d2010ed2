// Names of macro sets, macros and timers as the manager and the timer dialog take them, and what
// the library files make of a set named like their index section.
#include "CountdownTimerModel.h"
#include "IniFile.h"
#include "Libraries.h"
#include "MacroManagerModel.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

struct NoPage : MacroEditorPage {
    void LoadMacro(int, int) override {}
    void CommitBars() override {}
};

std::unique_ptr<MacroSet> Set(const std::string& name, const std::string& macro)
{
    auto set = std::make_unique<MacroSet>();
    CopyToField(set->Name, name);
    auto element = std::make_unique<MacroRecord>();
    std::memset(element.get(), 0, sizeof(MacroRecord));
    CopyToField(element->Name, macro);
    element->EventCount = 1;
    element->Events[0] = MacroEvent{0x04, 0, 10};
    set->Elements.push_back(std::move(element));
    return set;
}

Names SetNames(const MacroLibrary& library)
{
    Names names;
    for (const auto& set : library)
        names.push_back(std::string(FieldText(set->Name)));
    return names;
}

TEST(LibraryNames, TheNewSetDialogRefusesNamesTheLibraryFileCannotKeepApart)
{
    for (const std::string& typed : Names{"Main", " main ", "MAIN", "a]b", "[x", ";x", "\"x\"", "'x'", "a\tb"})
        EXPECT_FALSE(SetNameFromField(typed)) << typed;
    EXPECT_EQ(SetNameFromField("  Main set "), std::optional<std::string>("Main set"));
    EXPECT_EQ(SetNameFromField("x[1;y=2"), std::optional<std::string>("x[1;y=2"));

    MacroLibrary library;
    NoPage page;
    MacroManagerModel manager(library, page, page);
    manager.Start(-1, ButtonInfo{});
    EXPECT_FALSE(manager.SetNameEntered(" Main "));
    EXPECT_TRUE(manager.SetNameEntered("Racing"));
    EXPECT_EQ(SetNames(library), Names{"Racing"});
}

TEST(LibraryNames, MacroAndTimerNamesWithControlCharactersAreRefused)
{
    MacroLibrary library;
    library.push_back(Set("Racing", "Start"));
    NoPage page;
    MacroManagerModel manager(library, page, page);
    manager.Start(0, ButtonInfo{});
    for (const std::string& typed : Names{"tab\there", "\x1b", "Main"}) {
        ASSERT_EQ(manager.AddMacroClicked(), ManagerDialog::NewMacroEntry);
        manager.EndMacroEntry(ListEditEnd::Enter, typed);
    }
    ASSERT_EQ(library[0]->Elements.size(), 2u) << "only \"Main\" is a macro name";
    EXPECT_STREQ(library[0]->Elements[1]->Name, "Main");
    EXPECT_EQ(manager.MacroList().Count(), 2);

    TimerLibrary timers;
    CountdownTimerModel timer(timers);
    timer.NameChanged("Tea\ttime");
    EXPECT_FALSE(timer.Ok());
    timer.NameChanged("[Tea];");
    EXPECT_TRUE(timer.Ok());
}

TEST(LibraryNames, ASetNamedLikeTheIndexIsNeverSavedAndNeverLoaded)
{
    TempFolder dir;
    MacroLibrary library;
    library.push_back(Set("Racing", "Start"));
    library.push_back(Set("Flying", "Lift"));
    ASSERT_TRUE(SaveMacroLibrary(library, dir.Path()));
    const std::string saved = ReadBytes(MacroLibraryPath(dir.Path()));

    // A set of that name reached the list without the dialog (an older version made them).
    library.push_back(Set(" mAIN ", "Lost"));
    EXPECT_FALSE(SaveMacroLibrary(library, dir.Path()));
    EXPECT_EQ(ReadBytes(MacroLibraryPath(dir.Path())), saved) << "the library on disk keeps every set";

    // An index that lists its own section among the sets: the others load whole, without it.
    IniFile file(MacroLibraryPath(dir.Path()));
    file.WriteInt("Main", "Count", 3);
    file.WriteString("Main", "1", "Main");
    file.WriteString("Main", "2", "Flying");
    MacroLibrary back;
    LoadMacroLibrary(back, dir.Path());
    EXPECT_EQ(SetNames(back), (Names{"Racing", "Flying"}));
    ASSERT_EQ(back[1]->Elements.size(), 1u);
    EXPECT_STREQ(back[1]->Elements[0]->Name, "Lift");
    EXPECT_TRUE(SaveMacroLibrary(back, dir.Path())) << "what was loaded can be saved again";
}

TEST(LibraryNames, NamesOtherINIReadersMightMisreadRoundTripInOurFiles)
{
    TempFolder dir;
    MacroLibrary library;
    for (const std::string& name : Names{"x[1]", "a=b", "Mains", "'half", "\xC4rger"})
        library.push_back(Set(name, "[" + name + "]"));
    ASSERT_TRUE(SaveMacroLibrary(library, dir.Path()));
    MacroLibrary back;
    LoadMacroLibrary(back, dir.Path());
    ASSERT_EQ(SetNames(back), SetNames(library));
    for (size_t s = 0; s < back.size(); ++s)
        EXPECT_EQ(std::memcmp(back[s]->Elements[0].get(), library[s]->Elements[0].get(), sizeof(MacroRecord)), 0);
}

} // namespace
