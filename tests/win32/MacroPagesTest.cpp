// The macro manager's two pages as the user meets them: real skinned pages inside a plain window
// on Wine under Xvfb, driven with the real pointer and keyboard (SendInput), checked through what
// the windows show and what the macro holds. Screenshots are kept as macro_page_*.png.
#include "KeyCapture.h"
#include "MacroAdjustDlg.h"
#include "MacroRecDlg.h"
#include "ScreenShot.h"
#include "SkinDialog.h"
#include "TestLibraries.h"
#include "WinKeyboardLayout.h"
#include "WinTestInput.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
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
    EXPECT_EQ(static_cast<LRESULT>(texts.size()), list.SendMessage(LB_GETCOUNT)) << "rows drawn and rows of the list box";
    return texts;
}

// Centre of row `row` of the list on the screen.
POINT RowCentre(const CListBoxEx& list, int row)
{
    RECT item{};
    list.SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return ScreenPointOf(list, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
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

    tagElement& Macro(int index) { return *m_library[0]->Elements.at(static_cast<std::size_t>(index)); }

    MacroLibrary m_library;
    LastKeyMessage m_lastKey;
    WinKeyboardLayout m_layout;
};

TEST_F(MacroPages, Recorder_RecordsATypedWordWithThePausesBetweenTheKeys)
{
    HostWindow host;
    std::vector<bool> managerEnabled;
    CMacroRecDlg page(m_library, m_lastKey, [&](bool on) { managerEnabled.push_back(on); });
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
        const double sentGapMs = static_cast<double>(sentUs[static_cast<std::size_t>(i) + 1] - sentUs[static_cast<std::size_t>(i)]) / 1000.0;
        EXPECT_NEAR(sentGapMs, Macro(0).Events[i].Delay, 4.0) << "pause after key " << i;
        EXPECT_NEAR(keys[i].gapAfterMs, Macro(0).Events[i].Delay, 6.0) << "pause after key " << i;
    }
    EXPECT_EQ(0, Macro(0).Events[3].Delay) << "the last key waits for no further key";
    Screenshot(page, "recorder_recorded");
}

TEST_F(MacroPages, Recorder_InsertsADelayFromTheContextMenuAndEditsItInPlace)
{
    HostWindow host;
    CMacroRecDlg page(m_library, m_lastKey);
    ASSERT_TRUE(page.Create(host.GetSafeHwnd()));
    page.ShowWindow(SW_SHOW);
    page.LoadMacro(0, 1);
    Pump(200);
    CListBoxEx& list = page.EventList();
    ASSERT_EQ((std::vector<std::string>{"A Press", "A Release", "B Press", "B Release"}), ListTexts(list));

    // "Insert Delay" on the release of A gives A's press a pause of 1 ms.
    Click(RowCentre(list, 1));
    TimedSteps insert;
    for (int i = 0; i < 3; ++i)
        insert.Then(i == 0 ? 400 : 80, [] { PressKey(VK_DOWN); });
    insert.Then(150, [&] { Screenshot(page, "recorder_menu"); });
    insert.Then(50, [] { PressKey(VK_RETURN); });
    insert.Start();
    RightClick(RowCentre(list, 1));
    Pump(1200);
    EXPECT_EQ((std::vector<std::string>{"A Press", "1 ms", "A Release", "B Press", "B Release"}), ListTexts(list));
    EXPECT_EQ(1, Macro(1).Events[0].Delay);
    EXPECT_EQ(4, Macro(1).EventCount);

    // "Edit Delay" on the pause row opens a digits-only edit over it.
    Click(RowCentre(list, 1));
    TimedSteps edit;
    for (int i = 0; i < 4; ++i)
        edit.Then(i == 0 ? 400 : 80, [] { PressKey(VK_DOWN); });
    edit.Then(100, [] { PressKey(VK_RETURN); });
    edit.Start();
    RightClick(RowCentre(list, 1));
    Pump(1200);
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
    Click(RowCentre(list, 1));
    TimedSteps again;
    for (int i = 0; i < 4; ++i)
        again.Then(i == 0 ? 400 : 80, [] { PressKey(VK_DOWN); });
    again.Then(100, [] { PressKey(VK_RETURN); });
    again.Start();
    RightClick(RowCentre(list, 1));
    Pump(1200);
    ASSERT_NE(nullptr, list.EditWindow());
    TypeText("70000");
    PressKey(VK_RETURN);
    Pump(300);
    EXPECT_EQ(65535, Macro(1).Events[0].Delay);
    EXPECT_EQ("65535 ms", ListTexts(list).at(1));
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

} // namespace
