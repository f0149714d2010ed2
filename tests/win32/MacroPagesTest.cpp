// The macro manager's two pages as the user meets them: real skinned pages inside a plain window
// on Wine under Xvfb, driven with the real pointer and keyboard (SendInput), checked through what
// the windows show and what the macro holds. Screenshots are kept as macro_page_*.png.
#include "KeyCapture.h"
#include "MacroAdjustDlg.h"
#include "MacroRecorderDlg.h"
#include "ModalScript.h"
#include "ScreenShot.h"
#include "SkinDialog.h"
#include "TestLibraries.h"
#include "WarnDlg.h"
#include "WinKeyboardLayout.h"
#include "WinTestInput.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

constexpr POINT kPageAt{100, 80};

void Screenshot(const CWnd& window, const std::string& name)
{
    SaveScreenPng(window.GetWindowRect(), ScreenshotFolder() + "macro_page_" + name + ".png");
}

// The window a manager would be: a plain top-level window the page lives in.
class HostWindow : public CWnd {
public:
    HostWindow()
    {
        CreateEx(0, nullptr, "Macro pages", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, kPageAt.x, kPageAt.y, 480, 384,
                 nullptr, nullptr);
        ::SetForegroundWindow(m_hWnd);
    }
};

POINT ScreenPointOf(const CWnd& window, POINT client)
{
    ::ClientToScreen(window.GetSafeHwnd(), &client);
    return client;
}

void RightClick(POINT at)
{
    ::SetCursorPos(at.x, at.y);
    Pump(120);
    ::mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    ::mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
}

// Runs messages until the capture clock reaches deadlineUs, looking often, so that a key sent
// just before reaches the capture at once.
void PumpUntil(int64_t deadlineUs)
{
    do {
        PumpPending();
        ::Sleep(1);
    } while (KeyCaptureClockUs() < deadlineUs);
}

std::vector<std::string> ListTexts(const CListBoxEx& list)
{
    std::vector<std::string> texts;
    for (const ListRow& row : list.Model().Rows())
        texts.push_back(row.text);
    EXPECT_EQ(static_cast<LRESULT>(texts.size()), list.SendMessage(LB_GETCOUNT))
        << "rows drawn and rows of the list box";
    return texts;
}

// Centre of row `row` of the list on the screen.
POINT RowCentre(const CListBoxEx& list, int row)
{
    RECT item{};
    list.SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return ScreenPointOf(list, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
}

RECT RowRect(const CListBoxEx& list, int row)
{
    RECT item{};
    list.SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return item;
}

// Whether the whole of row `row` shows in the list.
bool RowInView(const CListBoxEx& list, int row)
{
    const RECT item = RowRect(list, row);
    return row >= 0 && row < list.Count() && item.top >= 0 && item.bottom <= list.GetClientRect().bottom;
}

int TopRow(const CListBoxEx& list)
{
    return static_cast<int>(list.SendMessage(LB_GETTOPINDEX));
}

// How many pixels differ between the pictures at the left of two rows in a capture of the list.
int PictureDifference(const ScreenCapture& shot, const CListBoxEx& list, int rowA, int rowB)
{
    const RECT a = RowRect(list, rowA);
    const RECT b = RowRect(list, rowB);
    int count = 0;
    for (LONG y = 0; y < a.bottom - a.top; ++y)
        for (LONG x = 5; x < 20; ++x)
            if (shot.At(ScreenPointOf(list, POINT{a.left + x, a.top + y})) !=
                shot.At(ScreenPointOf(list, POINT{b.left + x, b.top + y})))
                ++count;
    return count;
}

// Turns the wheel under the pointer by notches, away from the user when positive.
void Wheel(int notches)
{
    ::mouse_event(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(notches * WHEEL_DELTA), 0);
    Pump(150);
}

bool MenuShown()
{
    HWND menu = ::FindWindowA("#32768", nullptr);
    return menu != nullptr && ::IsWindowVisible(menu);
}

// Chooses from the event list's context menu as a user does: a click selects row `row`, a right
// click on it opens the menu, and once the menu shows, keys walk it and Return chooses. For row -1
// the right click goes to the middle of the list and selects nothing. whileOpen runs just before
// Return. The command has run when this returns.
void ChooseFromMenu(CListBoxEx& list, int row, std::initializer_list<BYTE> keys,
                    const std::function<void()>& whileOpen = {})
{
    const POINT at = row >= 0 ? RowCentre(list, row) : CentreOf(list);
    if (row >= 0)
        Click(at);
    bool chosen = false;
    TimedSteps walk;
    walk.ThenWhen(MenuShown, [] {});
    for (const BYTE key : keys)
        walk.Then(80, [key] { PressKey(key); });
    walk.Then(100, [&] {
        if (whileOpen)
            whileOpen();
        PressKey(VK_RETURN);
        chosen = true;
    });
    walk.Start();
    RightClick(at);
    EXPECT_TRUE(WaitUntil([&] { return chosen && !MenuShown(); }, 5000)) << "the menu opened and closed";
    Pump(300);
}

// How many pixels of rect (screen) differ between two captures.
int DifferingPixels(const ScreenCapture& a, const ScreenCapture& b, const RECT& rect)
{
    int count = 0;
    for (LONG y = rect.top; y < rect.bottom; ++y)
        for (LONG x = rect.left; x < rect.right; ++x)
            if (a.At(POINT{x, y}) != b.At(POINT{x, y}))
                ++count;
    return count;
}

class MacroPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSkinProgramFolder(TOLK_DIST);
        ::SetCursorPos(1200, 1000);
        m_library.push_back(TestSet("Games"));
        m_library.back()->Elements.push_back(TestMacro("Empty", 0));
        m_library.back()->Elements.push_back(TestMacro("Typed", 0, {{4, 0, 0}, {4, 1, 0}, {5, 0, 0}, {5, 1, 0}}));
    }
    void TearDown() override
    {
        StopKeyCapture();
        SetSkinProgramFolder("");
    }

    MacroRecord& Macro(int index) { return *m_library[0]->Elements.at(static_cast<std::size_t>(index)); }
    // Adds a macro of `count` events, A pressed and released in turn without pauses; its index.
    int AddTypedMacro(const std::string& name, int count)
    {
        auto macro = TestMacro(name, 0);
        for (int i = 0; i < count; ++i)
            macro->Events[i] = MacroEvent{4, static_cast<uint8_t>(i % 2), 0};
        macro->EventCount = count;
        m_library[0]->Elements.push_back(std::move(macro));
        return static_cast<int>(m_library[0]->Elements.size()) - 1;
    }

    MacroLibrary m_library;
    LastKeyMessage m_lastKey;
    WinKeyboardLayout m_layout;
};

TEST_F(MacroPages, Recorder_RecordsATypedWordWithThePausesBetweenTheKeys)
{
    HostWindow host;
    std::vector<bool> managerEnabled;
    CMacroRecorderDlg page(m_library, m_lastKey, [&](bool on) { managerEnabled.push_back(on); });
    ASSERT_TRUE(page.Create(host.GetSafeHwnd()));
    page.ShowWindow(SW_SHOW);
    page.LoadMacro(0, 0);
    Pump(200);
    EXPECT_TRUE(ListTexts(page.EventList()).empty());

    Click(CentreOf(page.DelaySwitch()));
    EXPECT_EQ(1, page.DelaySwitch().GetChecked());
    const RECT button = page.RecordButton().GetWindowRect();
    MoveMouse(POINT{1200, 1000});
    const ScreenCapture before(button);
    Click(CentreOf(page.RecordButton()));
    ASSERT_TRUE(page.Model().Recording());
    EXPECT_FALSE(page.DelaySwitch().IsWindowEnabled()) << "the switch stays as it is while recording";
    EXPECT_EQ(std::vector<bool>{false}, managerEnabled);

    // "hi", with the gaps a hand would leave; the gaps actually left are measured, since the test
    // cannot send keys to the microsecond.
    const struct {
        BYTE key;
        bool up;
        int gapAfterMs;
    } keys[] = {{'H', false, 37}, {'H', true, 80}, {'I', false, 37}, {'I', true, 0}};
    std::vector<int64_t> sentUs;
    int64_t next = KeyCaptureClockUs();
    for (const auto& k : keys) {
        PumpUntil(next);
        sentUs.push_back(KeyCaptureClockUs());
        SendKeyInput(k.key, k.up);
        next = sentUs.back() + k.gapAfterMs * 1000;
    }
    PumpUntil(KeyCaptureClockUs() + 200000);
    MoveMouse(POINT{1200, 1000});
    const ScreenCapture recording(button);
    Screenshot(page, "recorder_recording");
    EXPECT_GT(DifferingPixels(before, recording, button), 100) << "the record button shows the stop pictures";
    // Shown while recording: every key, each followed by the pause until the next one.
    const std::vector<std::string> shown = ListTexts(page.EventList());
    ASSERT_EQ(7u, shown.size());
    EXPECT_EQ("H Press", shown[0]);
    EXPECT_EQ("H Release", shown[2]);
    EXPECT_EQ("I Press", shown[4]);
    EXPECT_EQ("I Release", shown[6]);
    for (std::size_t row : {1u, 3u, 5u})
        EXPECT_EQ(" ms", shown[row].substr(shown[row].size() - 3)) << shown[row];
    EXPECT_EQ(0, Macro(0).EventCount) << "keys reach the macro when the recording stops";

    Click(CentreOf(page.RecordButton()));
    EXPECT_FALSE(page.Model().Recording());
    EXPECT_TRUE(page.DelaySwitch().IsWindowEnabled());
    EXPECT_EQ((std::vector<bool>{false, true}), managerEnabled);
    MoveMouse(POINT{1200, 1000});
    const ScreenCapture stopped(button);
    EXPECT_LT(DifferingPixels(before, stopped, button), 50) << "the record button has its own pictures back";

    ASSERT_EQ(4, Macro(0).EventCount);
    const uint8_t usages[] = {0x0B, 0x0B, 0x0C, 0x0C}; // H, I
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(usages[i], Macro(0).Events[i].Key);
        EXPECT_EQ(keys[i].up ? 1 : 0, Macro(0).Events[i].Action);
    }
    for (int i = 0; i < 3; ++i) {
        const double sentGapMs =
            static_cast<double>(sentUs[static_cast<std::size_t>(i) + 1] - sentUs[static_cast<std::size_t>(i)]) / 1000.0;
        EXPECT_NEAR(sentGapMs, Macro(0).Events[i].Delay, 4.0) << "pause after key " << i;
        EXPECT_NEAR(keys[i].gapAfterMs, Macro(0).Events[i].Delay, 6.0) << "pause after key " << i;
    }
    EXPECT_EQ(0, Macro(0).Events[3].Delay) << "the last key waits for no further key";
    Screenshot(page, "recorder_recorded");
}

TEST_F(MacroPages, Recorder_InsertsADelayFromTheContextMenuAndEditsItInPlace)
{
    HostWindow host;
    CMacroRecorderDlg page(m_library, m_lastKey);
    ASSERT_TRUE(page.Create(host.GetSafeHwnd()));
    page.ShowWindow(SW_SHOW);
    page.LoadMacro(0, 1);
    Pump(200);
    CListBoxEx& list = page.EventList();
    ASSERT_EQ((std::vector<std::string>{"A Press", "A Release", "B Press", "B Release"}), ListTexts(list));

    // "Insert Delay" on the release of A gives A's press a pause of 1 ms.
    ChooseFromMenu(list, 1, {VK_DOWN, VK_DOWN, VK_DOWN}, [&] { Screenshot(page, "recorder_menu"); });
    EXPECT_EQ((std::vector<std::string>{"A Press", "1 ms", "A Release", "B Press", "B Release"}), ListTexts(list));
    EXPECT_EQ(1, Macro(1).Events[0].Delay);
    EXPECT_EQ(4, Macro(1).EventCount);

    // "Edit Delay" on the pause row opens a digits-only edit over it.
    ChooseFromMenu(list, 1, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN});
    ASSERT_NE(nullptr, list.EditWindow());
    EXPECT_EQ(::GetFocus(), list.EditWindow());
    TypeText("25x0");
    Screenshot(page, "recorder_edit");
    PressKey(VK_RETURN);
    Pump(300);
    EXPECT_EQ(nullptr, list.EditWindow());
    EXPECT_EQ(250, Macro(1).Events[0].Delay) << "the letter was refused by the digits-only edit";
    EXPECT_EQ("250", ListTexts(list).at(1));

    // A pause above the longest one is held to it and shown as stored.
    ChooseFromMenu(list, 1, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN});
    ASSERT_NE(nullptr, list.EditWindow());
    TypeText("70000");
    PressKey(VK_RETURN);
    Pump(300);
    EXPECT_EQ(65535, Macro(1).Events[0].Delay);
    EXPECT_EQ("65535 ms", ListTexts(list).at(1));
}

TEST_F(MacroPages, Recorder_WithoutAMacroTheRecordButtonAndTheMenuOnlyWarn)
{
    HostWindow host;
    std::vector<bool> managerEnabled;
    CMacroRecorderDlg page(m_library, m_lastKey, [&](bool on) { managerEnabled.push_back(on); });
    ASSERT_TRUE(page.Create(host.GetSafeHwnd()));
    page.ShowWindow(SW_SHOW);
    Pump(200);
    const RECT button = page.RecordButton().GetWindowRect();
    MoveMouse(POINT{1200, 1000});
    const ScreenCapture idle(button);

    // Runs act and answers the warning it brings up with the warning's OK: "set" or "name" for the
    // two warnings, "" when none came up.
    auto warningOf = [&](const std::function<void()>& act, const std::string& shot) {
        std::string kind;
        bool modalOverHost = false;
        ModalScript script;
        script.ThenWhen([] { return ActiveDialog<CWarnDlg>() != nullptr; },
                        [&] {
                            auto* warning = ActiveDialog<CWarnDlg>();
                            ASSERT_NE(nullptr, warning);
                            kind = dynamic_cast<CWarnMacroSet*>(warning) != nullptr    ? "set"
                                   : dynamic_cast<CWarnMacroName*>(warning) != nullptr ? "name"
                                                                                       : "other";
                            modalOverHost = ::GetWindow(warning->GetSafeHwnd(), GW_OWNER) == host.GetSafeHwnd() &&
                                            !host.IsWindowEnabled();
                            RECT both = host.GetWindowRect();
                            const RECT over = warning->GetWindowRect();
                            ::UnionRect(&both, &both, &over);
                            SaveScreenPng(both, ScreenshotFolder() + "macro_page_" + shot + ".png");
                            Click(CentreOf(warning->Button(0)));
                        });
        script.RunModal([&] {
            act();
            Pump(200);
            return 0;
        });
        EXPECT_FALSE(script.GaveUp()) << "OK closes the warning";
        EXPECT_TRUE(kind.empty() || modalOverHost) << "the warning is modal over the window the page is in";
        EXPECT_TRUE(host.IsWindowEnabled());
        return kind;
    };

    // No set chosen, then a set without a macro: the record button warns of what is missing.
    EXPECT_EQ("set", warningOf([&] { Click(CentreOf(page.RecordButton())); }, "recorder_no_set"));
    page.LoadMacro(0, -1);
    EXPECT_EQ("name", warningOf([&] { Click(CentreOf(page.RecordButton())); }, "recorder_no_macro"));
    // "Start Record after" from the menu of the empty list does the same.
    EXPECT_EQ("name", warningOf(
                          [&] {
                              ChooseFromMenu(page.EventList(), -1, {VK_DOWN, VK_DOWN});
                          },
                          "recorder_menu_no_macro"));

    // Nothing records: no capture runs, the manager was never told of a recording, the button
    // kept its pictures, and a key typed now reaches no macro.
    EXPECT_FALSE(page.Model().Recording());
    EXPECT_EQ(nullptr, KeyCaptureTarget());
    EXPECT_TRUE(managerEnabled.empty());
    MoveMouse(POINT{1200, 1000});
    EXPECT_LT(DifferingPixels(idle, ScreenCapture(button), button), 50) << "the record button shows no stop pictures";
    SendKeyInput('C', false);
    SendKeyInput('C', true);
    Pump(300);
    EXPECT_EQ(0, page.EventList().Count());
    EXPECT_EQ(0, Macro(0).EventCount);
    EXPECT_EQ(4, Macro(1).EventCount);
}

TEST_F(MacroPages, Recorder_StopsByItselfAtTheFiveHundredTwelfthEvent)
{
    const int index = AddTypedMacro("Long", kMaxMacroEvents - 1);
    HostWindow host;
    std::vector<bool> managerEnabled;
    CMacroRecorderDlg page(m_library, m_lastKey, [&](bool on) { managerEnabled.push_back(on); });
    ASSERT_TRUE(page.Create(host.GetSafeHwnd()));
    page.ShowWindow(SW_SHOW);
    page.LoadMacro(0, index);
    Pump(200);
    CListBoxEx& list = page.EventList();
    ASSERT_EQ(kMaxMacroEvents - 1, list.Count());
    EXPECT_TRUE(RowInView(list, kMaxMacroEvents - 2)) << "the list opens at the macro's end";
    const RECT button = page.RecordButton().GetWindowRect();
    MoveMouse(POINT{1200, 1000});
    const ScreenCapture idle(button);

    // The record button would record the macro anew; "Start Record after" on the last event keeps it.
    ChooseFromMenu(list, kMaxMacroEvents - 2, {VK_DOWN, VK_DOWN});
    ASSERT_TRUE(page.Model().Recording());
    EXPECT_EQ(page.GetSafeHwnd(), KeyCaptureTarget());
    MoveMouse(POINT{1200, 1000});
    EXPECT_GT(DifferingPixels(idle, ScreenCapture(button), button), 100) << "the record button shows the stop pictures";

    SendKeyInput('C', false);
    EXPECT_TRUE(WaitUntil([&] { return !page.Model().Recording(); }, 3000)) << "the 512th event ends the recording";
    SendKeyInput('C', true);
    Pump(300);
    EXPECT_EQ(nullptr, KeyCaptureTarget());
    EXPECT_EQ((std::vector<bool>{false, true}), managerEnabled);
    EXPECT_TRUE(page.DelaySwitch().IsWindowEnabled());
    MoveMouse(POINT{1200, 1000});
    EXPECT_LT(DifferingPixels(idle, ScreenCapture(button), button), 50)
        << "the record button has its own pictures back";

    ASSERT_EQ(kMaxMacroEvents, Macro(index).EventCount);
    int changed = 0;
    for (int i = 0; i < kMaxMacroEvents - 1; ++i)
        changed += Macro(index).Events[i].Key != 4 || Macro(index).Events[i].Action != i % 2 ? 1 : 0;
    EXPECT_EQ(0, changed) << "the events before stay";
    EXPECT_EQ(0x06, Macro(index).Events[kMaxMacroEvents - 1].Key); // C
    EXPECT_EQ(0, Macro(index).Events[kMaxMacroEvents - 1].Action);
    ASSERT_EQ(kMaxMacroEvents, list.Count());
    EXPECT_EQ("C Press", ListTexts(list).back());
    EXPECT_TRUE(RowInView(list, kMaxMacroEvents - 1));
    Screenshot(page, "recorder_full");

    // A further key is not recorded.
    SendKeyInput('D', false);
    SendKeyInput('D', true);
    Pump(300);
    EXPECT_EQ(kMaxMacroEvents, list.Count());
    EXPECT_EQ(kMaxMacroEvents, Macro(index).EventCount);
}

TEST_F(MacroPages, Recorder_MouseButtonsFromTheMenuGoBeforeTheSelectedEventWhileThereIsRoom)
{
    const int nearlyFull = AddTypedMacro("Long", kMaxMacroEvents - 1);
    HostWindow host;
    CMacroRecorderDlg page(m_library, m_lastKey);
    ASSERT_TRUE(page.Create(host.GetSafeHwnd()));
    page.ShowWindow(SW_SHOW);
    page.LoadMacro(0, 1);
    Pump(200);
    CListBoxEx& list = page.EventList();

    // "Left Button" > "Click" on the press of B: the button goes down and up before it.
    ChooseFromMenu(list, 2, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN});
    EXPECT_EQ((std::vector<std::string>{"A Press", "A Release", "Left Button Press", "Left Button Release", "B Press",
                                        "B Release"}),
              ListTexts(list));
    ASSERT_EQ(6, Macro(1).EventCount);
    const uint8_t keys[] = {4, 4, kMouseLeft, kMouseLeft, 5, 5};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(keys[i], Macro(1).Events[i].Key);
        EXPECT_EQ(i % 2, Macro(1).Events[i].Action);
    }
    // The two mouse rows show the mouse picture, which is neither key picture.
    MoveMouse(POINT{1200, 1000});
    const ScreenCapture shot(list.GetWindowRect());
    EXPECT_EQ(0, PictureDifference(shot, list, 2, 3));
    EXPECT_GT(PictureDifference(shot, list, 2, 0), 20) << "the key press picture";
    EXPECT_GT(PictureDifference(shot, list, 3, 1), 20) << "the key release picture";
    Screenshot(page, "recorder_mouse");

    // With room for one more event, "Right Button" > "Down" takes it; "Click" then adds nothing.
    page.LoadMacro(0, nearlyFull);
    Pump(200);
    const int last = kMaxMacroEvents - 2;
    ChooseFromMenu(list, last, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT});
    ASSERT_EQ(kMaxMacroEvents, Macro(nearlyFull).EventCount);
    EXPECT_EQ(kMouseLeft + 1, Macro(nearlyFull).Events[last].Key);
    EXPECT_EQ(0, Macro(nearlyFull).Events[last].Action);
    EXPECT_EQ(4, Macro(nearlyFull).Events[last + 1].Key) << "the selected event follows";
    ASSERT_EQ(kMaxMacroEvents, list.Count());
    EXPECT_EQ("Right Button Press", ListTexts(list).at(static_cast<std::size_t>(last)));

    ChooseFromMenu(list, last,
                   {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN});
    EXPECT_EQ(kMaxMacroEvents, list.Count());
    EXPECT_EQ(kMaxMacroEvents, Macro(nearlyFull).EventCount);
    EXPECT_EQ("Right Button Press", ListTexts(list).at(static_cast<std::size_t>(last)));
}

TEST_F(MacroPages, Recorder_TheWheelScrollsALongMacroAndARecordedKeyComesIntoView)
{
    const int index = AddTypedMacro("Long", 300);
    HostWindow host;
    CMacroRecorderDlg page(m_library, m_lastKey);
    ASSERT_TRUE(page.Create(host.GetSafeHwnd()));
    page.ShowWindow(SW_SHOW);
    page.LoadMacro(0, index);
    Pump(200);
    CListBoxEx& list = page.EventList();
    ASSERT_TRUE(RowInView(list, 299));
    const int bottom = TopRow(list);
    ASSERT_GT(bottom, 200);

    // A row per notch, with the pointer over the list.
    Click(RowCentre(list, 290));
    Wheel(1);
    EXPECT_EQ(bottom - 1, TopRow(list));
    Wheel(3);
    EXPECT_EQ(bottom - 4, TopRow(list));
    Wheel(-2);
    EXPECT_EQ(bottom - 2, TopRow(list));

    // Recording before event 290, scrolled away from it: the key recorded there comes into view.
    ChooseFromMenu(list, 290, {VK_DOWN});
    ASSERT_TRUE(page.Model().Recording());
    Wheel(10);
    EXPECT_EQ(bottom - 12, TopRow(list));
    EXPECT_FALSE(RowInView(list, 290));
    SendKeyInput('C', false);
    EXPECT_TRUE(WaitUntil([&] { return list.Count() == 301; }, 3000));
    EXPECT_EQ("C Press", ListTexts(list).at(290));
    EXPECT_TRUE(RowInView(list, 290)) << "top row " << TopRow(list);
    Screenshot(page, "recorder_scrolled");
    SendKeyInput('C', true);
    EXPECT_TRUE(WaitUntil([&] { return list.Count() == 302; }, 3000));
    Click(CentreOf(page.RecordButton()));
    EXPECT_FALSE(page.Model().Recording());

    ASSERT_EQ(302, Macro(index).EventCount);
    EXPECT_EQ(0x06, Macro(index).Events[290].Key);
    EXPECT_EQ(0, Macro(index).Events[290].Action);
    EXPECT_EQ(0x06, Macro(index).Events[291].Key);
    EXPECT_EQ(1, Macro(index).Events[291].Action);
    EXPECT_EQ(4, Macro(index).Events[292].Key) << "event 290 follows the new ones";
}

// Slider `row`'s bar area point x, on the screen, at the row's middle.
POINT SliderPoint(CTimingList& list, int row, int x)
{
    return ScreenPointOf(list.Slider(row), POINT{x, 6});
}

// Presses the left button at from, moves the pointer to to in small steps and releases it there.
void Drag(POINT from, POINT to)
{
    ::SetCursorPos(from.x, from.y);
    Pump(150);
    ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    Pump(100);
    const int steps = 8;
    for (int i = 1; i <= steps; ++i) {
        ::SetCursorPos(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
        Pump(40);
    }
    ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    Pump(250);
}

class MacroAdjustPage : public MacroPages {
protected:
    void SetUp() override
    {
        MacroPages::SetUp();
        // A held 0..100 ms, B held 300..350 ms.
        m_library.back()->Elements.push_back(TestMacro("Bars", 0, {{4, 0, 100}, {4, 1, 200}, {5, 0, 50}, {5, 1, 0}}));
    }
};

TEST_F(MacroAdjustPage, DraggingABarEndWithThePointerMovesItAndCommitStoresTheTime)
{
    HostWindow host;
    CMacroAdjustDlg page(m_library);
    ASSERT_TRUE(page.Create(host.GetSafeHwnd()));
    page.ShowWindow(SW_SHOW);
    page.LoadMacro(0, 2);
    Pump(300);
    CTimingList& list = page.TimingList();
    EXPECT_EQ("A", list.Label(0).Text());
    EXPECT_EQ("B", list.Label(1).Text());
    EXPECT_EQ("", list.Label(2).Text());
    EXPECT_EQ("0", list.Scale()[0]);
    EXPECT_EQ("166", list.Scale()[1]);
    // A's bar reaches pixel 38 (100 ms of 1000 across 380 pixels); beyond it the row is empty.
    EXPECT_EQ(CTimingSlider::kBar, ScreenPixel(SliderPoint(list, 0, 20)));
    EXPECT_EQ(CTimingSlider::kBackground, ScreenPixel(SliderPoint(list, 0, 120)));
    Screenshot(page, "timing_loaded");

    Drag(SliderPoint(list, 0, 38), SliderPoint(list, 0, 190));
    EXPECT_EQ(CTimingSlider::kBar, ScreenPixel(SliderPoint(list, 0, 120))) << "the row shows the dragged end";
    EXPECT_EQ(CTimingSlider::kBackground, ScreenPixel(SliderPoint(list, 0, 200)));
    EXPECT_EQ((TimingBar{4, 0, 500}), page.Model().List().Bars().at(0)) << "pixel 190 of 380 is 500 of 1000 ms";
    EXPECT_EQ(200, Macro(2).Events[1].Delay) << "the macro waits for the commit";
    Screenshot(page, "timing_dragged");

    page.CommitBars();
    ASSERT_EQ(4, Macro(2).EventCount);
    const MacroEvent expected[] = {{4, 0, 300}, {5, 0, 50}, {5, 1, 150}, {4, 1, 0}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].Key, Macro(2).Events[i].Key);
        EXPECT_EQ(expected[i].Action, Macro(2).Events[i].Action);
        EXPECT_EQ(expected[i].Delay, Macro(2).Events[i].Delay);
    }
}

TEST_F(MacroAdjustPage, AddedBarTakesTheNextKeyPressedAndZoomAndDeleteChangeTheView)
{
    HostWindow host;
    std::vector<bool> managerEnabled;
    CMacroAdjustDlg page(m_library, [&](bool on) { managerEnabled.push_back(on); });
    ASSERT_TRUE(page.Create(host.GetSafeHwnd()));
    page.ShowWindow(SW_SHOW);
    page.LoadMacro(0, 2);
    Pump(300);
    CTimingList& list = page.TimingList();

    Click(CentreOf(page.Button(0)));
    EXPECT_FALSE(page.IsWindowEnabled()) << "the next key is the only input";
    EXPECT_EQ(std::vector<bool>{false}, managerEnabled);
    // The new bar copies the last bar's times and waits, shown as a white box in its label.
    EXPECT_EQ(RGB(255, 255, 255), ScreenPixel(ScreenPointOf(list.Label(2), POINT{10, 6})));
    Screenshot(page, "timing_waiting");
    SendKeyInput('C', false);
    SendKeyInput('C', true);
    Pump(300);
    EXPECT_TRUE(page.IsWindowEnabled());
    EXPECT_EQ((std::vector<bool>{false, true}), managerEnabled);
    EXPECT_EQ("C", list.Label(2).Text());
    EXPECT_EQ((TimingBar{6, 300, 350}), page.Model().List().Bars().at(2));
    Screenshot(page, "timing_added");

    Click(CentreOf(page.Button(2)));
    EXPECT_EQ(2000, page.Model().List().Span());
    EXPECT_EQ("333", list.Scale()[1]);
    Click(CentreOf(page.Button(3)));
    Click(CentreOf(page.Button(3)));
    EXPECT_EQ("83", list.Scale()[1]);

    // Clicking a label selects its bar; delete removes it and the rows below move up.
    Click(ScreenPointOf(list.Label(0), POINT{30, 6}));
    EXPECT_EQ(0, page.Model().List().Selected());
    Click(CentreOf(page.Button(1)));
    EXPECT_EQ("B", list.Label(0).Text());
    EXPECT_EQ("C", list.Label(1).Text());
    EXPECT_EQ("", list.Label(2).Text());

    page.CommitBars();
    ASSERT_EQ(4, Macro(2).EventCount);
    EXPECT_EQ(6, Macro(2).Events[1].Key) << "B and C are pressed together";
}

SCROLLBARINFO ScrollBarInfo(HWND bar)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ::GetScrollBarInfo(bar, OBJID_CLIENT, &info);
    return info;
}

// Whether the scroll bar shows that it can move: its arrows are not greyed.
bool ScrollBarUsable(HWND bar)
{
    return (ScrollBarInfo(bar).rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
}

// A point of the scroll bar, `along` pixels from its top or left end, across its middle.
POINT ScrollBarPoint(HWND bar, int along)
{
    const RECT r = ScrollBarInfo(bar).rcScrollBar;
    const bool vertical = r.bottom - r.top > r.right - r.left;
    return vertical ? POINT{(r.left + r.right) / 2, r.top + along} : POINT{r.left + along, (r.top + r.bottom) / 2};
}

// Presses the left button at from, moves to to and releases it there. A scroll bar follows the
// pointer in a loop of its own from the press to the release, so the steps are timed; a press
// held past about 200 ms would repeat.
void ScrollBarPress(POINT from, POINT to)
{
    ::SetCursorPos(from.x, from.y);
    Pump(150);
    TimedSteps press;
    press.Then(10, [] { ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0); });
    const int steps = from.x == to.x && from.y == to.y ? 0 : 6;
    for (int i = 1; i <= steps; ++i)
        press.Then(30,
                   [=] { ::SetCursorPos(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps); });
    press.Then(80, [] { ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0); });
    press.Start();
    Pump(600);
}

TEST_F(MacroAdjustPage, ScrollBarsMoveTheRowsThroughTheBarsAndTheTimeScaleThroughTime)
{
    // 25 keys A..Y, each held 50 ms, one every 100 ms: more bars than rows and 2.5 s of them.
    auto many = TestMacro("Many", 0);
    for (int i = 0; i < 25; ++i) {
        many->Events[2 * i] = MacroEvent{static_cast<uint8_t>(4 + i), 0, 50};
        many->Events[2 * i + 1] = MacroEvent{static_cast<uint8_t>(4 + i), 1, 50};
    }
    many->EventCount = 50;
    m_library.back()->Elements.push_back(std::move(many));
    HostWindow host;
    CMacroAdjustDlg page(m_library);
    ASSERT_TRUE(page.Create(host.GetSafeHwnd()));
    page.ShowWindow(SW_SHOW);
    page.LoadMacro(0, 2);
    Pump(300);
    CTimingList& list = page.TimingList();
    const HWND vertical = list.ScrollBar(true);
    const HWND horizontal = list.ScrollBar(false);
    // Two short bars fit: neither scroll bar offers to move.
    EXPECT_FALSE(ScrollBarUsable(vertical));
    EXPECT_FALSE(ScrollBarUsable(horizontal));

    page.LoadMacro(0, 3);
    Pump(300);
    EXPECT_TRUE(ScrollBarUsable(vertical));
    EXPECT_TRUE(ScrollBarUsable(horizontal));
    EXPECT_EQ("A", list.Label(0).Text());
    EXPECT_EQ("S", list.Label(18).Text());
    EXPECT_EQ(CTimingSlider::kBar, ScreenPixel(SliderPoint(list, 0, 10)));

    // The down arrow: the rows move by one bar; the top row shows B's bar, 100..150 ms.
    const int arrow = ::GetSystemMetrics(SM_CYVSCROLL);
    const RECT verticalRect = ScrollBarInfo(vertical).rcScrollBar;
    const int length = verticalRect.bottom - verticalRect.top;
    const POINT downArrow = ScrollBarPoint(vertical, length - arrow / 2);
    ScrollBarPress(downArrow, downArrow);
    EXPECT_EQ("B", list.Label(0).Text());
    EXPECT_EQ("T", list.Label(18).Text());
    EXPECT_EQ(CTimingSlider::kBackground, ScreenPixel(SliderPoint(list, 0, 10)));
    EXPECT_EQ(CTimingSlider::kBar, ScreenPixel(SliderPoint(list, 0, 45)));

    // The thumb dragged past the end shows the last 19 bars and stays at the end of its track.
    const SCROLLBARINFO one = ScrollBarInfo(vertical);
    ScrollBarPress(ScrollBarPoint(vertical, (one.xyThumbTop + one.xyThumbBottom) / 2),
                   ScrollBarPoint(vertical, length + 10));
    EXPECT_EQ("G", list.Label(0).Text());
    EXPECT_EQ("Y", list.Label(18).Text());
    EXPECT_NEAR(length - arrow, ScrollBarInfo(vertical).xyThumbBottom, 1) << "the thumb meets the down arrow";
    ScrollBarPress(downArrow, downArrow);
    EXPECT_EQ("G", list.Label(0).Text()) << "nothing lies further";

    // A click on the horizontal track right of the thumb moves a whole span: the scale starts at
    // 1000 ms and K's bar, 1000..1050 ms, stands at the left of its row (the fifth).
    RECT scaleStrip = list.GetClientRect();
    scaleStrip.bottom = 22;
    ::MapWindowPoints(list.GetSafeHwnd(), nullptr, reinterpret_cast<POINT*>(&scaleStrip), 2);
    const ScreenCapture before(scaleStrip);
    EXPECT_EQ(CTimingSlider::kBackground, ScreenPixel(SliderPoint(list, 4, 10)));
    const SCROLLBARINFO track = ScrollBarInfo(horizontal);
    const int trackEnd = track.rcScrollBar.right - track.rcScrollBar.left - ::GetSystemMetrics(SM_CXHSCROLL);
    const POINT right = ScrollBarPoint(horizontal, (track.xyThumbBottom + trackEnd) / 2);
    ScrollBarPress(right, right);
    EXPECT_EQ("1000", list.Scale()[0]);
    EXPECT_EQ("1166", list.Scale()[1]);
    EXPECT_GT(DifferingPixels(before, ScreenCapture(scaleStrip), scaleStrip), 20) << "the scale shows the new times";
    EXPECT_EQ(CTimingSlider::kBar, ScreenPixel(SliderPoint(list, 4, 10)));
    EXPECT_EQ(CTimingSlider::kBackground, ScreenPixel(SliderPoint(list, 0, 10)))
        << "G's bar lies before the shown time";
    Screenshot(page, "timing_scrolled");

    // Zoomed out, the same start shows twice the time.
    Click(CentreOf(page.Button(2)));
    EXPECT_EQ("1000", list.Scale()[0]);
    EXPECT_EQ("1333", list.Scale()[1]);
    EXPECT_EQ(CTimingSlider::kBar, ScreenPixel(SliderPoint(list, 18, 270))) << "Y's bar, 2400..2450 ms";
}

} // namespace
