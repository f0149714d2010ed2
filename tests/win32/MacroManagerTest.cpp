// The macro manager and its list on the real window manager (Wine under Xvfb) with the shipped
// skins, driven with the real pointer and keyboard, and checked through what the windows show and
// what ends up in "config\macro.ini". Screenshots are kept with the other window tests' ones,
// named macro_*.png.
#include "CreateMacroSetDlg.h"
#include "DeleteMacroSet.h"
#include "DeleteMacroWarn.h"
#include "KeyCapture.h"
#include "ListBoxEx.h"
#include "MacroAdjustDlg.h"
#include "MacroManagerDlg.h"
#include "MacroManagerRun.h"
#include "MacroRecorderDlg.h"
#include "ModalScript.h"
#include "ResourceIds.h"
#include "ScreenShot.h"
#include "SkinDialog.h"
#include "TempFolder.h"
#include "TestLibraries.h"
#include "WarnDlg.h"
#include "WinTestInput.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF kSelectionFill = RGB(53, 160, 222);

void Screenshot(const CWnd& window, const std::string& name)
{
    SaveScreenPng(window.GetWindowRect(), ScreenshotFolder() + "macro_" + name + ".png");
}

// The rows a list shows: the texts it draws, as many as the system's list box has rows.
std::vector<std::string> ShownRows(const CListBoxEx& list)
{
    std::vector<std::string> rows;
    for (const ListRow& row : list.Model().Rows())
        rows.push_back(row.text);
    const LRESULT count = list.SendMessage(LB_GETCOUNT);
    EXPECT_EQ(static_cast<LRESULT>(rows.size()), count) << "the list box has as many rows as the list draws";
    return rows;
}

std::string WindowTextOf(const CWnd& window)
{
    char text[256] = {};
    ::GetWindowTextA(window.GetSafeHwnd(), text, sizeof text);
    return text;
}

int ShownSelection(const CWnd& list)
{
    return static_cast<int>(::SendMessageA(list.GetSafeHwnd(), LB_GETCURSEL, 0, 0));
}

// The centre of a row of a list box on the screen.
POINT RowCentre(const CWnd& list, int row)
{
    RECT rect{};
    ::SendMessageA(list.GetSafeHwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(list.GetSafeHwnd(), &centre);
    return centre;
}

// Clicks the item of the open popup menu with command id. The menu's own loop takes the pointer's
// messages, so nothing is pumped here.
bool ClickMenuCommand(UINT id)
{
    HWND window = ::FindWindowA("#32768", nullptr);
    if (window == nullptr || !::IsWindowVisible(window))
        return false;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(window, MN_GETHMENU, 0, 0));
    for (int i = 0; menu != nullptr && i < ::GetMenuItemCount(menu); ++i) {
        RECT item{};
        if (::GetMenuItemID(menu, i) != id || !::GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &item))
            continue;
        ::SetCursorPos((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        return true;
    }
    return false;
}

// The command ids of the open popup menu's items, in order (0 for the separator).
std::vector<UINT> OpenMenuIds()
{
    std::vector<UINT> ids;
    HWND window = ::FindWindowA("#32768", nullptr);
    HMENU menu = window != nullptr ? reinterpret_cast<HMENU>(::SendMessageA(window, MN_GETHMENU, 0, 0)) : nullptr;
    for (int i = 0; menu != nullptr && i < ::GetMenuItemCount(menu); ++i)
        ids.push_back(::GetMenuItemID(menu, i));
    return ids;
}

// Set name -> macro names, as a library or the file holds them.
using Shape = std::vector<std::pair<std::string, std::vector<std::string>>>;

Shape ShapeOf(const MacroLibrary& library)
{
    Shape shape;
    for (const auto& set : library) {
        shape.push_back({std::string(FieldText(set->Name)), {}});
        for (const auto& macro : set->Elements)
            shape.back().second.push_back(std::string(FieldText(macro->Name)));
    }
    return shape;
}

Shape StoredShape(const std::string& folder)
{
    MacroLibrary stored;
    LoadMacroLibrary(stored, folder);
    return ShapeOf(stored);
}

MacroLibrary LibraryOf(const Shape& shape)
{
    MacroLibrary library;
    for (const auto& [set, macros] : shape) {
        library.push_back(TestSet(set));
        for (const std::string& macro : macros)
            library.back()->Elements.push_back(TestMacro(macro, 0));
    }
    return library;
}

class MacroManagerWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSkinProgramFolder(TOLK_DIST);
        ::SetCursorPos(1200, 1000);
    }
    void TearDown() override { SetSkinProgramFolder(""); }

    std::string MacroFile() const { return m_folder / "config\\macro.ini"; }

    TempFolder m_folder;
    ButtonInfo m_key{};
};

TEST_F(MacroManagerWindow, SetsAndMacrosMadeWithClicksAndTypingAreSavedByOkAndShownOnReopening)
{
    MacroLibrary library = LibraryOf({{"Games", {"Jump", "Run"}}});
    ASSERT_TRUE(SaveMacroLibrary(library, m_folder.Path()));

    std::string firstCaption;
    std::vector<std::string> firstRows;
    int firstSelection = -2;
    std::vector<UINT> menuIds;
    std::string typedName;
    int selectionAfterRefusal = -2;
    std::string newSetCaption = "-";
    std::vector<std::string> newSetRows{"-"};
    bool editOpenAfterAdd = false;
    std::vector<std::vector<std::string>> rowsAfter;
    ModalScript script;
    script.Then(500, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        firstCaption = manager->SetButton().Caption();
        firstRows = ShownRows(manager->MacroList());
        firstSelection = ShownSelection(manager->MacroList());
        Screenshot(*manager, "manager_open");
    });
    script.ThenOpening(100, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        Click(CentreOf(manager->SetButton()));
    });
    script.ThenOpening(600, [&] {
        menuIds = OpenMenuIds();
        ClickMenuCommand(2998); // "[+]Add Macro Set"
    });
    script.Then(600, [&] {
        auto* name = ActiveDialog<CCreateMacroSetDlg>();
        ASSERT_NE(nullptr, name);
        Screenshot(*name, "create_set");
        TypeText(" Racing ");
        typedName = WindowTextOf(name->NameField());
        Click(CentreOf(name->OkButton()));
    });
    script.Then(300, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        newSetCaption = manager->SetButton().Caption();
        newSetRows = ShownRows(manager->MacroList());
        CListBoxEx& list = manager->MacroList();

        Click(CentreOf(manager->AddButton()));
        editOpenAfterAdd = list.EditWindow() != nullptr && ::GetFocus() == list.EditWindow();
        TypeText("Boost");
        PressKey(VK_RETURN);
        Pump(200);
        rowsAfter.push_back(ShownRows(list));

        // The same name in other letters is refused, and so is an empty one.
        Click(CentreOf(manager->AddButton()));
        TypeText("bOOST");
        PressKey(VK_RETURN);
        Pump(200);
        Click(CentreOf(manager->AddButton()));
        PressKey(VK_RETURN);
        Pump(200);
        rowsAfter.push_back(ShownRows(list));
        selectionAfterRefusal = ShownSelection(list);

        // Escape drops the entry.
        Click(CentreOf(manager->AddButton()));
        TypeText("Drift");
        PressKey(VK_ESCAPE);
        Pump(200);
        rowsAfter.push_back(ShownRows(list));

        // OK while a name is typed keeps the name.
        Click(CentreOf(manager->AddButton()));
        TypeText("Nitro");
        Screenshot(*manager, "manager_new_set");
        Click(CentreOf(manager->OkButton()));
    });
    EXPECT_TRUE(script.RunModal([&] { return RunMacroManager(nullptr, library, m_folder.Path(), 0, m_key); }));
    EXPECT_FALSE(script.GaveUp());

    EXPECT_EQ("Games", firstCaption);
    EXPECT_EQ((std::vector<std::string>{"Jump", "Run"}), firstRows);
    EXPECT_EQ(0, firstSelection) << "the set's first macro is selected";
    EXPECT_EQ((std::vector<UINT>{2000, 0, 2998, 2999}), menuIds);
    EXPECT_EQ(" Racing ", typedName);
    EXPECT_EQ("Racing", newSetCaption) << "the new set is selected, its name trimmed";
    EXPECT_TRUE(newSetRows.empty());
    EXPECT_TRUE(editOpenAfterAdd) << "the add button opens an edit with the keyboard focus";
    ASSERT_EQ(3u, rowsAfter.size());
    EXPECT_EQ(std::vector<std::string>{"Boost"}, rowsAfter[0]);
    EXPECT_EQ(std::vector<std::string>{"Boost"}, rowsAfter[1]) << "duplicate and empty names are dropped";
    EXPECT_EQ(0, selectionAfterRefusal) << "the macro shown stays marked";
    EXPECT_EQ(std::vector<std::string>{"Boost"}, rowsAfter[2]) << "Escape drops the entry";

    const Shape expected{{"Games", {"Jump", "Run"}}, {"Racing", {"Boost", "Nitro"}}};
    EXPECT_EQ(expected, ShapeOf(library));
    EXPECT_EQ(expected, StoredShape(m_folder.Path())) << "OK saves the library";
    char section[32] = {};
    ::GetPrivateProfileStringA("Main", "1", "", section, sizeof section, MacroFile().c_str());
    EXPECT_STREQ("Racing", section);
    EXPECT_EQ(2u, ::GetPrivateProfileIntA("Racing", "Count", 0, MacroFile().c_str()));

    // Opened again for the new set: it shows what was saved.
    std::string reopenedCaption;
    std::vector<std::string> reopenedRows;
    ModalScript again;
    again.Then(500, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        reopenedCaption = manager->SetButton().Caption();
        reopenedRows = ShownRows(manager->MacroList());
        Click(CentreOf(manager->CancelButton(0)));
    });
    EXPECT_FALSE(again.RunModal([&] { return RunMacroManager(nullptr, library, m_folder.Path(), 1, m_key); }));
    EXPECT_FALSE(again.GaveUp());
    EXPECT_EQ("Racing", reopenedCaption);
    EXPECT_EQ((std::vector<std::string>{"Boost", "Nitro"}), reopenedRows);
}

TEST_F(MacroManagerWindow, DeletionsAskFirstAndCancelLeavesTheFileAsItWas)
{
    MacroLibrary library = LibraryOf({{"Games", {"Jump", "Run", "Duck"}}, {"Other", {"X"}}});
    ASSERT_TRUE(SaveMacroLibrary(library, m_folder.Path()));
    const std::string before = ReadBytes(MacroFile());
    // The key plays "Run" of "Games": that macro is selected when the manager opens.
    m_key.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    CopyToField(m_key.MacroSetName, "games");
    CopyToField(m_key.MacroName, "RUN");

    int openSelection = -2;
    std::vector<std::string> rowsAfterKeptDelete;
    std::vector<std::string> rowsAfterDelete;
    int selectionAfterDelete = -2;
    std::string captionAfterSetDelete;
    std::vector<std::string> rowsAfterSetDelete;
    bool confirmationShown = false;
    bool setConfirmationShown = false;
    ModalScript script;
    script.Then(500, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        openSelection = ShownSelection(manager->MacroList());
        Click(RowCentre(manager->MacroList(), 2)); // "Duck"
    });
    script.ThenOpening(100, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        Click(CentreOf(manager->DeleteButton()));
    });
    script.Then(600, [&] {
        auto* confirmation = ActiveDialog<CDeleteMacroWarn>();
        ASSERT_NE(nullptr, confirmation);
        Screenshot(*confirmation, "delete_macro");
        Click(CentreOf(confirmation->Button(1))); // keeps it
    });
    script.ThenOpening(300, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        rowsAfterKeptDelete = ShownRows(manager->MacroList());
        Click(CentreOf(manager->DeleteButton()));
    });
    script.Then(600, [&] {
        auto* confirmation = ActiveDialog<CDeleteMacroWarn>();
        confirmationShown = confirmation != nullptr;
        ASSERT_NE(nullptr, confirmation);
        Click(CentreOf(confirmation->Button(0)));
    });
    script.ThenOpening(300, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        rowsAfterDelete = ShownRows(manager->MacroList());
        selectionAfterDelete = ShownSelection(manager->MacroList());
        Click(CentreOf(manager->SetButton()));
    });
    script.ThenOpening(600, [&] { ClickMenuCommand(2999); }); // "[x]Delete Macro Set"
    script.Then(600, [&] {
        auto* confirmation = ActiveDialog<CDeleteMacroSet>();
        setConfirmationShown = confirmation != nullptr;
        ASSERT_NE(nullptr, confirmation);
        Screenshot(*confirmation, "delete_set");
        Click(CentreOf(confirmation->Button(0)));
    });
    script.Then(300, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        captionAfterSetDelete = manager->SetButton().Caption();
        rowsAfterSetDelete = ShownRows(manager->MacroList());
        Click(CentreOf(manager->CancelButton(0)));
    });
    EXPECT_FALSE(script.RunModal([&] { return RunMacroManager(nullptr, library, m_folder.Path(), 0, m_key); }));
    EXPECT_FALSE(script.GaveUp());

    EXPECT_EQ(1, openSelection) << "the key's macro is selected, its names compared without case";
    EXPECT_EQ((std::vector<std::string>{"Jump", "Run", "Duck"}), rowsAfterKeptDelete);
    EXPECT_TRUE(confirmationShown);
    EXPECT_EQ((std::vector<std::string>{"Jump", "Run"}), rowsAfterDelete);
    EXPECT_EQ(1, selectionAfterDelete) << "the last row was deleted: the new last one is selected";
    EXPECT_TRUE(setConfirmationShown);
    EXPECT_EQ("Other", captionAfterSetDelete) << "the set now at that place is shown";
    EXPECT_EQ(std::vector<std::string>{"X"}, rowsAfterSetDelete);

    EXPECT_EQ(before, ReadBytes(MacroFile())) << "Cancel writes nothing";
    EXPECT_EQ((Shape{{"Games", {"Jump", "Run", "Duck"}}, {"Other", {"X"}}}), ShapeOf(library))
        << "the library is read again from the file";
}

TEST_F(MacroManagerWindow, WithoutSetOrMacroAddDeleteAndRecordOnlyWarnAndTheCloseButtonCancels)
{
    MacroLibrary library;
    // The recorder as the program makes it inside the manager.
    LastKeyMessage lastKey;
    auto recorder = [&lastKey](CMacroManagerDlg& manager, const RECT&) -> std::unique_ptr<CWnd> {
        auto page = std::make_unique<CMacroRecorderDlg>(manager.Library(), lastKey,
                                                        [&manager](bool enable) { manager.EnableControls(enable); });
        return page->Create(manager.GetSafeHwnd()) ? std::move(page) : nullptr;
    };
    bool setWarning = false;
    bool deleteWarning = false;
    bool recordWarning = false;
    HWND managerWindow = nullptr;
    bool controlsAfterRecord = false;
    std::string caption = "-";
    ModalScript script;
    script.ThenOpening(500, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        caption = manager->SetButton().Caption();
        Click(CentreOf(manager->AddButton()));
    });
    script.Then(600, [&] {
        auto* warning = ActiveDialog<CWarnMacroSet>();
        setWarning = warning != nullptr;
        ASSERT_NE(nullptr, warning);
        Click(CentreOf(warning->Button(0)));
    });
    script.ThenOpening(300, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        Click(CentreOf(manager->DeleteButton()));
    });
    script.Then(600, [&] {
        auto* warning = ActiveDialog<CNoSelectMacroDelete>();
        deleteWarning = warning != nullptr;
        ASSERT_NE(nullptr, warning);
        Click(CentreOf(warning->Button(2)));
    });
    script.ThenOpening(300, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        managerWindow = manager->GetSafeHwnd();
        auto* page = dynamic_cast<CMacroRecorderDlg*>(manager->BasicPage());
        ASSERT_NE(nullptr, page);
        Click(CentreOf(page->RecordButton()));
    });
    script.Then(600, [&] {
        auto* warning = ActiveDialog<CWarnMacroSet>();
        ASSERT_NE(nullptr, warning);
        recordWarning = ::GetWindow(warning->GetSafeHwnd(), GW_OWNER) == managerWindow;
        Screenshot(*warning, "record_no_set");
        Click(CentreOf(warning->Button(0)));
    });
    script.Then(300, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        controlsAfterRecord = manager->Model().ControlsEnabled() && manager->OkButton().IsWindowEnabled();
        Click(CentreOf(manager->CancelButton(1)));
    });
    EXPECT_FALSE(
        script.RunModal([&] { return RunMacroManager(nullptr, library, m_folder.Path(), -1, m_key, recorder); }));
    EXPECT_FALSE(script.GaveUp());
    EXPECT_EQ("", caption);
    EXPECT_TRUE(setWarning) << "adding a macro without a set warns";
    EXPECT_TRUE(deleteWarning) << "deleting without a selected macro warns";
    EXPECT_TRUE(recordWarning) << "recording without a set warns, over the manager";
    EXPECT_TRUE(controlsAfterRecord) << "no recording began";
    EXPECT_EQ(nullptr, KeyCaptureTarget());
    EXPECT_TRUE(library.empty());
    EXPECT_EQ("", ReadBytes(MacroFile())) << "nothing is written";
}

// A stand-in for an editor page: a plain child window that records what the manager asks of it.
class FakePage : public CWnd, public MacroEditorPage {
public:
    void LoadMacro(int set, int macro) override { loads.push_back({set, macro}); }
    void CommitBars() override { ++commits; }
    std::vector<std::pair<int, int>> loads;
    int commits = 0;
};

TEST_F(MacroManagerWindow, TheSwitchFlipsThePagesCommitsTheAdvancedOneAndClosingEndsACapture)
{
    MacroLibrary library = LibraryOf({{"ZENTOR Tolk", {"A", "B"}}});
    ASSERT_TRUE(SaveMacroLibrary(library, m_folder.Path()));
    FakePage* pages[2] = {};
    auto factory = [&pages](int index) {
        return [&pages, index](CMacroManagerDlg& manager, const RECT& frame) -> std::unique_ptr<CWnd> {
            auto page = std::make_unique<FakePage>();
            page->CreateChild("STATIC", frame, manager.GetSafeHwnd(), 0);
            pages[index] = page.get();
            return page;
        };
    };
    struct Seen {
        bool basicVisible;
        bool advancedVisible;
        std::string label;
        int checked;
    };
    std::vector<Seen> seen;
    int enabledWhileCapturing = -1;
    std::vector<std::pair<int, int>> basicLoads;
    int advancedCommits = -1;
    bool captureWhileOpen = false;
    ModalScript script;
    auto look = [&](CMacroManagerDlg& manager) {
        seen.push_back({::IsWindowVisible(pages[0]->GetSafeHwnd()) != FALSE,
                        ::IsWindowVisible(pages[1]->GetSafeHwnd()) != FALSE, manager.SwitchLabel().Text(),
                        manager.SwitchButton().GetChecked()});
    };
    script.Then(500, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        ASSERT_TRUE(pages[0] != nullptr && pages[1] != nullptr);
        look(*manager);
        Click(CentreOf(manager->SwitchButton()));
        look(*manager);
        Screenshot(*manager, "manager_advanced");
        Click(RowCentre(manager->MacroList(), 1)); // another macro while the advanced page shows
        Click(CentreOf(manager->SwitchButton()));
        look(*manager);

        // A page captures keys: the manager cannot be left with its buttons meanwhile.
        captureWhileOpen = StartKeyCapture(pages[0]->GetSafeHwnd());
        manager->EnableControls(false);
        enabledWhileCapturing = 0;
        for (const CWnd* control :
             {static_cast<CWnd*>(&manager->OkButton()), static_cast<CWnd*>(&manager->CancelButton(0)),
              static_cast<CWnd*>(&manager->CancelButton(1)), static_cast<CWnd*>(&manager->SetButton()),
              static_cast<CWnd*>(&manager->AddButton()), static_cast<CWnd*>(&manager->DeleteButton()),
              static_cast<CWnd*>(&manager->SwitchButton()), static_cast<CWnd*>(&manager->MacroList())})
            enabledWhileCapturing += control->IsWindowEnabled() ? 1 : 0;
        manager->EndDialog(IDCANCEL); // the owner closes it
    });
    EXPECT_FALSE(script.RunModal([&] {
        CMacroManagerDlg manager(library, -1, m_key);
        manager.SetPageFactories(factory(0), factory(1));
        const bool ok = manager.DoModal(nullptr) == IDOK;
        if (pages[0] != nullptr && pages[1] != nullptr) {
            basicLoads = pages[0]->loads;
            advancedCommits = pages[1]->commits;
        }
        // Nothing stays disabled and no capture runs for a window that is gone.
        EXPECT_TRUE(manager.Model().ControlsEnabled());
        return ok;
    }));
    EXPECT_FALSE(script.GaveUp());
    EXPECT_EQ(nullptr, KeyCaptureTarget()) << "closing the manager ends its page's capture";
    EXPECT_TRUE(captureWhileOpen);
    EXPECT_EQ(0, enabledWhileCapturing) << "the seven buttons and the list are disabled together";

    ASSERT_EQ(3u, seen.size());
    EXPECT_TRUE(seen[0].basicVisible);
    EXPECT_FALSE(seen[0].advancedVisible);
    EXPECT_EQ("SWITCH TO ADVANCED EDIT", seen[0].label);
    EXPECT_EQ(1, seen[0].checked) << "the switch starts pressed";
    EXPECT_FALSE(seen[1].basicVisible);
    EXPECT_TRUE(seen[1].advancedVisible);
    EXPECT_EQ("SWITCH TO BASIC EDIT", seen[1].label);
    EXPECT_EQ(0, seen[1].checked);
    EXPECT_TRUE(seen[2].basicVisible);
    EXPECT_EQ("SWITCH TO ADVANCED EDIT", seen[2].label);

    // Both pages were shown each macro the manager selected, the basic one first; the advanced
    // page's edits were committed before another macro was shown and when it was left.
    EXPECT_EQ(2, advancedCommits);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{0, 0}, {0, 0}, {0, 1}, {0, 1}}), basicLoads);
}

// An advanced page whose every commit cuts a pause, as the timing editor reports it.
class CuttingPage : public FakePage {
public:
    void CommitBars() override
    {
        FakePage::CommitBars();
        ::SendMessageA(::GetParent(GetSafeHwnd()), WM_MACRO_PAUSE_CAPPED, 0, 0);
    }
};

TEST_F(MacroManagerWindow, APauseCutByACommitIsShownInTheStatusLineAndReportedAfterOk)
{
    MacroLibrary library = LibraryOf({{"ZENTOR Tolk", {"A"}}});
    ASSERT_TRUE(SaveMacroLibrary(library, m_folder.Path()));
    auto page = [](bool cutting) {
        return [cutting](CMacroManagerDlg& manager, const RECT& frame) -> std::unique_ptr<CWnd> {
            std::unique_ptr<FakePage> made = cutting ? std::make_unique<CuttingPage>() : std::make_unique<FakePage>();
            made->CreateChild("STATIC", frame, manager.GetSafeHwnd(), 0);
            return made;
        };
    };
    // OK while the advanced page shows: its commit cuts a pause, and the caller hears of it.
    std::string before;
    ModalScript script;
    script.Then(500, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        before = manager->StatusLabel().Text();
        Click(CentreOf(manager->SwitchButton()));
        Click(CentreOf(manager->OkButton()));
    });
    bool cut = false;
    EXPECT_TRUE(script.RunModal(
        [&] { return RunMacroManager(nullptr, library, m_folder.Path(), -1, m_key, page(false), page(true), &cut); }));
    EXPECT_FALSE(script.GaveUp());
    EXPECT_EQ("", before);
    EXPECT_TRUE(cut);

    // Switching back cuts one too: the status line says so while the manager stays open; Cancel
    // throws the cut macro away, so nothing is reported.
    std::string shown;
    ModalScript again;
    again.Then(500, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        Click(CentreOf(manager->SwitchButton()));
        Click(CentreOf(manager->SwitchButton()));
        Pump(200);
        shown = manager->StatusLabel().Text();
        Screenshot(*manager, "manager_pause_cut");
        Click(CentreOf(manager->CancelButton(0)));
    });
    cut = true;
    EXPECT_FALSE(again.RunModal(
        [&] { return RunMacroManager(nullptr, library, m_folder.Path(), -1, m_key, page(false), page(true), &cut); }));
    EXPECT_FALSE(again.GaveUp());
    EXPECT_EQ("Pause cut to 65535 ms", shown);
    EXPECT_FALSE(cut);
}

// A keyboard capture that cannot start, as when the system refuses the hook.
class RefusedCapture : public RecorderCapture {
public:
    bool StartKeyCapture() override
    {
        ++starts;
        return false;
    }
    void StopKeyCapture() override {}
    int starts = 0;
};

TEST_F(MacroManagerWindow, AnAddedBarWhoseKeyCannotBeCapturedIsToldAndLeavesTheManagerUsable)
{
    MacroLibrary library = LibraryOf({{"Games", {"Jump"}}});
    library[0]->Elements[0]->Events[0] = MacroEvent{4, 0, 100};
    library[0]->Elements[0]->Events[1] = MacroEvent{4, 1, 0};
    library[0]->Elements[0]->EventCount = 2;
    ASSERT_TRUE(SaveMacroLibrary(library, m_folder.Path()));
    const std::string saved = ReadBytes(MacroFile());
    RefusedCapture refused;
    auto advanced = [&refused](CMacroManagerDlg& manager, const RECT&) -> std::unique_ptr<CWnd> {
        auto page = std::make_unique<CMacroAdjustDlg>(
            manager.Library(), [&manager](bool enable) { manager.EnableControls(enable); }, &refused);
        return page->Create(manager.GetSafeHwnd()) ? std::move(page) : nullptr;
    };
    std::size_t barsBefore = 0;
    std::size_t barsAfter = 0;
    std::string status;
    int enabledAfter = -1;
    bool pageEnabled = false;
    ModalScript script;
    script.Then(500, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        Click(CentreOf(manager->SwitchButton()));
        auto* page = dynamic_cast<CMacroAdjustDlg*>(manager->AdvancedPage());
        ASSERT_NE(nullptr, page);
        barsBefore = page->Model().List().Bars().size();
        Click(CentreOf(page->Button(0)));
        Pump(200);
        barsAfter = page->Model().List().Bars().size();
        status = manager->StatusLabel().Text();
        pageEnabled = page->IsWindowEnabled();
        enabledAfter = 0;
        for (const CWnd* control :
             {static_cast<CWnd*>(&manager->OkButton()), static_cast<CWnd*>(&manager->CancelButton(0)),
              static_cast<CWnd*>(&manager->CancelButton(1)), static_cast<CWnd*>(&manager->SetButton()),
              static_cast<CWnd*>(&manager->AddButton()), static_cast<CWnd*>(&manager->DeleteButton()),
              static_cast<CWnd*>(&manager->SwitchButton()), static_cast<CWnd*>(&manager->MacroList())})
            enabledAfter += control->IsWindowEnabled() ? 1 : 0;
        Screenshot(*manager, "manager_capture_refused");
        // Its own Cancel still closes it.
        Click(CentreOf(manager->CancelButton(0)));
    });
    EXPECT_FALSE(
        script.RunModal([&] { return RunMacroManager(nullptr, library, m_folder.Path(), 0, m_key, {}, advanced); }));
    EXPECT_FALSE(script.GaveUp()) << "the manager closed with its own Cancel";
    EXPECT_EQ(1, refused.starts);
    EXPECT_EQ(1u, barsBefore);
    EXPECT_EQ(barsBefore, barsAfter) << "no bar waits for a key that cannot come";
    EXPECT_EQ("No key can be captured", status);
    EXPECT_EQ(8, enabledAfter) << "the seven buttons and the list stay enabled";
    EXPECT_TRUE(pageEnabled);
    EXPECT_EQ(saved, ReadBytes(MacroFile()));
}

// A window that keeps what its list reports.
class ListOwner : public BaseWindow<ListOwner> {
public:
    static MessageSpan MessageEntries()
    {
        static constexpr MessageEntry kEntries[] = {
            OnMessage<WM_LIST_EDIT_DONE, &ListOwner::OnEditDone>(),
            OnMessage<WM_LIST_RBUTTON, &ListOwner::OnRButton>(),
        };
        return kEntries;
    }
    ~ListOwner() override { DestroyWindow(); }

    std::vector<int> doneRows;
    int rightClicks = 0;

private:
    LRESULT OnEditDone(WPARAM row, LPARAM)
    {
        doneRows.push_back(static_cast<int>(row));
        return 0;
    }
    LRESULT OnRButton(WPARAM, LPARAM)
    {
        ++rightClicks;
        return 0;
    }
};

TEST(ListBoxEx, RowsShowTheirPicturesAndSelectionAndEditsReportToTheParent)
{
    ListOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "list owner", WS_POPUP | WS_VISIBLE, 100, 100, 260, 200, nullptr, nullptr));
    ::SetForegroundWindow(owner.GetSafeHwnd());
    CListBoxEx list;
    ASSERT_TRUE(list.Create(RECT{0, 0, 260, 200}, owner.GetSafeHwnd(), 4096));
    list.SetColors(RGB(0, 0, 0), kSelectionFill, RGB(255, 255, 255));
    std::vector<std::pair<ListEditEnd, std::string>> ends;
    list.SetEditEndedHandler([&](ListEditEnd how, const std::string& text) { ends.push_back({how, text}); });
    list.AddRow("Press A", RowValue(1, ListRowPicture::KeyPress));
    list.AddRow("120", RowValue(2, ListRowPicture::Pause));
    list.AddRow("Plain", 0);
    Pump(200);

    // Clicking a row selects it; it is filled with the selection colour, the others stay black.
    Click(RowCentre(list, 1));
    EXPECT_EQ(1, list.Selection());
    EXPECT_EQ(1, list.HotRow()) << "the row under the pointer is tracked";
    Pump(100);
    const RECT screen = list.GetWindowRect();
    {
        const ScreenCapture shot(screen);
        RECT row{};
        list.SendMessage(LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
        ::MapWindowPoints(list.GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&row), 2);
        EXPECT_GT(shot.Count(row, kSelectionFill), 500) << "the selected row is filled";
        RECT first{};
        list.SendMessage(LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
        ::MapWindowPoints(list.GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&first), 2);
        const RECT firstText{first.left + 30, first.top, first.right, first.bottom};
        EXPECT_EQ(0, shot.Count(firstText, kSelectionFill)) << "a row not selected stays black";
        // The picture stands at the left of the first row: more than black and white there.
        const RECT picture{first.left + 5, first.top, first.left + 16, first.bottom};
        const int plain = shot.Count(picture, RGB(0, 0, 0), 8) + shot.Count(picture, RGB(255, 255, 255), 8);
        EXPECT_LT(plain, (picture.right - picture.left) * (picture.bottom - picture.top)) << "a picture is drawn";
        shot.SavePng(ScreenshotFolder() + "macro_list.png");
    }

    // Editing the selected pause: digits only, Enter keeps it and reports the row.
    ASSERT_TRUE(list.BeginEditSelected());
    EXPECT_FALSE(list.BeginNewEntry()) << "one edit at a time";
    RECT box = {};
    ::GetWindowRect(list.EditWindow(), &box);
    RECT row{};
    list.SendMessage(LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    ::MapWindowPoints(list.GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&row), 2);
    EXPECT_EQ(row.left + 15 + 5, box.left) << "the edit starts after the row's picture";
    EXPECT_EQ(row.top, box.top);
    TypeText("25x0");
    PressKey(VK_RETURN);
    Pump(200);
    EXPECT_EQ(nullptr, list.EditWindow());
    EXPECT_EQ((std::vector<std::string>{"Press A", "250", "Plain"}), ShownRows(list));
    EXPECT_EQ(RowValue(2, ListRowPicture::Pause), list.Model().RowAt(1)->value);
    EXPECT_EQ(std::vector<int>{1}, owner.doneRows);

    // Escape keeps the old text and reports nothing.
    ASSERT_TRUE(list.BeginEditSelected());
    TypeText("9");
    PressKey(VK_ESCAPE);
    Pump(200);
    EXPECT_EQ("250", ShownRows(list)[1]);

    // A new entry ended by the focus going elsewhere keeps its text; an empty one goes.
    ASSERT_TRUE(list.BeginNewEntry());
    EXPECT_EQ(4, list.Count());
    TypeText("Fresh");
    ::SetFocus(owner.GetSafeHwnd());
    Pump(200);
    EXPECT_EQ((std::vector<std::string>{"Press A", "250", "Plain", "Fresh"}), ShownRows(list));
    ASSERT_TRUE(list.BeginNewEntry());
    PressKey(VK_RETURN);
    Pump(200);
    EXPECT_EQ(4, list.Count()) << "an empty entry is removed";
    EXPECT_EQ((std::vector<int>{1, 3}), owner.doneRows);
    ASSERT_EQ(4u, ends.size());
    EXPECT_EQ(ListEditEnd::Escape, ends[1].first);
    EXPECT_EQ(ListEditEnd::FocusLost, ends[2].first);
    EXPECT_EQ("Fresh", ends[2].second);

    // The right button tells the parent.
    const POINT at = RowCentre(list, 0);
    ::SetCursorPos(at.x, at.y);
    Pump(100);
    ::mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    ::mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    Pump(200);
    EXPECT_EQ(1, owner.rightClicks);
}

TEST(ListBoxEx, TheWheelScrollsOneRowPerNotch)
{
    ListOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "list owner", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr));
    CListBoxEx list;
    ASSERT_TRUE(list.Create(RECT{0, 0, 200, 100}, owner.GetSafeHwnd(), 4096));
    for (int i = 0; i < 20; ++i)
        list.AddRow("Row " + std::to_string(i), 0);
    POINT centre = CentreOf(list);
    list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)), MAKELPARAM(centre.x, centre.y));
    EXPECT_EQ(2, list.SendMessage(LB_GETTOPINDEX));
    list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(centre.x, centre.y));
    EXPECT_EQ(1, list.SendMessage(LB_GETTOPINDEX));
    list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 0), MAKELPARAM(centre.x, centre.y));
    EXPECT_EQ(2, list.SendMessage(LB_GETTOPINDEX)) << "a zero delta scrolls down";
}

} // namespace
