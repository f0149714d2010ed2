// The media player dialog opened, driven and closed with the real pointer and keys.
#include "ModalScript.h"
#include "SelectPlayerDlg.h"
#include "SkinMessages.h"
#include "WinTestInput.h"

#include <gtest/gtest.h>

namespace {

class PlayerDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterSkinMessages();
        SetSkinProgramFolder(TOLK_DIST);
    }
    void TearDown() override { SetSkinProgramFolder(""); }

    // Opens the dialog on index, picks the menu's item (0-based) unless item is negative, then
    // clicks button (0 OK, 1 cancel); the dialog's result and its index afterwards.
    std::pair<INT_PTR, int32_t> Run(int32_t index, int item, std::size_t button, std::string* shownBefore = nullptr)
    {
        CSelectPlayerDlg dialog(index);
        ModalScript script(dialog);
        script.Then(400, [&] {
            if (shownBefore != nullptr)
                *shownBefore = dialog.ChoiceButton().Caption();
        });
        if (item >= 0) {
            script.ThenOpening(100, [&] { Click(CentreOf(dialog.ChoiceButton())); });
            script.Then(400, [item] {
                for (int i = 0; i <= item; ++i)
                    PressKey(VK_DOWN);
                PressKey(VK_RETURN);
            });
        }
        script.Then(400, [&dialog, button] { Click(CentreOf(dialog.Button(button))); });
        const INT_PTR result = script.RunModal();
        EXPECT_FALSE(script.GaveUp());
        return {result, dialog.Index()};
    }
};

TEST_F(PlayerDialog, ANoneChoiceShowsEmptyAndConfirmingStoresItBack)
{
    std::string shown = "unset";
    EXPECT_EQ(Run(-1, -1, 0, &shown), std::make_pair(INT_PTR{IDOK}, int32_t{-1}));
    EXPECT_EQ(shown, "");
    Profile profile{};
    profile.MediaOption = 2;
    CSelectPlayerDlg(-1).StoreInto(profile);
    EXPECT_EQ(profile.MediaOption, -1);
}

TEST_F(PlayerDialog, WinampChosenFromTheMenuIsTheIndexOnOkAndCancelKeepsTheOldOne)
{
    std::string shown;
    EXPECT_EQ(Run(1, 3, 0, &shown), std::make_pair(INT_PTR{IDOK}, int32_t{3}));
    EXPECT_EQ(shown, "iTunes");
    const auto cancelled = Run(0, 3, 1);
    EXPECT_EQ(cancelled.first, IDCANCEL);
}

} // namespace
