#include "Fakes.h"
#include "GameWatch.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class GameWatchTest : public ::testing::Test {
protected:
    void List(int slot, int index, const char* path)
    {
        Profile& p = set->Profiles[slot - 1];
        CopyToField((index == 0 ? p.GameFile0 : index == 1 ? p.GameFile1 : p.GameFile2), 500, path);
    }
    // The profiles one check asks to select, with the set as the host's profile set.
    std::vector<int> Check(std::optional<std::string> module)
    {
        GuardedProfileSet guarded;
        guarded.Replace(*set);
        foreground.name = std::move(module);
        std::vector<int> selected;
        CheckForegroundGame(foreground, guarded, [&](int p) { selected.push_back(p); });
        return selected;
    }

    std::unique_ptr<ProfileSet> set = std::make_unique<ProfileSet>();
    FakeForegroundProcess foreground;
};

TEST_F(GameWatchTest, LowestProfileThenLowestGameSlotWins)
{
    List(4, 0, "C:\\Games\\shooter.exe");
    List(2, 2, "C:\\Games\\shooter.exe");
    List(3, 1, "C:\\Games\\racer.exe");
    List(3, 0, "C:\\Other\\racer.exe");
    EXPECT_EQ(FindGameProfile("racer.exe", *set), 3);
    set->CurrentProfile = 1;
    EXPECT_EQ(Check("shooter.exe"), std::vector<int>{2});
}

TEST_F(GameWatchTest, OnlyTheTrimmedFileNameCountsWithoutCase)
{
    List(3, 1, "  \tC:\\Games\\Play.EXE \r\n");
    List(5, 0, "D:\\A\\game.exe");
    List(2, 0, "E:/Unix/style.exe");
    List(4, 2, "F:relative.exe");
    List(1, 0, "   ");
    List(1, 1, "C:\\Games\\");
    List(1, 2, "C:");
    EXPECT_EQ(FindGameProfile("play.exe", *set), 3);
    EXPECT_EQ(FindGameProfile("GAME.EXE", *set), 5) << "a running C:\\B\\game.exe matches";
    EXPECT_EQ(FindGameProfile("style.exe", *set), 2);
    EXPECT_EQ(FindGameProfile("relative.exe", *set), 4);
    for (const char* other : {"game", "A", "", " ", "Games"})
        EXPECT_FALSE(FindGameProfile(other, *set)) << other;
}

TEST_F(GameWatchTest, UnterminatedStoredPathsEndAtTheFieldEnd)
{
    Profile& p = set->Profiles[1];
    std::memset(p.GameFile0, 'x', 500);
    std::memcpy(p.GameFile0 + 491, "\\game.exe", 9);
    std::memset(p.GameFile1, 'y', 500); // no terminator up to GameFile2
    EXPECT_EQ(FindGameProfile("game.exe", *set), 2);
}

TEST_F(GameWatchTest, NoCallWithoutAChangeOrForTheOnScreenDisplay)
{
    List(2, 0, "C:\\Games\\a.exe");
    List(3, 0, "C:\\Tolk\\OSD.exe");
    set->CurrentProfile = 2;
    EXPECT_TRUE(Check("a.exe").empty()) << "already current";
    EXPECT_TRUE(Check("osd.EXE").empty());
    EXPECT_TRUE(Check(std::nullopt).empty()) << "no foreground program, or no rights to open it";
    set->CurrentProfile = -1;
    EXPECT_EQ(Check("a.exe"), std::vector<int>{2});
}

} // namespace
