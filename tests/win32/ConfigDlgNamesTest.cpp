// TolkCfg's main window over a program folder of its own (the shipped skins and languages copied
// in), driven with the real pointer and keyboard, with the test standing in for the host's shared
// block and messages: a game profile edit lands in the slot the dialog was opened for although the
// host switches the profile while it is open, and Import, Export and New Game without a profile
// slot say so on the status line instead of doing nothing.
#include "WinTestInput.h"
#include "ButtonPosition.h"
#include "ConfigDlg.h"
#include "ProgramFolderTest.h"
#include "GameProfileDlg.h"
#include "IniFile.h"
#include "LanguageModule.h"
#include "LanguageStrings.h"
#include "LinkNames.h"
#include "ModalScript.h"
#include "ProfileStore.h"
#include "ScreenShot.h"
#include "SkinDialog.h"
#include "SkinMessages.h"
#include "TempFolder.h"
#include "Text.h"
#include "TextLabel.h"
#include "WinSharedBlock.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>

namespace {

// The main window's controls, by their keys in "skins\skin_main.ini".
constexpr int kNewGameKey = 6;
constexpr int kImportKey = 7;
constexpr int kExportKey = 8;
// A point of the status line, in the main window's client area.
constexpr POINT kStatusLinePoint{300, 578};

class ConfigDlgNames : public ProgramFolderTest {
protected:

    // The child window of the main window at a client point.
    static HWND ChildAt(const CConfigDlg& main, POINT client)
    {
        return ::ChildWindowFromPointEx(main.GetSafeHwnd(), client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    }
    // Clicks the main window's button of that key as the user does.
    // The centre of the control of that key in "skins\skin_main.ini", in client coordinates.
    POINT KeyCentre(int key) const
    {
        ButtonPosition pos;
        ParseButtonPos(
            IniFile(folder / "skins\\skin_main.ini").ReadString("BUTTONPOS", std::to_string(key), "").c_str(), pos);
        return POINT{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2};
    }
    void ClickKey(const CConfigDlg& main, int key) const
    {
        HWND button = ChildAt(main, KeyCentre(key));
        ASSERT_NE(button, main.GetSafeHwnd()) << "no control at key " << key;
        RECT r{};
        ::GetWindowRect(button, &r);
        Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    // The text of the main window's label of that key (profile names: 30 to 34).
    std::string LabelText(const CConfigDlg& main, int key) const
    {
        auto* label = dynamic_cast<CTextLabel*>(CWnd::FromHandle(ChildAt(main, KeyCentre(key))));
        return label != nullptr ? label->Text() : "(no label)";
    }
    static std::string StatusLine(const CConfigDlg& main)
    {
        auto* status = dynamic_cast<CStatusLabel*>(CWnd::FromHandle(ChildAt(main, kStatusLinePoint)));
        return status != nullptr ? status->Text() : "(no status line)";
    }
    std::string Language(UINT id) const
    {
        LanguageModule language;
        language.Load(folder.Path());
        return language.String(id);
    }

};

TEST_F(ConfigDlgNames, WithoutAProfileSlotImportExportAndNewGameSaySoAndOpenNothing)
{
    // A fresh install: no config.ini, so no slot is current.
    CConfigDlg main;
    std::string afterImport, afterExport, afterNewGame;
    bool somethingOpened = false;
    ModalScript script(main);
    script.Then(500, [&] {
        ASSERT_EQ(main.Document().Working().CurrentProfile, -1);
        for (auto [key, seen] : {std::pair{kImportKey, &afterImport}, std::pair{kExportKey, &afterExport},
                                 std::pair{kNewGameKey, &afterNewGame}}) {
            ClickKey(main, key);
            Pump(300);
            *seen = StatusLine(main);
            somethingOpened = somethingOpened || ::GetActiveWindow() != main.GetSafeHwnd();
        }
        SaveScreenPng(main.GetWindowRect(), ScreenshotFolder() + "config_import_without_slot.png");
    });
    // Whatever the steps found, the window closes.
    script.Then(100, [&] { main.PostMessage(WM_CLOSE); });
    script.RunModal();

    const std::string noSlot = Language(IDS_STATUS_NO_SLOT);
    ASSERT_FALSE(noSlot.empty());
    EXPECT_EQ(afterImport, noSlot);
    EXPECT_EQ(afterExport, noSlot);
    EXPECT_EQ(afterNewGame, noSlot);
    EXPECT_FALSE(somethingOpened) << "a file dialog or the game profile dialog opened";
    EXPECT_EQ(FilesBelow(folder / "config\\"), std::vector<std::string>{});
}

TEST_F(ConfigDlgNames, TheGameProfileEditLandsInTheSlotItWasOpenedForWhenTheHostSwitches)
{
    auto stored = std::make_unique<ProfileSet>();
    SetDefaultProfiles(*stored);
    const char* names[] = {"One", "Two", "Three", "Four", "Five"};
    for (int i = 0; i < kProfileCount; ++i)
        CopyToField(stored->Profiles[i].Name, names[i]);
    stored->CurrentProfile = 2;
    ASSERT_TRUE(SaveProfileSet(*stored, folder.Path()));
    // The host's side of the block, as TolkHid makes it.
    std::unique_ptr<WinSharedBlock> host = WinSharedBlock::CreateForHost();
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(host->Write(*stored));

    CConfigDlg main;
    int currentWhileOpen = 0;
    std::pair<std::string, std::string> labels;
    CGameProfileDlg* game = nullptr;
    ModalScript script(main);
    script.ThenOpening(500, [&] {
        ASSERT_EQ(main.Document().Working().CurrentProfile, 2) << "the host's block was read";
        ClickKey(main, kNewGameKey);
    });
    script.ThenWhen([&] { return (game = ActiveDialog<CGameProfileDlg>()) != nullptr; },
                    [&] {
                        ASSERT_NE(game, nullptr);
                        // A listed game came to the front: the host switched to profile 4 and tells the window.
                        stored->CurrentProfile = 4;
                        ASSERT_TRUE(host->Write(*stored));
                        main.PostMessage(WM_CFG_DATA_CHANGED);
                        Pump(300);
                        currentWhileOpen = main.Document().Working().CurrentProfile;
                        Click(CentreOf(game->Edit(0)));
                        TypeText("Rally");
                        Click(CentreOf(game->CloseButton(0)));
                    });
    script.Then(300, [&] {
        if (CGameProfileDlg* open = ActiveDialog<CGameProfileDlg>())
            open->EndDialog(IDCANCEL);
        Pump(200);
        labels = {LabelText(main, 31), LabelText(main, 33)};
        SaveScreenPng(main.GetWindowRect(), ScreenshotFolder() + "config_game_profile_after_switch.png");
        main.PostMessage(WM_CLOSE);
    });
    script.RunModal();

    EXPECT_EQ(currentWhileOpen, 4) << "the host's switch was taken over while the dialog was open";
    const ProfileSet& working = main.Document().Working();
    EXPECT_EQ(working.CurrentProfile, 4);
    EXPECT_STREQ(working.Profiles[1].Name, "Rally") << "the edit lands in the slot it was opened for";
    EXPECT_STREQ(working.Profiles[3].Name, "Four") << "never in the slot current when it closed";
    EXPECT_EQ(labels, (std::pair<std::string, std::string>{"Rally", "Four"})) << "the names the slots show";
}

} // namespace
