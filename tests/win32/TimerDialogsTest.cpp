// The countdown timer dialogs and their spin field on the real window manager (Wine under Xvfb)
// with the shipped skins, driven with the real pointer and keyboard and checked through what the
// windows show and what ends up in "config\Timer.ini". Screenshots of every dialog are kept with
// the other window tests' ones, named timer_*.png.
#include "CountdownTimerDlg.h"
#include "DeleteTimerDlg.h"
#include "EditTimerDlg.h"
#include "ModalScript.h"
#include "SkinDialog.h"
#include "SpinWnd.h"
#include "TempFolder.h"
#include "TestLibraries.h"
#include "TimerDialogs.h"
#include "ScreenShot.h"
#include "WinTestInput.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

// Keeps a picture of the window as the screen shows it, as timer_<name>.png.
void Screenshot(const CWnd& window, const std::string& name)
{
    SaveScreenPng(window.GetWindowRect(), ScreenshotFolder() + "timer_" + name + ".png");
}

std::string TextOf(const CWnd& window)
{
    char text[256] = {};
    ::GetWindowTextA(window.GetSafeHwnd(), text, sizeof text);
    return text;
}

// Clicks into the field, wipes what it shows with the keys a user would press, and types text.
void Retype(const CWnd& field, const std::string& text)
{
    Click(CentreOf(field));
    PressKey(VK_END);
    for (std::size_t i = TextOf(field).size(); i > 0; --i)
        PressKey(VK_BACK);
    TypeText(text);
}

// The popup menu on the screen and its items; only from a step that runs inside the menu's loop.
HWND OpenMenuWindow()
{
    HWND menu = ::FindWindowA("#32768", nullptr);
    return menu != nullptr && ::IsWindowVisible(menu) ? menu : nullptr;
}

// Clicks item index of the open popup menu. The menu's own loop takes the pointer's messages, so
// nothing is pumped here.
bool ClickMenuItem(int index)
{
    HWND window = OpenMenuWindow();
    if (window == nullptr)
        return false;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(window, MN_GETHMENU, 0, 0));
    RECT item{};
    if (menu == nullptr || !::GetMenuItemRect(nullptr, menu, static_cast<UINT>(index), &item))
        return false;
    ::SetCursorPos((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    return true;
}

struct StoredTimer {
    std::string name;
    int seconds;
    bool operator==(const StoredTimer& other) const { return name == other.name && seconds == other.seconds; }
};

std::ostream& operator<<(std::ostream& out, const StoredTimer& timer)
{
    return out << '"' << timer.name << "\" " << timer.seconds << " s";
}

// The timers "config\Timer.ini" holds, as the next start of the program reads them.
std::vector<StoredTimer> StoredTimers(const std::string& folder)
{
    TimerLibrary timers;
    LoadTimerLibrary(timers, folder);
    std::vector<StoredTimer> stored;
    for (const auto& timer : timers)
        stored.push_back({std::string(FieldText(timer->Name)), timer->Seconds});
    return stored;
}

// "Count" of the file, read by the system's own INI reader; -1 when there is none.
int StoredCount(const std::string& folder)
{
    return static_cast<int>(::GetPrivateProfileIntA("Timer", "Count", -1, (folder + "config\\Timer.ini").c_str()));
}

TimerLibrary Timers(std::vector<StoredTimer> timers)
{
    TimerLibrary library;
    for (const StoredTimer& timer : timers)
        library.push_back(TestTimer(timer.seconds, timer.name));
    return library;
}

class TimerDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSkinProgramFolder(TOLK_DIST);
        ::SetCursorPos(1200, 1000);
    }
    void TearDown() override { SetSkinProgramFolder(""); }

    TempFolder m_folder;
};

TEST_F(TimerDialogs, CreateTimer_TypedNameAndSpunLengthAreSavedAndATakenNameKeepsTheDialogOpen)
{
    TimerLibrary timers = Timers({{"Tea", 180}});
    ASSERT_TRUE(SaveTimerLibrary(timers, m_folder.Path()));

    std::string startName = "-";
    std::string startLength;
    bool openAfterTakenName = false;
    std::vector<std::string> lengthsShown;
    ModalScript script;
    script.Then(400, [&] {
        auto* dialog = ActiveDialog<CCountdownTimerDlg>();
        ASSERT_NE(nullptr, dialog);
        startName = TextOf(dialog->NameField());
        startLength = TextOf(dialog->LengthField().Edit());
        Screenshot(*dialog, "count_down_open");
        // "Tea" in other letters and blanks is taken: OK does nothing.
        Click(CentreOf(dialog->NameField()));
        TypeText("  tEA ");
        Click(CentreOf(dialog->OkButton()));
        openAfterTakenName = ::IsWindowVisible(dialog->GetSafeHwnd()) != FALSE;

        Retype(dialog->NameField(), " Egg timer ");
        Click(CentreOf(dialog->LengthField().UpButton()));
        lengthsShown.push_back(TextOf(dialog->LengthField().Edit()));
        Click(CentreOf(dialog->LengthField().UpButton()));
        lengthsShown.push_back(TextOf(dialog->LengthField().Edit()));
        Click(CentreOf(dialog->LengthField().DownButton()));
        lengthsShown.push_back(TextOf(dialog->LengthField().Edit()));
        Retype(dialog->LengthField().Edit(), "245");
        Click(CentreOf(dialog->LengthField().DownButton()));
        lengthsShown.push_back(TextOf(dialog->LengthField().Edit()));
        Screenshot(*dialog, "count_down_filled");
        Click(CentreOf(dialog->OkButton()));
    });
    EXPECT_TRUE(script.RunModal([&] { return RunCreateTimerDialog(nullptr, timers, m_folder.Path()); }));
    EXPECT_FALSE(script.GaveUp());

    EXPECT_EQ("", startName);
    EXPECT_EQ("30", startLength) << "a new timer starts at 30 seconds";
    EXPECT_TRUE(openAfterTakenName) << "a taken name is refused without a word";
    EXPECT_EQ((std::vector<std::string>{"31", "32", "31", "244"}), lengthsShown);
    EXPECT_EQ(2, StoredCount(m_folder.Path()));
    EXPECT_EQ((std::vector<StoredTimer>{{"Tea", 180}, {"Egg timer", 244}}), StoredTimers(m_folder.Path()))
        << "the new timer comes last, its name trimmed";
}

TEST_F(TimerDialogs, CreateTimer_CancelCreatesNothingAndBothCancelButtonsClose)
{
    for (const std::size_t button : {std::size_t(0), std::size_t(1)}) {
        TimerLibrary timers = Timers({{"Tea", 180}});
        ModalScript script;
        script.Then(400, [&] {
            auto* dialog = ActiveDialog<CCountdownTimerDlg>();
            ASSERT_NE(nullptr, dialog);
            Click(CentreOf(dialog->NameField()));
            TypeText("Pasta");
            Click(CentreOf(dialog->CancelButton(button)));
        });
        EXPECT_FALSE(script.RunModal([&] { return RunCreateTimerDialog(nullptr, timers, m_folder.Path()); }));
        EXPECT_FALSE(script.GaveUp()) << "cancel button " << button << " closes the dialog";
        EXPECT_EQ(1u, timers.size());
        EXPECT_EQ(-1, StoredCount(m_folder.Path())) << "nothing is written";
    }
}

TEST_F(TimerDialogs, CreateTimer_TheFiftyFirstTimerCanBeCreatedAndNoFiftySecond)
{
    TimerLibrary timers = FullTimerLibrary();
    timers.pop_back();
    ASSERT_EQ(50u, timers.size());
    bool opened = false;
    ModalScript script;
    script.Then(400, [&] {
        auto* dialog = ActiveDialog<CCountdownTimerDlg>();
        ASSERT_NE(nullptr, dialog);
        opened = true;
        Click(CentreOf(dialog->NameField()));
        TypeText("Last one");
        Click(CentreOf(dialog->OkButton()));
    });
    EXPECT_TRUE(script.RunModal([&] { return RunCreateTimerDialog(nullptr, timers, m_folder.Path()); }));
    EXPECT_TRUE(opened);
    EXPECT_EQ(51, StoredCount(m_folder.Path()));
    EXPECT_EQ((StoredTimer{"Last one", 30}), StoredTimers(m_folder.Path()).back());

    // With 51 timers the command opens nothing at all (a dialog would run the step in its loop).
    ModalScript second;
    bool secondOpened = false;
    second.Then(400, [&] { secondOpened = ::GetActiveWindow() != nullptr; });
    EXPECT_FALSE(second.RunModal([&] { return RunCreateTimerDialog(nullptr, timers, m_folder.Path()); }));
    EXPECT_FALSE(secondOpened);
    EXPECT_EQ(51u, timers.size());
    EXPECT_EQ(51, StoredCount(m_folder.Path()));
}

TEST_F(TimerDialogs, EditTimer_ChosenFromTheMenuRenamedAndLengthenedThenSaved)
{
    TimerLibrary timers = Timers({{"Alpha", 60}, {"Bravo", 90}, {"Charlie", 120}});
    ASSERT_TRUE(SaveTimerLibrary(timers, m_folder.Path()));

    CEditTimerDlg* dialog = nullptr;
    std::vector<std::string> shown; // name field, length field and the menu button's caption
    auto note = [&] {
        shown.push_back(TextOf(dialog->NameField()) + " | " + TextOf(dialog->LengthField().Edit()) + " | " +
                        dialog->TimerButton().Caption());
    };
    bool menuOpen = false;
    int menuItems = 0;
    ModalScript script;
    script.ThenOpening(400, [&] {
        dialog = ActiveDialog<CEditTimerDlg>();
        ASSERT_NE(nullptr, dialog);
        note();
        Screenshot(*dialog, "edit_timer_open");
        Click(CentreOf(dialog->TimerButton())); // the menu's loop runs the next step
    });
    script.Then(700, [&] {
        HWND menu = OpenMenuWindow();
        menuOpen = menu != nullptr;
        if (menu == nullptr)
            return;
        menuItems = ::GetMenuItemCount(reinterpret_cast<HMENU>(::SendMessageA(menu, MN_GETHMENU, 0, 0)));
        RECT area = dialog->GetWindowRect();
        RECT menuRect{};
        ::GetWindowRect(menu, &menuRect);
        area.bottom = std::max(area.bottom, menuRect.bottom);
        area.right = std::max(area.right, menuRect.right);
        SaveScreenPng(area, ScreenshotFolder() + "timer_edit_timer_menu.png");
        ClickMenuItem(2);
    });
    script.Then(600, [&] {
        note();
        // Another timer's name changes nothing, not even the length.
        Retype(dialog->NameField(), "bravo");
        Retype(dialog->LengthField().Edit(), "300");
        Click(CentreOf(dialog->ApplyButton()));
        note();
        Retype(dialog->NameField(), " Coffee ");
        Retype(dialog->LengthField().Edit(), "75");
        Click(CentreOf(dialog->ApplyButton()));
        note();
        Screenshot(*dialog, "edit_timer_applied");
        Click(CentreOf(dialog->OkButton()));
    });
    EXPECT_TRUE(script.RunModal([&] { return RunEditTimerDialog(nullptr, timers, m_folder.Path()); }));
    EXPECT_FALSE(script.GaveUp());

    EXPECT_TRUE(menuOpen) << "the timer button opens the timer menu";
    EXPECT_EQ(3, menuItems) << "one item per timer";
    EXPECT_EQ((std::vector<std::string>{"Alpha | 60 | Alpha", "Charlie | 120 | Charlie", "bravo | 300 | Charlie",
                                        "Coffee | 75 | Coffee"}),
              shown);
    EXPECT_EQ((std::vector<StoredTimer>{{"Alpha", 60}, {"Bravo", 90}, {"Coffee", 75}}), StoredTimers(m_folder.Path()));
}

TEST_F(TimerDialogs, EditTimer_DeleteAsksFirstThenShowsTheNextTimerAndFinallyNone)
{
    TimerLibrary timers = Timers({{"Alpha", 60}, {"Bravo", 90}});
    ASSERT_TRUE(SaveTimerLibrary(timers, m_folder.Path()));

    CEditTimerDlg* dialog = nullptr;
    std::vector<std::string> shown;
    std::vector<bool> asked;
    auto note = [&] { shown.push_back(TextOf(dialog->NameField()) + " | " + TextOf(dialog->LengthField().Edit())); };
    // Answers the confirmation, which runs its own loop, with button 0 (delete) or 1 (cancel).
    auto answer = [&](std::size_t button, const char* shot) {
        return [&asked, button, shot] {
            auto* confirmation = ActiveDialog<CDeleteTimerDlg>();
            asked.push_back(confirmation != nullptr);
            if (confirmation == nullptr)
                return;
            if (shot != nullptr)
                Screenshot(*confirmation, shot);
            Click(CentreOf(confirmation->Button(button)));
        };
    };
    ModalScript script;
    script.ThenOpening(400, [&] {
        dialog = ActiveDialog<CEditTimerDlg>();
        ASSERT_NE(nullptr, dialog);
        Click(CentreOf(dialog->DeleteButton()));
    });
    script.Then(600, answer(1, "delete_timer_confirmation"));
    script.ThenOpening(600, [&] {
        note();
        Click(CentreOf(dialog->DeleteButton()));
    });
    script.Then(600, answer(0, nullptr));
    script.ThenOpening(600, [&] {
        note();
        Click(CentreOf(dialog->DeleteButton()));
    });
    script.Then(600, answer(0, nullptr));
    script.Then(600, [&] {
        note();
        Screenshot(*dialog, "edit_timer_all_deleted");
        // Nothing is left to delete: no confirmation comes.
        Click(CentreOf(dialog->DeleteButton()));
        asked.push_back(ActiveDialog<CDeleteTimerDlg>() != nullptr);
        Click(CentreOf(dialog->CancelButton(0)));
    });
    EXPECT_FALSE(script.RunModal([&] { return RunEditTimerDialog(nullptr, timers, m_folder.Path()); })) << "cancelled";
    EXPECT_FALSE(script.GaveUp());

    EXPECT_EQ((std::vector<bool>{true, true, true, false}), asked);
    EXPECT_EQ((std::vector<std::string>{"Alpha | 60", "Bravo | 90", " | 10"}), shown);
    EXPECT_TRUE(timers.empty()) << "deletions stay in memory after Cancel";
    EXPECT_EQ((std::vector<StoredTimer>{{"Alpha", 60}, {"Bravo", 90}}), StoredTimers(m_folder.Path()))
        << "and only a save with OK writes them";
}

TEST_F(TimerDialogs, EditTimer_OpensOnlyWithATimer)
{
    TimerLibrary timers;
    ModalScript script;
    bool opened = false;
    script.Then(400, [&] { opened = ::GetActiveWindow() != nullptr; });
    EXPECT_FALSE(script.RunModal([&] { return RunEditTimerDialog(nullptr, timers, m_folder.Path()); }));
    EXPECT_FALSE(opened);
    EXPECT_EQ(-1, StoredCount(m_folder.Path()));
}

// A window that keeps what its spin field reports.
class SpinHost : public BaseWindow<SpinHost> {
public:
    static MessageSpan MessageEntries()
    {
        static constexpr MessageEntry kEntries[] = {
            OnMessage<WM_SPIN_VALUE, &SpinHost::OnSpinValue>(),
        };
        return kEntries;
    }

    std::vector<std::pair<int, LPARAM>> m_reports;

private:
    LRESULT OnSpinValue(WPARAM value, LPARAM id)
    {
        m_reports.emplace_back(static_cast<int>(value), id);
        return 0;
    }
};

class SpinField : public TimerDialogs {
protected:
    void SetUp() override
    {
        TimerDialogs::SetUp();
        ASSERT_TRUE(m_host.CreateEx(0, nullptr, "Spin", WS_POPUP | WS_VISIBLE | WS_BORDER, 300, 300, 200, 60, nullptr,
                                    nullptr));
        ASSERT_TRUE(m_spin.Create(RECT{20, 16, 140, 42}, m_host.GetSafeHwnd(), kSpinId));
        m_spin.SetRange(10, 999);
        ::SetForegroundWindow(m_host.GetSafeHwnd());
        Pump(200);
    }

    // The field shows value; the reports so far are forgotten.
    void Start(int value)
    {
        m_spin.SetValue(value);
        Pump(100);
        m_host.m_reports.clear();
    }
    std::string Shown() const { return TextOf(const_cast<CSpinWnd&>(m_spin).Edit()); }
    std::pair<int, LPARAM> LastReport() const
    {
        return m_host.m_reports.empty() ? std::pair<int, LPARAM>{-1, 0} : m_host.m_reports.back();
    }

    static constexpr UINT kSpinId = 7;
    SpinHost m_host;
    CSpinWnd m_spin;
};

TEST_F(SpinField, UpAndDownStopAtTheRangeAndReportWithTheFieldsId)
{
    Start(998);
    Click(CentreOf(m_spin.UpButton()));
    EXPECT_EQ("999", Shown());
    EXPECT_EQ((std::pair<int, LPARAM>{999, kSpinId}), LastReport());
    Click(CentreOf(m_spin.UpButton()));
    EXPECT_EQ("999", Shown()) << "up on the maximum stays there";
    EXPECT_EQ(999, m_spin.Value());

    Start(11);
    Click(CentreOf(m_spin.DownButton()));
    EXPECT_EQ("10", Shown());
    EXPECT_EQ((std::pair<int, LPARAM>{10, kSpinId}), LastReport());
    Click(CentreOf(m_spin.DownButton()));
    EXPECT_EQ("10", Shown()) << "down on the minimum stays there";
    EXPECT_EQ(10, LastReport().first);
}

TEST_F(SpinField, TypedThousandsAreCutToTheMaximumAndEnterBringsSmallNumbersUp)
{
    Start(30);
    Retype(m_spin.Edit(), "1,500");
    EXPECT_EQ("1,500", Shown()) << "typing leaves the text as typed";
    EXPECT_EQ((std::pair<int, LPARAM>{999, kSpinId}), LastReport()) << "the separator is dropped, 1500 cut to 999";
    PressKey(VK_RETURN);
    Pump(300);
    EXPECT_EQ("999", Shown()) << "Enter shows the number it took";
    EXPECT_EQ(999, LastReport().first);

    Retype(m_spin.Edit(), "5");
    EXPECT_EQ(5, LastReport().first) << "typing holds the number to the maximum only";
    PressKey(VK_RETURN);
    Pump(300);
    EXPECT_EQ("10", Shown());
    EXPECT_EQ(10, LastReport().first);
    Screenshot(m_host, "spin_field");

    // A letter cannot be typed; 0 and Enter change nothing.
    Retype(m_spin.Edit(), "0x");
    EXPECT_EQ("0", Shown());
    m_host.m_reports.clear();
    PressKey(VK_RETURN);
    Pump(300);
    EXPECT_EQ("0", Shown());
    EXPECT_TRUE(m_host.m_reports.empty());
}

} // namespace
