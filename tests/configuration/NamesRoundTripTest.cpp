// A property of every name the dialogs accept: random names, among them paths, device names, the
// macro library's index section, INI brackets and comment marks, control characters, letters of
// the ANSI code page and names equal but for their case, go through the ways the dialogs take them
// (game profile dialog, new macro set, new macro, new timer). Whatever is accepted comes back
// exactly after an apply and a load, and only the program folder's own files are written.
#include "ConfigFakes.h"
#include "CountdownTimerModel.h"
#include "KeyCommands.h"
#include "MacroManagerModel.h"
#include "ProfileStore.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

struct NoPage : MacroEditorPage {
    void LoadMacro(int, int) override {}
    void CommitBars() override {}
};

struct NoHost : HostWindow {
    bool SendApply(uint32_t) override { return false; }
};

std::string RandomName(std::mt19937& rng)
{
    static const char* const kPieces[] = {
        "Race", "race", "RACE",     "Main", "main", " MAIN ", "CON",         "nul",      "Com1",    "lpt9", ".txt",
        ".",    "..",   "..\\..\\", "\\",   "/",    ":",      "*",           "?",        "\"",      "'",    "<",
        ">",    "|",    "[",        "]",    ";",    "=",      " ",           "  ",       "\t",      "\n",   "\r",
        "\x01", "\x1f", "\x7f",     "\x80", "\x81", "\x9f",   "\xb9",        "\xc4",     "\xe4",    "\xff", "a",
        "Z",    "0",    "7",        "-",    "_",    "(2)",    "ZENTOR Tolk", "Default1", "default3"};
    std::string name;
    const unsigned pieces = rng() % 5;
    for (unsigned i = 0; i < pieces; ++i)
        name += kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])];
    return name;
}

bool SameBytes(const void* a, const void* b, size_t n)
{
    return std::memcmp(a, b, n) == 0;
}

TEST(NamesRoundTrip, EveryAcceptedNameComesBackAndOnlyTheProgramsOwnFilesAreWritten)
{
    std::mt19937 rng(20240619);
    int acceptedProfiles = 0, refusedProfiles = 0, acceptedSets = 0, refusedSets = 0;
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TempFolder root;
        const std::string program = root / "prog\\";
        ASSERT_TRUE(EnsureFolder(program));
        NullSharedBlock noBlock;
        NoHost noHost;
        ConfigDocument doc(program, noBlock, noHost);
        doc.Open(false);

        // The game profile dialog, typed or filled from an imported title, for every slot.
        for (int slot = 1; slot <= kProfileCount; ++slot) {
            doc.SelectSlot(slot);
            for (int attempt = 0; attempt < 3; ++attempt) {
                const GameProfileValues values{RandomName(rng), {"C:\\Games\\game.exe", "", ""}};
                if (doc.StoreGameProfileEdit(slot, doc.GameProfile(), values) == DialogEdit::Stored) {
                    ++acceptedProfiles;
                    break;
                }
                ++refusedProfiles;
            }
        }
        // New macro sets with new macros, as the macro manager takes them.
        NoPage page;
        MacroManagerModel manager(doc.Macros(), page, page);
        manager.Start(-1, ButtonInfo{});
        for (int s = 0; s < 4; ++s) {
            manager.SetMenuChosen(kCmdAddSet);
            if (!manager.SetNameEntered(RandomName(rng))) {
                ++refusedSets;
                continue;
            }
            ++acceptedSets;
            for (int m = 0; m < 3; ++m)
                if (manager.AddMacroClicked() == ManagerDialog::NewMacroEntry)
                    manager.EndMacroEntry(ListEditEnd::Enter, RandomName(rng));
        }
        // New timers, as the timer dialog takes them.
        for (int t = 0; t < 3; ++t) {
            CountdownTimerModel timer(doc.Timers());
            timer.NameChanged(RandomName(rng));
            if (timer.Ok()) {
                ASSERT_TRUE(AddCreatedTimer(doc.Timers(), timer.Name(), timer.Seconds(), program));
            }
        }
        ASSERT_EQ(doc.BeginApply(1), ApplyOutcome::SavedWithoutHost);

        auto profiles = std::make_unique<ProfileSet>();
        ClearProfileSet(*profiles);
        LoadProfileSet(*profiles, program);
        EXPECT_TRUE(SameBytes(profiles.get(), &doc.Working(), sizeof(ProfileSet)));
        MacroLibrary macros;
        LoadMacroLibrary(macros, program);
        ASSERT_EQ(macros.size(), doc.Macros().size());
        for (size_t s = 0; s < macros.size(); ++s) {
            EXPECT_STREQ(macros[s]->Name, doc.Macros()[s]->Name);
            ASSERT_EQ(macros[s]->Elements.size(), doc.Macros()[s]->Elements.size()) << macros[s]->Name;
            for (size_t m = 0; m < macros[s]->Elements.size(); ++m)
                EXPECT_TRUE(
                    SameBytes(macros[s]->Elements[m].get(), doc.Macros()[s]->Elements[m].get(), sizeof(MacroRecord)));
        }
        TimerLibrary timers;
        LoadTimerLibrary(timers, program);
        ASSERT_EQ(timers.size(), doc.Timers().size());
        for (size_t t = 0; t < timers.size(); ++t)
            EXPECT_TRUE(SameBytes(timers[t].get(), doc.Timers()[t].get(), sizeof(TimerRecord)));

        // Exactly the program's own files, and five profile files that Windows keeps apart. (Names
        // are compared by reading each file, since a listing may spell ANSI letters otherwise.)
        std::vector<std::string> expected{ConfigIniPath(program), MacroLibraryPath(program)};
        if (!doc.Timers().empty())
            expected.push_back(TimerLibraryPath(program));
        std::set<std::string> folded;
        for (const Profile& p : doc.Working().Profiles) {
            expected.push_back(ProfilePath(program, FieldText(p.Name)));
            folded.insert(FoldedKey(FieldText(p.Name)));
        }
        EXPECT_EQ(folded.size(), static_cast<size_t>(kProfileCount)) << "two slots would share one file";
        for (const std::string& path : expected)
            EXPECT_TRUE(CanOpenForReading(path)) << path;
        const std::vector<std::string> written = FilesBelow(root.Path());
        EXPECT_EQ(written.size(), expected.size());
        for (const std::string& file : written)
            EXPECT_EQ(file.rfind("prog/", 0), 0u) << file << " is outside the program folder";
    }
    // The names drawn reach both sides of every rule.
    EXPECT_GT(acceptedProfiles, 100);
    EXPECT_GT(refusedProfiles, 30);
    EXPECT_GT(acceptedSets, 60);
    EXPECT_GT(refusedSets, 30);
}

} // namespace
