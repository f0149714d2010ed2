#include "NameRules.h"
#include "ProfileStore.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// A program folder as Windows programs are usually installed.
const std::string kFolder = "C:\\Program Files (x86)\\ZENTOR Tolk\\";

NameProblem Problem(const std::string& name)
{
    return ProfileFileNameProblem(name, kFolder);
}

std::unique_ptr<ProfileSet> DefaultSet()
{
    auto set = std::make_unique<ProfileSet>();
    SetDefaultProfiles(*set);
    return set;
}

TEST(ProfileNames, OrdinaryNamesAreFileNames)
{
    for (const std::string& name :
         Names{"Race", "Raid night", "Counter-Strike 2", ".hidden", "a.b.c", "\xC4rger & Co (1)", "Console", "COM10",
               "LPT", "nul-free", "100%", "x;y=[z]", "'quoted'"})
        EXPECT_EQ(Problem(name), NameProblem::None) << name;
}

TEST(ProfileNames, PathPartsReservedCharactersAndControlCharactersAreRefused)
{
    for (const std::string& name : Names{"..\\..\\x", "a/b", "a\\b", "C:x", "what?", "*", "say \"hi\"", "<a>", "a|b",
                                         std::string("tab\there"), std::string("line\nbreak"),
                                         std::string("\x1f"
                                                     "x")})
        EXPECT_EQ(Problem(name), NameProblem::ReservedCharacter) << name;
}

TEST(ProfileNames, DeviceNamesAreRefusedInAnyCaseAndWithAnExtension)
{
    for (const std::string& name :
         Names{"CON", "con", "Prn", "AUX", "nul", "COM1", "com9", "LPT1", "lpt9", "COM0", "NUL.txt", "con.rkp",
               "CON .x", "aux.a.b", "CONIN$", "conout$", std::string("COM\xB9"), std::string("LPT\xB2")})
        EXPECT_EQ(Problem(name), NameProblem::DeviceName) << name;
}

TEST(ProfileNames, EmptyTrailingDotAndTooLongAreRefused)
{
    EXPECT_EQ(Problem(""), NameProblem::Empty);
    EXPECT_EQ(Problem("   "), NameProblem::Empty);
    EXPECT_EQ(Problem("Race."), NameProblem::TrailingDot);
    EXPECT_EQ(Problem("."), NameProblem::TrailingDot);
    EXPECT_EQ(Problem(".."), NameProblem::TrailingDot);

    // The whole path of the file, and the temporary file written beside it, must fit Windows' limit.
    const size_t room = kMaxPathLength - kFolder.size() - std::string("config\\.rkp").size() - kTempSuffixRoom;
    EXPECT_EQ(Problem(std::string(room, 'n')), NameProblem::None);
    EXPECT_EQ(Problem(std::string(room + 1, 'n')), NameProblem::TooLong);
    EXPECT_EQ(ProfileFileNameProblem(std::string(room, 'n'), kFolder + "deeper\\"), NameProblem::TooLong);
}

TEST(ProfileNames, AnotherSlotsNameIsTakenWhateverTheCaseAndBlanks)
{
    auto set = DefaultSet();
    CopyToField(set->Profiles[0].Name, "Race");
    EXPECT_EQ(ProfileNameProblem(*set, 2, "race", kFolder), NameProblem::Taken);
    EXPECT_EQ(ProfileNameProblem(*set, 2, "  RACE ", kFolder), NameProblem::Taken);
    EXPECT_EQ(SlotNamed(*set, "RACE", 2), 1);
    EXPECT_EQ(ProfileNameProblem(*set, 1, "race", kFolder), NameProblem::None) << "its own name in another case";
    EXPECT_EQ(ProfileNameProblem(*set, 2, "Races", kFolder), NameProblem::None);
    EXPECT_EQ(ProfileNameProblem(*set, 2, "default4", kFolder), NameProblem::Taken);
    // Letters of the ANSI code page fold as Windows folds them in file names.
    CopyToField(set->Profiles[4].Name, "\xC4rger");
    EXPECT_EQ(ProfileNameProblem(*set, 2, "\xE4rger", kFolder), NameProblem::Taken);
    // A file name problem is told before a clash.
    EXPECT_EQ(ProfileNameProblem(*set, 2, "Race.", kFolder), NameProblem::TrailingDot);
}

TEST(ProfileNames, FirstUnusableProfileNameNamesTheSlot)
{
    auto set = DefaultSet();
    EXPECT_FALSE(FirstUnusableProfileName(*set, kFolder));
    CopyToField(set->Profiles[3].Name, "DEFAULT1");
    ASSERT_TRUE(FirstUnusableProfileName(*set, kFolder));
    EXPECT_EQ(FirstUnusableProfileName(*set, kFolder)->slot, 4);
    EXPECT_EQ(FirstUnusableProfileName(*set, kFolder)->problem, NameProblem::Taken);
    CopyToField(set->Profiles[2].Name, "");
    EXPECT_EQ(FirstUnusableProfileName(*set, kFolder)->slot, 3);
    EXPECT_EQ(FirstUnusableProfileName(*set, kFolder)->problem, NameProblem::Empty);
}

TEST(LibraryNames, TheIndexSectionAndWhatINIReadersTakeApartAreNoSetNames)
{
    for (const std::string& name :
         Names{"Main", "MAIN", "main", "a]b", "]", "[x", ";x", "\"x\"", "'x'", std::string("tab\tname"), ""})
        EXPECT_FALSE(MacroSetNameAccepted(name)) << name;
    for (const std::string& name :
         Names{"Mains", "Main set", "x[y", "x;y", "a=b", "\"x", "'x\"", "ZENTOR Tolk", "\xC4rger"})
        EXPECT_TRUE(MacroSetNameAccepted(name)) << name;

    // What the file itself cannot hold; the rest of the refusals above only keep other readers right.
    EXPECT_FALSE(MacroSetNameStorable("Main"));
    EXPECT_FALSE(MacroSetNameStorable("\"x\""));
    EXPECT_FALSE(MacroSetNameStorable(std::string("a\nb")));
    EXPECT_TRUE(MacroSetNameStorable("a]b"));
    EXPECT_TRUE(MacroSetNameStorable(""));
}

TEST(LibraryNames, MacroAndTimerNamesOnlyNeedTextWithoutControlCharacters)
{
    for (const std::string& name : Names{"Main", "a]b", "[x", ";x", "\"x\"", "con", "x?"})
        EXPECT_TRUE(RecordNameAccepted(name)) << name;
    EXPECT_FALSE(RecordNameAccepted(""));
    EXPECT_FALSE(RecordNameAccepted("  "));
    EXPECT_FALSE(RecordNameAccepted(std::string("a\tb")));
}

} // namespace
