// TolkCfg's windows by keyboard and through Microsoft Active Accessibility (oleacc), as a screen
// reader sees them: every control Tab reaches answers AccessibleObjectFromWindow with a name and the
// role it acts as (push button, check box, radio button), Tab visits them in reading order and
// comes round, Space flips a key's switch, the arrows move the profile slots, Escape is Cancel.
#include "WinTestInput.h"
#include "BitmapBtn.h"
#include "ConfigDlg.h"
#include "ControlAccess.h"
#include "CountdownTimerDlg.h"
#include "CreateMacroSetDlg.h"
#include "DeleteMacroSet.h"
#include "DeleteMacroWarn.h"
#include "DeleteTimerDlg.h"
#include "EditTimerDlg.h"
#include "GameProfileDlg.h"
#include "KeyAssignmentDlg.h"
#include "LanguageModule.h"
#include "LanguageStrings.h"
#include "Libraries.h"
#include "MacroAdjustDlg.h"
#include "MacroManagerDlg.h"
#include "MacroRecorderDlg.h"
#include "ModalScript.h"
#include "ProgramFolderTest.h"
#include "ProfileStore.h"
#include "ScreenShot.h"
#include "SelectPlayerDlg.h"
#include "SkinAccessible.h"
#include "SkinDialog.h"
#include "SkinMessages.h"
#include "TempFolder.h"
#include "TestLibraries.h"
#include "Text.h"
#include "TextLabel.h"
#include "WarnDlg.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Reached {
    HWND window = nullptr;
    std::string className;
    std::string name;
    long role = 0;
    long state = 0;
    bool answered = false;
    HRESULT result = S_OK;
};

std::string Narrow(BSTR text)
{
    if (text == nullptr)
        return {};
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
    if (length > 1)
        ::WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), length, nullptr, nullptr);
    return result;
}

// What AccessibleObjectFromWindow(OBJID_CLIENT) says of window.
Reached Ask(HWND window)
{
    Reached reached;
    reached.window = window;
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    reached.className = className;
    IAccessible* object = nullptr;
    reached.result = ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&object));
    if (FAILED(reached.result) || object == nullptr)
        return reached;
    reached.answered = true;
    VARIANT self;
    ::VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK)
        reached.name = Narrow(name);
    ::SysFreeString(name);
    VARIANT value;
    ::VariantInit(&value);
    if (SUCCEEDED(object->get_accRole(self, &value)) && value.vt == VT_I4)
        reached.role = value.lVal;
    ::VariantClear(&value);
    if (SUCCEEDED(object->get_accState(self, &value)) && value.vt == VT_I4)
        reached.state = value.lVal;
    ::VariantClear(&value);
    object->Release();
    return reached;
}

// Walks the window's tab stops with Tab from its focus until it comes round: every control it
// reaches, in order. Fails on a reachable control without a name or with a wrong role.
std::vector<Reached> WalkByTab(CSkinDialog& window, const std::string& what)
{
    std::vector<Reached> reached;
    for (int step = 0; step < 80; ++step) {
        EXPECT_TRUE(window.MoveFocusByTab(true)) << what << ": no tab stop";
        PumpPending();
        HWND focus = ::GetFocus();
        if (!reached.empty() && focus == reached.front().window)
            break;
        reached.push_back(Ask(focus));
        const Reached& r = reached.back();
        EXPECT_TRUE(r.answered) << what << ": control " << r.className << " gives no accessible object: " << std::hex << r.result;
        EXPECT_FALSE(r.name.empty()) << what << ": control " << r.className << " at step " << step << " has no name";
        if (auto* button = dynamic_cast<CBitmapBtn*>(CWnd::FromHandle(focus))) {
            EXPECT_EQ(r.role, AccessibleRole(button->Access().role)) << what << ": " << r.name;
            EXPECT_TRUE(button->KeyboardFocusShown()) << what << ": " << r.name << " shows no focus mark";
            EXPECT_EQ((r.state & STATE_SYSTEM_CHECKED) != 0, button->Access().checked) << what << ": " << r.name;
        } else {
            EXPECT_TRUE(r.role == ROLE_SYSTEM_TEXT || r.role == ROLE_SYSTEM_LIST || r.role == ROLE_SYSTEM_CLIENT)
                << what << ": " << r.className << " role " << r.role;
        }
        EXPECT_NE(r.state & STATE_SYSTEM_FOCUSED, 0) << what << ": " << r.name << " is not focused";
    }
    return reached;
}

bool InReadingOrder(const std::vector<Reached>& reached)
{
    std::vector<ControlBox> boxes;
    for (const Reached& r : reached) {
        RECT rect{};
        ::GetWindowRect(r.window, &rect);
        boxes.push_back(ControlBox{rect.left, rect.top, rect.right, rect.bottom});
    }
    const std::vector<std::size_t> order = ReadingOrder(boxes);
    // The walk may start anywhere: it is the reading order turned round.
    for (std::size_t start = 0; start < order.size(); ++start) {
        bool same = true;
        for (std::size_t i = 0; i < order.size() && same; ++i)
            same = order[(start + i) % order.size()] == i;
        if (same)
            return true;
    }
    return order.empty();
}

class KeyboardAccess : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        m_ole = ::OleInitialize(nullptr);
        ProgramFolderTest::SetUp();
    }
    void TearDown() override
    {
        ProgramFolderTest::TearDown();
        if (SUCCEEDED(m_ole))
            ::OleUninitialize();
    }

    // Runs the dialog modally, walks it with Tab, then presses Escape: the walk, and what
    // DoModal returned.
    template <class Dialog>
    std::vector<Reached> WalkDialog(Dialog& dialog, const std::string& what, INT_PTR& result)
    {
        std::vector<Reached> reached;
        ModalScript script(dialog);
        script.Then(500, [&] { reached = WalkByTab(dialog, what); });
        script.Then(100, [&] { PressKey(VK_ESCAPE); });
        script.Then(1500, [&] {
            if (::IsWindow(dialog.GetSafeHwnd()))
                dialog.EndDialog(-5);
        });
        result = script.RunModal();
        return reached;
    }

    HRESULT m_ole = E_FAIL;
};

TEST_F(KeyboardAccess, MainWindowEveryControlReachedByTabInReadingOrderWithNameAndRole)
{
    auto stored = std::make_unique<ProfileSet>();
    SetDefaultProfiles(*stored);
    const char* names[] = {"One", "Two", "Three", "Four", "Five"};
    for (int i = 0; i < kProfileCount; ++i)
        CopyToField(stored->Profiles[i].Name, names[i]);
    stored->CurrentProfile = 1;
    ASSERT_TRUE(SaveProfileSet(*stored, folder.Path()));

    CConfigDlg main;
    std::vector<Reached> keysPage, updatePage, helpPage;
    std::string slotAfterRight, tabAfterRight;
    int switchBefore = -1, switchAfter = -1;
    ModalScript script(main);
    script.Then(600, [&] {
        keysPage = WalkByTab(main, "main window, key page");
        // Space on a key's switch flips it.
        CKeyPageDlg* page = nullptr;
        for (HWND child = ::GetWindow(main.GetSafeHwnd(), GW_CHILD); child && !page; child = ::GetWindow(child, GW_HWNDNEXT))
            page = dynamic_cast<CKeyPageDlg*>(CWnd::FromHandle(child));
        ASSERT_NE(page, nullptr);
        ::SetFocus(page->SwitchButton(2).GetSafeHwnd());
        switchBefore = page->SwitchButton(2).GetChecked();
        PressKey(VK_SPACE);
        Pump(200);
        switchAfter = page->SwitchButton(2).GetChecked();
        // The arrows move the checked profile slot (slot 1 is checked: Right checks slot 2).
        for (const Reached& r : keysPage) {
            if (r.role == ROLE_SYSTEM_RADIOBUTTON && r.name == "One" && (r.state & STATE_SYSTEM_CHECKED)) {
                ::SetFocus(r.window);
                PressKey(VK_RIGHT);
                Pump(200);
                slotAfterRight = Ask(::GetFocus()).name;
            }
        }
        // The page tabs are a radio group too: from the first tab, Right shows the update page.
        for (const Reached& r : keysPage) {
            if (r.role == ROLE_SYSTEM_RADIOBUTTON && (r.state & STATE_SYSTEM_CHECKED) && r.name != "One") {
                ::SetFocus(r.window);
                PressKey(VK_RIGHT);
                Pump(300);
                tabAfterRight = Ask(::GetFocus()).name;
                break;
            }
        }
        updatePage = WalkByTab(main, "main window, update page");
        // And Right once more, from the update tab, shows the help page.
        for (const Reached& r : updatePage) {
            if (r.role == ROLE_SYSTEM_RADIOBUTTON && (r.state & STATE_SYSTEM_CHECKED) && r.name != "One") {
                ::SetFocus(r.window);
                PressKey(VK_RIGHT);
                Pump(300);
                break;
            }
        }
        helpPage = WalkByTab(main, "main window, help page");
    });
    script.Then(100, [&] { main.PostMessage(WM_CLOSE); });
    script.RunModal();

    ASSERT_GE(keysPage.size(), 25u) << "tabs, slots, game and file buttons, keys and switches, mode, reset, OK...";
    EXPECT_TRUE(InReadingOrder(keysPage));
    int keyButtons = 0, switches = 0, slots = 0, tabs = 0;
    for (const Reached& r : keysPage) {
        if (r.name.rfind("G", 0) == 0 && r.name.size() > 2 && r.name[2] == ':')
            ++keyButtons;
        if (r.role == ROLE_SYSTEM_CHECKBUTTON)
            ++switches;
        if (r.role == ROLE_SYSTEM_RADIOBUTTON) {
            const bool slot = std::find(std::begin(names), std::end(names), r.name) != std::end(names);
            slot ? ++slots : ++tabs;
        }
    }
    EXPECT_EQ(keyButtons, 5) << "key buttons read \"G1: <assignment>\"";
    EXPECT_EQ(switches, 6) << "five key switches and the mode switch are check boxes";
    EXPECT_EQ(slots, 5) << "the slots are radio buttons named with their profiles";
    EXPECT_EQ(tabs, 3) << "the page tabs are radio buttons";
    EXPECT_NE(switchBefore, switchAfter) << "Space flips a switch";
    EXPECT_EQ(slotAfterRight, "Two");
    EXPECT_FALSE(tabAfterRight.empty());
    EXPECT_FALSE(updatePage.empty());
    EXPECT_TRUE(InReadingOrder(updatePage));
    EXPECT_FALSE(helpPage.empty());
    EXPECT_TRUE(InReadingOrder(helpPage));
    EXPECT_NE(helpPage.size(), 0u);
    EXPECT_NE(std::make_pair(helpPage.front().window, helpPage.size()),
              std::make_pair(updatePage.front().window, updatePage.size()))
        << "the help page's open button is reached, not the update page's";
}

TEST_F(KeyboardAccess, StatusLineIsAStaticTextNamedWithItsText)
{
    CConfigDlg main;
    Reached status;
    ModalScript script(main);
    script.Then(600, [&] {
        for (HWND child = ::GetWindow(main.GetSafeHwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (auto* label = dynamic_cast<CStatusLabel*>(CWnd::FromHandle(child))) {
                label->SetText("Status : testing");
                status = Ask(child);
            }
        }
    });
    script.Then(100, [&] { main.PostMessage(WM_CLOSE); });
    script.RunModal();
    EXPECT_EQ(status.role, ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(status.name, "Status : testing");
}

TEST_F(KeyboardAccess, MacroAndTimerDialogsEveryControlNamed)
{
    MacroLibrary library;
    library.push_back(TestSet("Games"));
    for (const char* name : {"Jump", "Run"}) {
        library.back()->Elements.push_back(TestMacro(name, 0));
        MacroRecord& macro = *library.back()->Elements.back();
        macro.Events[0] = MacroEvent{4, 0, 120};
        macro.Events[1] = MacroEvent{4, 1, 0};
        macro.EventCount = 2;
    }
    LastKeyMessage lastKey;
    // The key being edited plays "Jump": the manager opens with it shown.
    ButtonInfo key{};
    key.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    CopyToField(key.MacroSetName, "Games");
    CopyToField(key.MacroName, "Jump");
    CMacroManagerDlg manager(library, 0, key);
    manager.SetPageFactories(
        [&lastKey](CMacroManagerDlg& owner, const RECT&) -> std::unique_ptr<CWnd> {
            auto page = std::make_unique<CMacroRecorderDlg>(owner.Library(), lastKey,
                                                            [&owner](bool enable) { owner.EnableControls(enable); });
            return page->Create(owner.GetSafeHwnd()) ? std::move(page) : nullptr;
        },
        [](CMacroManagerDlg& owner, const RECT&) -> std::unique_ptr<CWnd> {
            auto page = std::make_unique<CMacroAdjustDlg>(owner.Library(),
                                                          [&owner](bool enable) { owner.EnableControls(enable); });
            return page->Create(owner.GetSafeHwnd()) ? std::move(page) : nullptr;
        });
    std::vector<Reached> basic, advanced;
    bool advancedShown = false;
    std::vector<TimingBar> barsMoved;
    std::string barRead;
    ModalScript script(manager);
    script.Then(600, [&] {
        basic = WalkByTab(manager, "macro manager with the recorder");
        // Space on the switch shows the timing editor.
        ::SetFocus(manager.SwitchButton().GetSafeHwnd());
        PressKey(VK_SPACE);
        Pump(300);
        advancedShown = manager.AdvancedPage() != nullptr && ::IsWindowVisible(manager.AdvancedPage()->GetSafeHwnd());
        advanced = WalkByTab(manager, "macro manager with the timing editor");
        // In the timing list, Down selects the first bar, Right moves it later, Shift+Right makes
        // it longer; the selected bar reads as its key and times.
        auto* page = dynamic_cast<CMacroAdjustDlg*>(manager.AdvancedPage());
        ASSERT_NE(page, nullptr);
        for (const Reached& r : advanced) {
            if (r.name == "Key timing")
                ::SetFocus(r.window);
        }
        PressKey(VK_DOWN);
        PressKey(VK_RIGHT);
        SendKeyInput(VK_SHIFT, false);
        PressKey(VK_RIGHT);
        SendKeyInput(VK_SHIFT, true);
        Pump(300);
        SaveScreenPng(manager.GetWindowRect(), ScreenshotFolder() + "keyboard_timing_list.png");
        barsMoved = page->Model().List().Bars();
        IAccessible* list = nullptr;
        if (SUCCEEDED(::AccessibleObjectFromWindow(::GetFocus(), static_cast<DWORD>(OBJID_CLIENT),
                                                   __uuidof(IAccessible), reinterpret_cast<void**>(&list)))) {
            VARIANT focused;
            ::VariantInit(&focused);
            if (list->get_accFocus(&focused) == S_OK && focused.vt == VT_I4) {
                BSTR name = nullptr;
                if (list->get_accName(focused, &name) == S_OK)
                    barRead = Narrow(name);
                ::SysFreeString(name);
            }
            list->Release();
        }
    });
    script.Then(100, [&] { PressKey(VK_ESCAPE); });
    EXPECT_EQ(script.RunModal(), IDCANCEL);
    int lists = 0;
    for (const Reached& r : basic)
        lists += r.role == ROLE_SYSTEM_LIST;
    EXPECT_EQ(lists, 2) << "the macro list and the recorder's list";
    EXPECT_GE(basic.size(), 10u) << "set, list, add, delete, record, delay, list, switch, OK, cancel...";
    EXPECT_TRUE(advancedShown);
    EXPECT_GE(advanced.size(), basic.size()) << "the timing list, add key, delete, zoom out and in take the recorder's place";
    EXPECT_TRUE(std::any_of(advanced.begin(), advanced.end(),
                            [](const Reached& r) { return r.name == "Key timing" && r.role == ROLE_SYSTEM_LIST; }))
        << "the timing list is reached by Tab";
    ASSERT_EQ(barsMoved.size(), 1u);
    EXPECT_EQ(barsMoved[0], (TimingBar{4, 10, 140})) << "the bar of A (0 to 120 ms) moved by 10 ms and grew by 10 ms";
    EXPECT_EQ(barRead, "A: 10 to 140 ms");

    INT_PTR result = 0;
    {
        TimerLibrary timers;
        timers.push_back(TestTimer(180, "Tea"));
        CEditTimerDlg dialog(timers);
        const auto reached = WalkDialog(dialog, "edit timer dialog", result);
        EXPECT_GE(reached.size(), 5u) << "timer, name, length, apply, delete, OK, cancel";
        EXPECT_EQ(result, IDCANCEL);
    }
    std::vector<std::pair<std::unique_ptr<CWarnDlg>, std::string>> warnings;
    warnings.emplace_back(std::make_unique<CDeleteTimerDlg>(), "delete timer");
    warnings.emplace_back(std::make_unique<CDeleteMacroWarn>(), "delete macro");
    warnings.emplace_back(std::make_unique<CDeleteMacroSet>(), "delete macro set");
    warnings.emplace_back(std::make_unique<CWarnMacroName>(), "macro name warning");
    warnings.emplace_back(std::make_unique<CWarnMacroSet>(), "macro set warning");
    warnings.emplace_back(std::make_unique<CNoSelectMacroDelete>(), "nothing to delete warning");
    for (auto& [warning, what] : warnings)
        EXPECT_GE(WalkDialog(*warning, what, result).size(), 1u) << what;
}

TEST_F(KeyboardAccess, DialogsEveryControlNamedAndEscapeIsCancel)
{
    INT_PTR result = 0;
    {
        CWarnDlg dialog("skins\\skin_reset_warn.ini");
        const auto reached = WalkDialog(dialog, "reset warning", result);
        EXPECT_EQ(reached.size(), 3u);
        EXPECT_EQ(result, IDCANCEL);
    }
    {
        ButtonInfo info{};
        CKeyAssignmentDlg dialog(info);
        const auto reached = WalkDialog(dialog, "shortcut dialog", result);
        EXPECT_GE(reached.size(), 8u) << "OK, two cancels and five toggles";
        EXPECT_EQ(result, IDCANCEL);
    }
    {
        CGameProfileDlg dialog;
        const auto reached = WalkDialog(dialog, "game profile dialog", result);
        EXPECT_GE(reached.size(), 7u);
        EXPECT_EQ(result, IDCANCEL);
    }
    {
        CSelectPlayerDlg dialog(0);
        const auto reached = WalkDialog(dialog, "player dialog", result);
        EXPECT_GE(reached.size(), 3u);
        EXPECT_EQ(result, IDCANCEL);
    }
    {
        CCreateMacroSetDlg dialog;
        const auto reached = WalkDialog(dialog, "macro set dialog", result);
        EXPECT_GE(reached.size(), 3u);
        EXPECT_EQ(result, IDCANCEL);
    }
    {
        TimerLibrary timers;
        CCountdownTimerDlg dialog(timers);
        const auto reached = WalkDialog(dialog, "timer dialog", result);
        EXPECT_GE(reached.size(), 3u);
        EXPECT_EQ(result, IDCANCEL);
    }
}

// What the button's accessible object answers to a question that gives text (description,
// keyboard shortcut); empty when it gives none.
std::string AskText(HWND window, HRESULT (STDMETHODCALLTYPE IAccessible::*question)(VARIANT, BSTR*))
{
    IAccessible* object = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&object))) ||
        object == nullptr)
        return {};
    VARIANT self;
    ::VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    std::string result;
    if ((object->*question)(self, &text) == S_OK)
        result = Narrow(text);
    ::SysFreeString(text);
    object->Release();
    return result;
}

// Alt and a key typed with the keyboard.
void PressAltAnd(BYTE key)
{
    SendKeyInput(VK_MENU, false);
    PressKey(key);
    SendKeyInput(VK_MENU, true);
}

// The main window's picture buttons carry the language module's short captions: Apply is named
// with its caption, described by its hint and answers Alt and its letter as its shortcut; Alt and
// the update tab's letter, typed, shows the update page with the focus mark on the tab, and a
// letter no caption marks changes nothing.
TEST_F(KeyboardAccess, MainWindowButtonsNamedWithTheirCaptionsAndPressedByAltAndTheirLetter)
{
    LanguageModule language;
    ASSERT_TRUE(language.Load(folder.Path()));
    const std::string applyCaption = language.String(IDS_CAPTION_APPLY);
    const std::optional<char> applyKey = AccessKeyOf(applyCaption);
    const std::optional<char> updateKey = AccessKeyOf(language.String(IDS_CAPTION_UPDATE));
    const std::optional<char> keysKey = AccessKeyOf(language.String(IDS_CAPTION_TAB_KEYS));
    ASSERT_TRUE(applyKey && updateKey && keysKey) << "the test's language marks ASCII letters";
    char unmarked = 0;
    for (char c = 'A'; c <= 'Z' && unmarked == 0; ++c) {
        bool marked = false;
        for (UINT id = IDS_CAPTION_FIRST; id <= IDS_CAPTION_LAST; ++id)
            marked = marked || AccessKeyOf(language.String(id)) == c;
        if (!marked)
            unmarked = c;
    }
    ASSERT_NE(unmarked, 0);

    CConfigDlg main;
    Reached apply;
    std::string applyDescription, applyShortcut;
    MainPage afterUnmarked = MainPage::Help, afterUpdate = MainPage::Keys, afterKeys = MainPage::Update;
    std::string focusAfterUpdate;
    bool markAfterUpdate = false;
    ModalScript script(main);
    script.Then(600, [&] {
        for (HWND child = ::GetWindow(main.GetSafeHwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            auto* button = dynamic_cast<CBitmapBtn*>(CWnd::FromHandle(child));
            if (button != nullptr && button->Hint() == language.String(IDS_HINT_APPLY)) {
                apply = Ask(child);
                applyDescription = AskText(child, &IAccessible::get_accDescription);
                applyShortcut = AskText(child, &IAccessible::get_accKeyboardShortcut);
            }
        }
        PressAltAnd(static_cast<BYTE>(unmarked));
        Pump(300);
        afterUnmarked = main.CurrentPage();
        PressAltAnd(static_cast<BYTE>(*updateKey));
        Pump(600);
        afterUpdate = main.CurrentPage();
        HWND focus = ::GetFocus();
        focusAfterUpdate = Ask(focus).name;
        auto* tab = dynamic_cast<CBitmapBtn*>(CWnd::FromHandle(focus));
        markAfterUpdate = tab != nullptr && tab->KeyboardFocusShown();
        PressAltAnd(static_cast<BYTE>(*keysKey));
        Pump(300);
        afterKeys = main.CurrentPage();
    });
    script.Then(100, [&] { main.PostMessage(WM_CLOSE); });
    script.RunModal();

    std::string applyName = applyCaption;
    applyName.erase(std::remove(applyName.begin(), applyName.end(), '&'), applyName.end());
    EXPECT_EQ(apply.name, applyName);
    EXPECT_EQ(apply.role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(applyDescription, language.String(IDS_HINT_APPLY));
    EXPECT_EQ(applyShortcut, std::string("Alt+") + *applyKey);
    EXPECT_EQ(afterUnmarked, MainPage::Keys) << "Alt+" << unmarked << " marks no button";
    EXPECT_EQ(afterUpdate, MainPage::Update);
    std::string updateName = language.String(IDS_CAPTION_UPDATE);
    updateName.erase(std::remove(updateName.begin(), updateName.end(), '&'), updateName.end());
    EXPECT_EQ(focusAfterUpdate, updateName) << "the focus is on the tab pressed";
    EXPECT_TRUE(markAfterUpdate) << "the tab pressed shows the focus mark";
    EXPECT_EQ(afterKeys, MainPage::Keys);
}

} // namespace
