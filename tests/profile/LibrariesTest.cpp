#include "IniFile.h"
#include "Libraries.h"
#include "TempFolder.h"
#include "TestLibraries.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::unique_ptr<MacroSet> Set(const char* name)
{
    auto s = std::make_unique<MacroSet>();
    CopyToField(s->Name, name);
    return s;
}

std::unique_ptr<TimerRecord> Timer(int seconds, const char* name)
{
    auto t = std::make_unique<TimerRecord>();
    std::memset(t.get(), 0, sizeof(TimerRecord));
    t->Seconds = seconds;
    CopyToField(t->Name, name);
    return t;
}

MacroLibrary SmallLibrary()
{
    MacroLibrary lib;
    lib.push_back(Set(" Fight Set "));
    lib.back()->Elements.push_back(TestMacro("Combo", 0, {{0x04, 0, 30}, {0x04, 1, 0}, {0xF0, 0, 65535}}));
    lib.back()->Elements.push_back(TestMacro("Jump", 1, {{0x2C, 0, 10}}));
    lib.push_back(Set("Empty"));
    return lib;
}

TEST(MacroLibrary, EmptyAndSmallLibrariesMatchTheGoldenFiles)
{
    TempFolder dir;
    ASSERT_TRUE(SaveMacroLibrary(MacroLibrary(), dir.Path()));
    EXPECT_EQ(ReadBytes(dir / "config\\macro.ini"), ReadTestData("macro_empty.ini"));
    MacroLibrary none;
    LoadMacroLibrary(none, dir.Path());
    EXPECT_TRUE(none.empty());

    ASSERT_TRUE(SaveMacroLibrary(SmallLibrary(), dir.Path()));
    EXPECT_EQ(ReadBytes(dir / "config\\macro.ini"), ReadTestData("macro_small.ini"));
}

TEST(MacroLibrary, SaveLoadReproducesSetsAndMacros)
{
    TempFolder dir;
    ASSERT_TRUE(SaveMacroLibrary(SmallLibrary(), dir.Path()));
    MacroLibrary lib;
    LoadMacroLibrary(lib, dir.Path());
    ASSERT_EQ(lib.size(), 2u);
    // Reading drops the outer blanks, so the stored name now equals its section's name.
    EXPECT_STREQ(lib[0]->Name, "Fight Set");
    ASSERT_EQ(lib[0]->Elements.size(), 2u);
    MacroLibrary expected = SmallLibrary();
    for (size_t j = 0; j < 2; ++j)
        EXPECT_EQ(std::memcmp(lib[0]->Elements[j].get(), expected[0]->Elements[j].get(), sizeof(MacroRecord)), 0);
    EXPECT_TRUE(lib[1]->Elements.empty());

    // Saving again gives the same file as long as nothing changed in between.
    std::string first = ReadBytes(dir / "config\\macro.ini");
    SaveMacroLibrary(lib, dir.Path());
    std::string second = ReadBytes(dir / "config\\macro.ini");
    SaveMacroLibrary(lib, dir.Path());
    EXPECT_EQ(ReadBytes(dir / "config\\macro.ini"), second);
    EXPECT_NE(first, second) << "the first save kept the outer blanks of the set name";
}

TEST(MacroLibrary, LoadAppendsAndFreeEmpties)
{
    TempFolder dir;
    SaveMacroLibrary(SmallLibrary(), dir.Path());
    MacroLibrary lib;
    LoadMacroLibrary(lib, dir.Path());
    LoadMacroLibrary(lib, dir.Path());
    EXPECT_EQ(lib.size(), 4u);
    EXPECT_EQ(lib[2]->Elements.size(), 2u);
    FreeMacroLibrary(lib);
    EXPECT_TRUE(lib.empty());
}

TEST(MacroLibrary, SetsThatDifferOnlyInCaseShareOneSection)
{
    TempFolder dir;
    MacroLibrary lib;
    lib.push_back(Set("Raid"));
    lib.back()->Elements.push_back(TestMacro("A", 0, {}));
    lib.back()->Elements.push_back(TestMacro("B", 0, {}));
    lib.push_back(Set(" RAID"));
    lib.back()->Elements.push_back(TestMacro("C", 0, {}));
    SaveMacroLibrary(lib, dir.Path());
    MacroLibrary back;
    LoadMacroLibrary(back, dir.Path());
    ASSERT_EQ(back.size(), 2u);
    for (const auto& set : back) {
        ASSERT_EQ(set->Elements.size(), 1u);
        EXPECT_STREQ(set->Elements[0]->Name, "C");
    }
}

TEST(MacroLibrary, UnreadableMacrosArriveZeroedAndLaterOnesKeepTheirPlace)
{
    TempFolder dir;
    SaveMacroLibrary(SmallLibrary(), dir.Path());
    IniFile file(dir / "config\\macro.ini");
    file.WriteString("Fight Set", "Count", "4");
    file.WriteString("Fight Set", "0", "00"); // wrong length
    file.WriteStruct("Fight Set", "3", TestMacro("Late", 0, {}).get(), sizeof(MacroRecord));
    MacroLibrary lib;
    LoadMacroLibrary(lib, dir.Path());
    ASSERT_EQ(lib[0]->Elements.size(), 4u);
    EXPECT_STREQ(lib[0]->Elements[0]->Name, "");
    EXPECT_EQ(lib[0]->Elements[0]->EventCount, 0);
    EXPECT_STREQ(lib[0]->Elements[1]->Name, "Jump");
    EXPECT_STREQ(lib[0]->Elements[2]->Name, "");
    EXPECT_STREQ(lib[0]->Elements[3]->Name, "Late");
}

TEST(MacroLibrary, HugeCountsDoNotMakeMillionsOfEntries)
{
    TempFolder dir;
    EnsureFolder(dir / "config");
    WriteBytes(dir / "config\\macro.ini", "[Main]\r\nCount=2000000000\r\n0=One\r\n[One]\r\nCount=2147483647\r\n");
    MacroLibrary lib;
    LoadMacroLibrary(lib, dir.Path());
    ASSERT_EQ(lib.size(), 1u);
    EXPECT_TRUE(lib[0]->Elements.empty());

    // A stray huge index in a tiny file must not be filled up to with zeroed records.
    WriteBytes(dir / "config\\macro.ini", "[Main]\r\nCount=1\r\n0=A\r\n[A]\r\nCount=2147483647\r\n2147483646=0\r\n");
    MacroLibrary stray;
    LoadMacroLibrary(stray, dir.Path());
    ASSERT_EQ(stray.size(), 1u);
    EXPECT_LE(stray[0]->Elements.size(), 100u);
    WriteBytes(dir / "config\\Timer.ini", "[Timer]\r\nCount=2147483647\r\n2147483646=0\r\n");
    TimerLibrary timers;
    LoadTimerLibrary(timers, dir.Path());
    EXPECT_LE(timers.size(), 100u);
}

TEST(MacroLibrary, FindsSetsAndAssignedMacrosIgnoringCaseAndBlanks)
{
    MacroLibrary lib = SmallLibrary();
    EXPECT_EQ(FindMacroSet(lib, "fight set"), 0);
    EXPECT_EQ(FindMacroSet(lib, "EMPTY "), 1);
    EXPECT_FALSE(FindMacroSet(lib, "Fight"));

    ButtonInfo info;
    std::memset(&info, 0, sizeof info);
    CopyToField(info.MacroSetName, "FIGHT SET");
    CopyToField(info.MacroName, " jump");
    AssignedMacro where = FindAssignedMacro(lib, info);
    EXPECT_EQ(where.set, 0);
    EXPECT_EQ(where.macro, 1);
    EXPECT_EQ(MacroAt(lib, 0, 1), lib[0]->Elements[1].get());

    CopyToField(info.MacroName, "Gone");
    where = FindAssignedMacro(lib, info);
    EXPECT_EQ(where.set, 0);
    EXPECT_FALSE(where.macro);

    std::memset(info.MacroSetName, 'x', sizeof info.MacroSetName); // no terminator
    EXPECT_FALSE(FindAssignedMacro(lib, info).set);

    EXPECT_EQ(MacroAt(lib, 1, 0), nullptr);
    EXPECT_EQ(MacroAt(lib, -1, 0), nullptr);
    EXPECT_EQ(MacroAt(lib, 2, 0), nullptr);
}

TEST(TimerLibrary, DeletingTheMiddleTimerRenumbersTheFile)
{
    TempFolder dir;
    TimerLibrary timers;
    timers.push_back(Timer(30, "Egg"));
    timers.push_back(Timer(60, "Tea"));
    timers.push_back(Timer(5400, "Raid cooldown"));
    ASSERT_TRUE(SaveTimerLibrary(timers, dir.Path()));
    timers.erase(timers.begin() + 1);
    ASSERT_TRUE(SaveTimerLibrary(timers, dir.Path()));
    EXPECT_EQ(ReadBytes(dir / "config\\Timer.ini"), ReadTestData("timer_after_delete.ini"));

    TimerLibrary back;
    LoadTimerLibrary(back, dir.Path());
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1]->Seconds, 5400);
    EXPECT_STREQ(back[1]->Name, "Raid cooldown");
    EXPECT_EQ(FindTimer(back, "raid COOLDOWN "), 1);
    EXPECT_FALSE(FindTimer(back, "Tea"));
    EXPECT_EQ(TimerAt(back, 1), back[1].get());
    EXPECT_EQ(TimerAt(back, 2), nullptr);
}

TEST(TimerLibrary, EmptyListAndMissingFile)
{
    TempFolder dir;
    TimerLibrary timers;
    LoadTimerLibrary(timers, dir.Path());
    EXPECT_TRUE(timers.empty());
    SaveTimerLibrary(timers, dir.Path());
    EXPECT_EQ(ReadBytes(dir / "config\\Timer.ini"), "[Timer]\r\nCount=0\r\n");
}

TEST(TimerLibrary, DamagedEntryIsAppendedZeroed)
{
    TempFolder dir;
    TimerLibrary timers;
    timers.push_back(Timer(10, "A"));
    timers.push_back(Timer(20, "B"));
    SaveTimerLibrary(timers, dir.Path());
    IniFile(dir / "config\\Timer.ini").WriteString("Timer", "0", "garbage");
    TimerLibrary back;
    LoadTimerLibrary(back, dir.Path());
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0]->Seconds, 0);
    EXPECT_STREQ(back[0]->Name, "");
    EXPECT_STREQ(back[1]->Name, "B");
}

} // namespace
