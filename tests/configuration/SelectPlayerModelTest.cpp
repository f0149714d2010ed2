#include "KeyCommands.h"
#include "SelectPlayerModel.h"
#include "TestLibraries.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(SelectPlayerDialog, TheChoiceButtonShowsThePlayerOrNothing)
{
    const char* const names[] = {"Windows Media player", "iTunes", "VLC Media Player", "Winamp"};
    for (int32_t i = 0; i < 4; ++i) {
        SelectPlayerModel dlg(i);
        EXPECT_EQ(dlg.ChoiceText(), names[i]);
        EXPECT_TRUE(dlg.ChoiceHasText());
        EXPECT_EQ(PlayerMenu().items.at(static_cast<size_t>(i)).text, names[i]);
        EXPECT_EQ(PlayerMenu().items.at(static_cast<size_t>(i)).id, 1001 + i);
    }
    EXPECT_EQ(PlayerMenu().items.size(), 4u);
    EXPECT_EQ(PlayerMenu().width, 140) << "as wide as the choice button";
    for (int32_t outside : {-1, 4, 1001}) {
        SelectPlayerModel dlg(outside);
        EXPECT_EQ(dlg.ChoiceText(), "") << outside;
        EXPECT_FALSE(dlg.ChoiceHasText()) << outside;
    }
}

TEST(SelectPlayerDialog, AMenuCommandChoosesItsPlayerAndAnyOtherTheFirst)
{
    SelectPlayerModel dlg(-1);
    dlg.MenuChosen(1004);
    EXPECT_EQ(dlg.Index(), 3);
    EXPECT_EQ(dlg.ChoiceText(), "Winamp");
    dlg.MenuChosen(1002);
    EXPECT_EQ(dlg.Index(), 1);
    dlg.MenuChosen(1003);
    EXPECT_EQ(dlg.Index(), 2);
    dlg.MenuChosen(1001);
    EXPECT_EQ(dlg.Index(), 0);
    for (int other : {1000, 1005, 0, -1}) {
        dlg.MenuChosen(1004);
        dlg.MenuChosen(other);
        EXPECT_EQ(dlg.Index(), 0) << other;
    }
}

TEST(SelectPlayerDialog, ConfirmingWithoutAChoiceStoresTheIndexUnchanged)
{
    Profile p = TestProfile();
    p.MediaOption = -1;
    const Profile before = p;
    SelectPlayerModel dlg(p.MediaOption);
    EXPECT_FALSE(dlg.ChoiceHasText());
    dlg.StoreInto(p);
    EXPECT_EQ(p.MediaOption, -1);
    EXPECT_EQ(std::memcmp(&p, &before, sizeof(Profile)), 0);

    SelectPlayerModel chosen(p.MediaOption);
    chosen.MenuChosen(1004);
    chosen.StoreInto(p);
    EXPECT_EQ(p.MediaOption, 3);
    p.MediaOption = -1;
    EXPECT_EQ(std::memcmp(&p, &before, sizeof(Profile)), 0); // no key's assignment changed
}
