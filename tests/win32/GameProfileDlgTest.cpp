// The game profile dialog on the real window manager (Wine under Xvfb) with the shipped skin, driven
// with the real pointer and keyboard; the file-open dialog is stood in for by the user's choice.
#include "WinTestInput.h"
#include "ConfigDocument.h"
#include "LanguageModule.h"
#include "ModalScript.h"
#include "GameProfileDlg.h"
#include "LanguageStrings.h"
#include "NameTexts.h"
#include "ProfileStore.h"
#include "ScreenShot.h"
#include "SkinDialog.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

// Pixels near white in the left part of a window on the screen.
int BrightPixelsIn(const CWnd& window)
{
    const RECT r = window.GetWindowRect();
    HDC screen = ::GetDC(nullptr);
    int bright = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.left + 120 && x < r.right; ++x) {
            const COLORREF c = ::GetPixel(screen, x, y);
            bright += GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200;
        }
    ::ReleaseDC(nullptr, screen);
    return bright;
}

std::string TextOf(const CWnd& window)
{
    char text[512] = {};
    ::GetWindowTextA(window.GetSafeHwnd(), text, sizeof text);
    return text;
}

struct Values {
    std::string name, game0, game1, game2;
    bool operator==(const Values& other) const
    {
        return name == other.name && game0 == other.game0 && game1 == other.game1 && game2 == other.game2;
    }
};

std::ostream& operator<<(std::ostream& out, const Values& v)
{
    return out << '"' << v.name << "\" \"" << v.game0 << "\" \"" << v.game1 << "\" \"" << v.game2 << '"';
}

Values ValuesOf(const CGameProfileDlg& dialog)
{
    Values v;
    dialog.GetValues(v.name, v.game0, v.game1, v.game2);
    return v;
}

// What the dialog asked the file-open dialog.
struct FileQuestion {
    DWORD structSize = 0;
    DWORD flags = 0;
    bool ownedByTheDialog = false;
    std::string filter; // the zero-separated parts joined with '|'
    std::string defaultExtension;
    std::string initialFile;
};

// Stands in for the user at the file-open dialog: notes the question, then picks chosen (or
// cancels when chosen is empty).
CGameProfileDlg::OpenFileDialog User(std::vector<FileQuestion>& questions, HWND& dialogWindow, std::string chosen)
{
    return [&questions, &dialogWindow, chosen](OPENFILENAMEA* dialog) -> BOOL {
        FileQuestion q;
        q.structSize = dialog->lStructSize;
        q.flags = dialog->Flags;
        q.ownedByTheDialog = dialog->hwndOwner == dialogWindow && dialogWindow != nullptr;
        for (const char* part = dialog->lpstrFilter; part != nullptr && *part != '\0'; part += std::strlen(part) + 1)
            q.filter += std::string(part) + "|";
        q.defaultExtension = dialog->lpstrDefExt != nullptr ? dialog->lpstrDefExt : "";
        q.initialFile = dialog->lpstrFile;
        questions.push_back(q);
        if (chosen.empty())
            return FALSE;
        if (chosen.size() >= dialog->nMaxFile)
            return FALSE;
        std::memcpy(dialog->lpstrFile, chosen.c_str(), chosen.size() + 1);
        return TRUE;
    };
}

class GameProfileDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSkinProgramFolder(TOLK_DIST);
        ::SetCursorPos(1200, 1000);
    }
    void TearDown() override { SetSkinProgramFolder(""); }
};

TEST_F(GameProfileDialog, NameStopsAtTwentyCharactersAndConfirmReturnsTheTextsAsTyped)
{
    std::vector<FileQuestion> questions;
    HWND window = nullptr;
    CGameProfileDlg dialog(User(questions, window, "C:\\Games\\Chosen Game.exe"));
    dialog.SetValues("", "C:\\Games\\Kept.exe", "", "C:\\Games\\Old.exe");
    const std::string handTyped = " D:\\My Games\\Raid-2\\raid2.EXE ";
    std::string shownName;
    COLORREF emptyFieldColour = CLR_INVALID;
    int brightInName = 0;
    ModalScript script(dialog);
    script.Then(300, [&] {
        window = dialog.GetSafeHwnd();
        const RECT field = dialog.Edit(2).GetWindowRect();
        emptyFieldColour = ScreenPixel(POINT{field.right - 4, (field.top + field.bottom) / 2});
        Click(CentreOf(dialog.Edit(0)));
        TypeText("Twenty-one characters");
        shownName = TextOf(dialog.Edit(0));
        brightInName = BrightPixelsIn(dialog.Edit(0));
        Click(CentreOf(dialog.Edit(2)));
        TypeText(handTyped);
        Click(CentreOf(dialog.BrowseButton(2)));
        Click(CentreOf(dialog.CloseButton(0)));
    });
    EXPECT_EQ(IDOK, script.RunModal());

    EXPECT_EQ("Twenty-one character", shownName) << "the 21st character cannot be typed";
    EXPECT_EQ(RGB(0, 0, 0), emptyFieldColour) << "the fields are black";
    EXPECT_GT(brightInName, 20) << "and their text white";
    EXPECT_EQ((Values{"Twenty-one character", "C:\\Games\\Kept.exe", handTyped, "C:\\Games\\Chosen Game.exe"}),
              ValuesOf(dialog));
    EXPECT_EQ(1u, questions.size());
}

TEST_F(GameProfileDialog, BrowsingThenCancellingLeavesTheValuesUnchanged)
{
    std::vector<FileQuestion> questions;
    HWND window = nullptr;
    CGameProfileDlg dialog(User(questions, window, "C:\\Games\\New Game.exe"));
    const Values before{"Shooter", "C:\\Games\\Old.exe", "", "E:\\x.exe"};
    dialog.SetValues(before.name, before.game0, before.game1, before.game2);
    std::string shownAfterBrowse;
    ModalScript script(dialog);
    script.Then(300, [&] {
        window = dialog.GetSafeHwnd();
        Click(CentreOf(dialog.BrowseButton(0)));
        shownAfterBrowse = TextOf(dialog.Edit(1));
        Click(CentreOf(dialog.CloseButton(1)));
    });
    EXPECT_EQ(IDCANCEL, script.RunModal());

    EXPECT_EQ("C:\\Games\\New Game.exe", shownAfterBrowse) << "the chosen file is shown in its field";
    EXPECT_EQ(before, ValuesOf(dialog));

    // The question: program files, from a file named ".exe" on the desktop, in the classic dialog.
    ASSERT_EQ(1u, questions.size());
    const FileQuestion& q = questions[0];
    EXPECT_EQ(sizeof(OPENFILENAMEA), q.structSize);
    if (sizeof(void*) == 4) {
        EXPECT_EQ(88u, q.structSize);
    }
    EXPECT_EQ(static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR), q.flags);
    EXPECT_TRUE(q.ownedByTheDialog);
    EXPECT_EQ("exe file(*.exe)|*.EXE|", q.filter);
    EXPECT_EQ("exe", q.defaultExtension);
    char desktop[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOP, FALSE));
    EXPECT_EQ(std::string(desktop) + "\\.exe", q.initialFile);
}

TEST_F(GameProfileDialog, EitherCancelButtonAnswersCancelAndAFileDialogCancelChangesNothing)
{
    for (const std::size_t button : {std::size_t(1), std::size_t(2)}) {
        std::vector<FileQuestion> questions;
        HWND window = nullptr;
        CGameProfileDlg dialog(User(questions, window, ""));
        dialog.SetValues("Racer", "C:\\Games\\Car.exe", "", "");
        std::string shownAfterBrowse;
        ModalScript script(dialog);
        script.Then(300, [&] {
            Click(CentreOf(dialog.BrowseButton(0)));
            shownAfterBrowse = TextOf(dialog.Edit(1));
            Click(CentreOf(dialog.CloseButton(button)));
        });
        EXPECT_EQ(IDCANCEL, script.RunModal()) << "cancel button " << button;
        EXPECT_EQ("C:\\Games\\Car.exe", shownAfterBrowse) << "a cancelled file dialog leaves the field";
        EXPECT_EQ(1u, questions.size());
        EXPECT_EQ((Values{"Racer", "C:\\Games\\Car.exe", "", ""}), ValuesOf(dialog));
    }
}

// The main window's check, with the English texts: the document of a folder whose profile 1 is
// "Race", the dialog opened for slot 2 as "New Game" opens it (empty).
TEST_F(GameProfileDialog, ARefusedNameKeepsTheDialogOpenAndSaysWhyUnderTheGames)
{
    TempFolder folder;
    auto stored = std::make_unique<ProfileSet>();
    SetDefaultProfiles(*stored);
    CopyToField(stored->Profiles[0].Name, "Race");
    ASSERT_TRUE(SaveProfileSet(*stored, folder.Path()));
    NullSharedBlock noBlock;
    struct NoHost : HostWindow {
        bool SendApply(uint32_t) override { return false; }
    } noHost;
    ConfigDocument document(folder.Path(), noBlock, noHost);
    document.Open(false);
    LanguageModule english;
    ASSERT_TRUE(english.Load(TOLK_DIST, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)));
    const LanguageText text = [&](uint32_t id) { return english.String(id); };

    std::vector<FileQuestion> questions;
    HWND window = nullptr;
    CGameProfileDlg dialog(User(questions, window, ""));
    dialog.SetNameCheck([&](const std::string& name) { return GameProfileNameRefusal(document, 2, name, text); });
    struct Seen {
        std::string message;
        bool open = false;
        bool nameFocused = false;
        std::string selected;
        int brightInMessage = 0;
    };
    std::vector<Seen> seen;
    const auto note = [&](const char* screenshot) {
        Pump(200);
        Seen s;
        s.message = dialog.Message().Text();
        s.open = ::IsWindowVisible(dialog.GetSafeHwnd()) != FALSE;
        HWND name = dialog.Edit(0).GetSafeHwnd();
        s.nameFocused = ::GetFocus() == name;
        DWORD from = 0, to = 0;
        ::SendMessageA(name, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        s.selected = TextOf(dialog.Edit(0)).substr(from, to - from);
        const RECT label = dialog.Message().GetWindowRect();
        s.brightInMessage = ScreenCapture(label).Count(label, RGB(0xFF, 0xFF, 0xFF), 80);
        SaveScreenPng(dialog.GetWindowRect(), ScreenshotFolder() + screenshot);
        seen.push_back(s);
    };
    ModalScript script(dialog);
    script.Then(300, [&] {
        Click(CentreOf(dialog.CloseButton(0)));
        note("game_profile_name_empty.png");
        Click(CentreOf(dialog.Edit(0)));
        TypeText("race");
        Click(CentreOf(dialog.CloseButton(0)));
        note("game_profile_name_taken.png");
        TypeText("nul");
        Click(CentreOf(dialog.CloseButton(0)));
        note("game_profile_name_device.png");
        TypeText("Rally");
        Click(CentreOf(dialog.CloseButton(0)));
    });
    EXPECT_EQ(IDOK, script.RunModal());

    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(english.String(IDS_NAME_EMPTY), seen[0].message);
    EXPECT_EQ("Profile 1 already has this name. Choose another one.", seen[1].message);
    EXPECT_EQ(english.String(IDS_NAME_DEVICE), seen[2].message);
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_TRUE(seen[i].open) << "refusal " << i;
        EXPECT_TRUE(seen[i].nameFocused) << "refusal " << i << ": the name is where the typing goes";
        EXPECT_GT(seen[i].brightInMessage, 40) << "refusal " << i << ": the reason is on the screen";
    }
    EXPECT_EQ("race", seen[1].selected) << "the refused name is selected, so typing replaces it";
    EXPECT_EQ("Rally", ValuesOf(dialog).name);
}

} // namespace
