// The skinned frame and controls on the real window manager (Wine under Xvfb): what the user sees
// on the screen and what the windows tell each other, driven with the real pointer and keyboard.
#include "WinTestInput.h"
#include "BitmapBtn.h"
#include "BmpEdit.h"
#include "LineWnd.h"
#include "TextLabel.h"
#include "DialogIds.h"
#include "SkinDialog.h"
#include "SkinMessages.h"
#include "SkinPicture.h"
#include "TempFolder.h"
#include "UniqueHandle.h"
#include "WarnDlg.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// Flat colours of the four whole-window pictures: a button shows the colour of the picture it
// draws, so the screen tells which one it is.
constexpr COLORREF kMainColour = RGB(120, 30, 30);
constexpr COLORREF kOverColour = RGB(30, 140, 30);
constexpr COLORREF kDownColour = RGB(30, 30, 160);
constexpr COLORREF kDisabledColour = RGB(90, 90, 90);

void WriteBmp(const std::string& path, int width, int height, const std::function<COLORREF(int, int)>& colourAt)
{
    const int stride = (width * 3 + 3) & ~3;
    std::string pixels(static_cast<size_t>(stride) * height, '\0');
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colourAt(x, y);
            char* p = &pixels[static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3];
            p[0] = static_cast<char>(GetBValue(c));
            p[1] = static_cast<char>(GetGValue(c));
            p[2] = static_cast<char>(GetRValue(c));
        }
    }
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
}

// A skin of width x height whose mask cuts 10 x 10 corners off the top left and marks the middle
// of the right edge (254, 255, 255), with the given "BUTTONPOS" lines.
void WriteSkin(const TempFolder& folder, const std::string& file, int width, int height,
               const std::vector<std::string>& buttonLines, bool withOver = true)
{
    ::CreateDirectoryA((folder / "skins").c_str(), nullptr);
    const std::string stem = file.substr(0, file.find('.'));
    WriteBmp(folder / ("skins\\" + stem + "_mask.bmp"), width, height, [&](int x, int y) {
        if (x < 10 && y < 10)
            return RGB(255, 255, 255);
        if (x == width - 1 && y == height / 2)
            return RGB(254, 255, 255);
        return RGB(0, 0, 0);
    });
    WriteBmp(folder / ("skins\\" + stem + "_main.bmp"), width, height, [](int, int) { return kMainColour; });
    if (withOver)
        WriteBmp(folder / ("skins\\" + stem + "_over.bmp"), width, height, [](int, int) { return kOverColour; });
    WriteBmp(folder / ("skins\\" + stem + "_down.bmp"), width, height, [](int, int) { return kDownColour; });
    WriteBmp(folder / ("skins\\" + stem + "_disabled.bmp"), width, height, [](int, int) { return kDisabledColour; });
    std::string ini = "[Screen]\r\nMask=" + stem + "_mask.bmp\r\nMain=" + stem + "_main.bmp\r\nOver=" + stem +
                      "_over.bmp\r\nDown=" + stem + "_down.bmp\r\nDisabled=" + stem +
                      "_disabled.bmp\r\n[BUTTONPOS]\r\n";
    for (const std::string& line : buttonLines)
        ini += line + "\r\n";
    WriteBytes(folder / ("skins\\" + file), ini);
}

// Steps run from the message loop of a modal dialog, each after its delay.
class Script {
public:
    void Then(DWORD delayMs, std::function<void()> step) { m_steps.emplace_back(delayMs, std::move(step)); }
    void Start()
    {
        s_current = this;
        m_next = 0;
        Arm();
    }

private:
    void Arm()
    {
        if (m_next < m_steps.size())
            m_timer = ::SetTimer(nullptr, 0, m_steps[m_next].first, &Script::OnTimer);
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(nullptr, id);
        Script* script = s_current;
        if (script == nullptr || script->m_next >= script->m_steps.size())
            return;
        auto step = script->m_steps[script->m_next++].second;
        step();
        script->Arm();
    }

    static inline Script* s_current = nullptr;
    std::vector<std::pair<DWORD, std::function<void()>>> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
};

// A window with a push button (key 1), a toggle (key 2) and an edit field (key 3) that records
// what its controls tell it.
class TestSkinWindow : public BaseWindow<TestSkinWindow, CSkinDialog> {
public:
    static MessageSpan MessageEntries();

    explicit TestSkinWindow(std::string skin = "skins\\skin_test.ini") : BaseWindow(IDD_SKIN_POPUP, std::move(skin)) {}

    CBitmapBtn m_push;
    CBitmapBtn m_toggle;
    CBmpEdit m_edit;
    std::vector<std::pair<WPARAM, LPARAM>> hovers;
    std::vector<WPARAM> editNotifications;
    std::vector<std::string> events;

protected:
    BOOL LoadSkin() override
    {
        events.push_back("LoadSkin");
        SkinLoader skin(*this, SkinFileName());
        skin.Button(m_push, 1);
        skin.Button(m_toggle, 2);
        m_push.SetTag(101);
        m_toggle.SetTag(102);
        m_toggle.SetToggleMode(1);
        m_edit.Create(SkinLoader::RectOf(skin.Pos(3)), m_hWnd);
        return TRUE;
    }
    BOOL OnInitDialog() override
    {
        events.push_back("InitDialog");
        return CSkinDialog::OnInitDialog();
    }

private:
    void OnPush() { events.push_back("push"); }
    void OnToggle() { events.push_back(m_toggle.GetChecked() ? "toggle on" : "toggle off"); }
    LRESULT OnHover(WPARAM wParam, LPARAM lParam)
    {
        hovers.emplace_back(wParam, lParam);
        return 0;
    }
    LRESULT OnEditNotify(WPARAM wParam, LPARAM)
    {
        editNotifications.push_back(wParam);
        return 0;
    }
};

MessageSpan TestSkinWindow::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnControl<&TestSkinWindow::m_push, &TestSkinWindow::OnPush>(),
        OnControl<&TestSkinWindow::m_toggle, &TestSkinWindow::OnToggle>(),
        OnMessage<WM_BUTTON_HOVER, &TestSkinWindow::OnHover>(),
        OnMessage<WM_EDIT_NOTIFY, &TestSkinWindow::OnEditNotify>(),
    };
    return kEntries;
}

// A skinned window with WM_CREATE and WM_DESTROY entries of its own, as an editor window has.
class OwnLifecycleWindow : public BaseWindow<OwnLifecycleWindow, TestSkinWindow> {
public:
    static MessageSpan MessageEntries()
    {
        static constexpr MessageEntry kEntries[] = {
            OnWmCreate<&OwnLifecycleWindow::OnOwnCreate>(),
            OnWmDestroy<&OwnLifecycleWindow::OnOwnDestroy>(),
        };
        return kEntries;
    }
    bool backgroundAtOwnCreate = false;

private:
    int OnOwnCreate(CREATESTRUCTA& create)
    {
        events.push_back("own create");
        backgroundAtOwnCreate = Background() != nullptr;
        return CWnd::OnCreate(create);
    }
    void OnOwnDestroy()
    {
        events.push_back("own destroy");
        CWnd::OnDestroy();
    }
};

// Stands in for the main window: collects WM_STATUS_HINT.
class HintProbe : public BaseWindow<HintProbe> {
public:
    static MessageSpan MessageEntries();

    bool Create() { return CreateEx(0, nullptr, "hint probe", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr); }
    std::vector<WPARAM> states;

private:
    LRESULT OnStatusHint(WPARAM wParam, LPARAM)
    {
        states.push_back(wParam);
        return 0;
    }
};
MessageSpan HintProbe::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {OnMessage<WM_STATUS_HINT, &HintProbe::OnStatusHint>()};
    return kEntries;
}

// The x of the leftmost pixel of row y (screen) in [left, right) that is not colour; -1 when none.
int LeftmostOther(int y, int left, int right, COLORREF colour)
{
    for (int x = left; x < right; ++x) {
        if (ScreenPixel(POINT{x, y}) != colour)
            return x;
    }
    return -1;
}

class SkinWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSkinProgramFolder(m_folder.Path());
        WriteSkin(m_folder, "skin_test.ini", 600, 400,
                  {"1=Push,40,300,100,30,Push me,NO", "2=Toggle,200,300,100,30,  Switch it,NO",
                   "3=Edit,40,100,200,22,Type here,NO"});
        ::SetCursorPos(1000, 900);
    }
    void TearDown() override
    {
        SetHintWindow(nullptr);
        SetSkinProgramFolder("");
    }

    TempFolder m_folder;
};

TEST_F(SkinWindows, WindowTakesTheMainPictureSizeAtTheOriginAndTheMaskOutline)
{
    TestSkinWindow window;
    ASSERT_TRUE(window.Create(nullptr));
    const RECT rect = window.GetWindowRect();
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(600, rect.right - rect.left);
    EXPECT_EQ(400, rect.bottom - rect.top);
    // The skin is loaded in WM_CREATE, before the dialog's own initialisation.
    EXPECT_EQ((std::vector<std::string>{"LoadSkin", "InitDialog"}), window.events);

    UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(ERROR, ::GetWindowRgn(window.GetSafeHwnd(), region.Get()));
    EXPECT_FALSE(::PtInRegion(region.Get(), 5, 5)) << "pure white lies outside";
    EXPECT_TRUE(::PtInRegion(region.Get(), 10, 5));
    EXPECT_TRUE(::PtInRegion(region.Get(), 599, 200)) << "(254, 255, 255) is inside";
    EXPECT_TRUE(::PtInRegion(region.Get(), 300, 200));
}

TEST_F(SkinWindows, AWindowWithItsOwnCreateAndDestroyStillLoadsAndFreesItsSkin)
{
    OwnLifecycleWindow window;
    ASSERT_TRUE(window.Create(nullptr));
    EXPECT_TRUE(window.backgroundAtOwnCreate) << "the skin was loaded before the window's own handler ran";
    EXPECT_NE(window.Background(), nullptr);
    EXPECT_TRUE(window.HasRegion());
    EXPECT_NE(window.m_push.GetSafeHwnd(), nullptr) << "LoadSkin made the controls";
    const RECT rect = window.GetWindowRect();
    EXPECT_EQ(rect.right - rect.left, 600);

    window.DestroyWindow();
    EXPECT_EQ(window.events.back(), "own destroy");
    EXPECT_EQ(window.Background(), nullptr) << "freed by the frame's WM_DESTROY";
    EXPECT_EQ(window.Mask(), nullptr);
}

TEST_F(SkinWindows, MissingSkinFileOrPictureStillOpensTheWindow)
{
    TestSkinWindow noSkin("skins\\skin_absent.ini");
    ASSERT_TRUE(noSkin.Create(nullptr));
    EXPECT_TRUE(::IsWindow(noSkin.GetSafeHwnd()));
    EXPECT_FALSE(noSkin.HasRegion());
    EXPECT_NE(nullptr, noSkin.m_push.GetSafeHwnd()) << "a missing entry still gives a (zero-sized) button";

    WriteSkin(m_folder, "skin_no_over.ini", 300, 200, {"1=Push,10,10,50,20,Push me,NO"}, false);
    TestSkinWindow noOver("skins\\skin_no_over.ini");
    ASSERT_TRUE(noOver.Create(nullptr));
    const RECT rect = noOver.GetWindowRect();
    EXPECT_EQ(300, rect.right - rect.left);
    EXPECT_NE(nullptr, noOver.m_push.StateBitmap(ButtonPicture::Normal));
    EXPECT_EQ(nullptr, noOver.m_push.StateBitmap(ButtonPicture::Over));
}

TEST_F(SkinWindows, HoverIsReportedToTheParentAndTheStatusLineKeepsTheLastButtonsHint)
{
    HintProbe mainWindow;
    ASSERT_TRUE(mainWindow.Create());
    SetHintWindow(mainWindow.GetSafeHwnd());
    TestSkinWindow window;
    ASSERT_TRUE(window.Create(nullptr));
    window.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(window.GetSafeHwnd());
    Pump(200);

    MoveMouse(CentreOf(window.m_push));
    EXPECT_EQ(kOverColour, ScreenPixel(CentreOf(window.m_push))) << "the pointer lights the button";
    EXPECT_EQ(kMainColour, ScreenPixel(CentreOf(window.m_toggle)));
    MoveMouse(CentreOf(window.m_toggle));
    Pump(100);
    EXPECT_EQ(kMainColour, ScreenPixel(CentreOf(window.m_push)));

    const std::vector<std::pair<WPARAM, LPARAM>> expected{{1, 101}, {0, 101}, {1, 102}};
    EXPECT_EQ(expected, window.hovers);
    EXPECT_EQ("Switch it", SkinHints().Current());
    ASSERT_FALSE(mainWindow.states.empty());
    EXPECT_EQ(1u, mainWindow.states.back());

    // Leaving the button for the window's background keeps the hint of the button left last.
    MoveMouse(POINT{300, 30});
    EXPECT_EQ("Switch it", SkinHints().Current());
    EXPECT_EQ(0u, mainWindow.states.back());
}

TEST_F(SkinWindows, ButtonsShowThePictureOfTheirState)
{
    TestSkinWindow window;
    ASSERT_TRUE(window.Create(nullptr));
    window.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(window.GetSafeHwnd());
    Pump(200);

    // A toggle: down while checked, normal otherwise, whatever the pointer does.
    window.m_toggle.SetChecked(1);
    MoveMouse(CentreOf(window.m_toggle));
    EXPECT_EQ(kDownColour, ScreenPixel(CentreOf(window.m_toggle)));
    window.m_toggle.SetChecked(0);
    Pump(100);
    EXPECT_EQ(kMainColour, ScreenPixel(CentreOf(window.m_toggle)));
    MoveMouse(POINT{300, 30});

    // Disabled: the disabled picture, unless the owner highlights the button.
    window.m_push.EnableWindow(false);
    Pump(100);
    EXPECT_EQ(kDisabledColour, ScreenPixel(CentreOf(window.m_push)));
    window.m_push.SetHighlight(1);
    Pump(100);
    EXPECT_EQ(kOverColour, ScreenPixel(CentreOf(window.m_push)));
    window.m_push.SetHighlight(0);
    window.m_push.EnableWindow(true);
    Pump(100);
    EXPECT_EQ(kMainColour, ScreenPixel(CentreOf(window.m_push)));

    // A caption is drawn in light grey over the picture, from 5 pixels in.
    window.m_push.SetCaption("Apply");
    Pump(100);
    const RECT button = window.m_push.GetWindowRect();
    const int y = (button.top + button.bottom) / 2;
    const int text = LeftmostOther(y - 3, button.left, button.right, kMainColour);
    int light = 0;
    for (int row = button.top; row < button.bottom; ++row) {
        for (int x = button.left; x < button.left + 40; ++x)
            light += GetRValue(ScreenPixel(POINT{x, row})) > 180 && GetGValue(ScreenPixel(POINT{x, row})) > 180;
    }
    EXPECT_GT(light, 10);
    EXPECT_GE(text, button.left + 4);
    EXPECT_LE(text, button.left + 9);
}

TEST_F(SkinWindows, ClicksOfButtonsWithTheSameIdReachTheirOwnHandlers)
{
    TestSkinWindow window;
    ASSERT_TRUE(window.Create(nullptr));
    window.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(window.GetSafeHwnd());
    Pump(200);
    EXPECT_EQ(0, ::GetDlgCtrlID(window.m_push.GetSafeHwnd()));
    EXPECT_EQ(0, ::GetDlgCtrlID(window.m_toggle.GetSafeHwnd()));

    window.events.clear();
    Click(CentreOf(window.m_toggle));
    Click(CentreOf(window.m_push));
    Click(CentreOf(window.m_toggle));
    EXPECT_EQ((std::vector<std::string>{"toggle on", "push", "toggle off"}), window.events);
    // The button under the pointer holds the capture while it is lit, and lets it go when the
    // pointer leaves: nothing stays captured after a toggle's click.
    MoveMouse(POINT{300, 30});
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_FALSE(window.m_toggle.IsHighlighted());
}

// Taps at the pointer's place: each a press and a release, all in one SendInput call, so that they
// are all queued before the button has handled the first press.
void Taps(int count)
{
    std::vector<INPUT> inputs(static_cast<std::size_t>(count) * 2);
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump(400);
}

TEST_F(SkinWindows, EveryTapIsOneClickHoweverQuicklyTheTapsFollow)
{
    TestSkinWindow window;
    ASSERT_TRUE(window.Create(nullptr));
    window.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(window.GetSafeHwnd());
    Pump(200);

    // One tap, then two in a row: the second comes as a double click to the system.
    std::vector<std::vector<std::string>> toggle;
    std::vector<std::vector<std::string>> push;
    for (auto [button, seen] : {std::pair{&window.m_toggle, &toggle}, std::pair{&window.m_push, &push}}) {
        MoveMouse(CentreOf(*button));
        for (int taps : {1, 2}) {
            window.events.clear();
            Taps(taps);
            seen->push_back(window.events);
        }
        MoveMouse(POINT{300, 30});
        Pump(600); // no double click across the buttons
    }
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"toggle on"}, {"toggle off", "toggle on"}}), toggle);
    EXPECT_EQ(1, window.m_toggle.GetChecked());
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"push"}, {"push", "push"}}), push);
    EXPECT_EQ(nullptr, ::GetCapture()) << "nothing stays captured after the taps";
}

TEST_F(SkinWindows, NumericEditRefusesLettersAndKeepsTheLeadingNumberOfAPaste)
{
    TestSkinWindow window;
    ASSERT_TRUE(window.Create(nullptr));
    window.m_edit.SetNumericOnly(1);
    window.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(window.GetSafeHwnd());
    ::SetFocus(window.m_edit.GetSafeHwnd());
    Pump(200);

    PressKey('1');
    PressKey('A');
    PressKey(VK_OEM_PERIOD);
    PressKey('2');
    Pump(200);
    char text[64] = {};
    ::GetWindowTextA(window.m_edit.GetSafeHwnd(), text, sizeof text);
    EXPECT_STREQ("1.2", text);

    ::SetWindowTextA(window.m_edit.GetSafeHwnd(), "");
    ASSERT_TRUE(::OpenClipboard(window.GetSafeHwnd()));
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, 5);
    std::memcpy(::GlobalLock(block), "12a3", 5);
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_TEXT, block);
    ::CloseClipboard();
    window.m_edit.SendMessage(WM_PASTE);
    Pump(100);
    ::GetWindowTextA(window.m_edit.GetSafeHwnd(), text, sizeof text);
    EXPECT_STREQ("12", text);
    ASSERT_FALSE(window.editNotifications.empty());
    EXPECT_EQ(0u, window.editNotifications.back());
}

TEST_F(SkinWindows, ReturnInAnEditNotifiesTheParentAndEscapeOrReturnNeverCloseTheDialog)
{
    TestSkinWindow window;
    bool aliveAfterKeys = false;
    Script script;
    script.Then(300, [&] {
        ::SetFocus(window.m_edit.GetSafeHwnd());
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
    });
    script.Then(400, [&] {
        aliveAfterKeys = ::IsWindowVisible(window.GetSafeHwnd()) != FALSE;
        window.EndDialog(77);
    });
    script.Start();
    EXPECT_EQ(77, window.DoModal(nullptr));
    EXPECT_TRUE(aliveAfterKeys);
    EXPECT_EQ(std::vector<WPARAM>{13}, window.editNotifications);
}

TEST_F(SkinWindows, WarningDialogAnswersOkForKeyTwoAndCancelForKeysThreeAndFour)
{
    WriteSkin(
        m_folder, "skin_reset_warn.ini", 240, 140,
        {"2=OK,20,100,60,24,Reset the keys,NO", "3=Cancel,100,100,60,24,Keep them,NO", "4=Close,210,6,22,22,Close,NO"});
    for (const auto& [index, expected] :
         std::vector<std::pair<int, INT_PTR>>{{0, IDOK}, {1, IDCANCEL}, {2, IDCANCEL}}) {
        CWarnDlg dialog;
        bool openAfterEscape = false;
        Script script;
        script.Then(500, [&] {
            openAfterEscape = ::IsWindow(dialog.GetSafeHwnd()) != FALSE;
            Click(CentreOf(dialog.Button(static_cast<size_t>(index))));
        });
        script.Then(2000, [&] { dialog.EndDialog(-5); }); // a missed click must not hang the test
        script.Start();
        EXPECT_EQ(expected, dialog.DoModal(nullptr)) << "button of key " << index + 2;
        EXPECT_TRUE(openAfterEscape);
        EXPECT_EQ("Close", dialog.Button(2).Hint());
    }
    // Escape is the Cancel button. (The steps left of the runs above, and of this one, run out
    // while their dialog still exists.)
    Pump(2100);
    CWarnDlg dialog;
    Script script;
    script.Then(300, [&] { PressKey(VK_ESCAPE); });
    script.Then(1500, [&] { dialog.EndDialog(-5); });
    script.Start();
    EXPECT_EQ(IDCANCEL, dialog.DoModal(nullptr));
    Pump(1600);
}

TEST_F(SkinWindows, LabelsDrawCentredOrCompactAndReportTheirHintOnce)
{
    HintProbe mainWindow;
    ASSERT_TRUE(mainWindow.Create());
    SetHintWindow(mainWindow.GetSafeHwnd());
    TestSkinWindow window;
    ASSERT_TRUE(window.Create(nullptr));
    CTextLabel centred;
    CTextLabel compact;
    ASSERT_TRUE(centred.Create(RECT{20, 150, 320, 170}, window.GetSafeHwnd(), 30));
    ASSERT_TRUE(compact.Create(RECT{20, 180, 320, 200}, window.GetSafeHwnd(), 31));
    centred.SetText("Profile", 1);
    compact.SetText("Profile", 0);
    compact.SetCompact(1);
    centred.SetHint("Name of profile 1");
    window.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(window.GetSafeHwnd());
    ::SetCursorPos(1000, 900);
    Pump(200);

    const COLORREF back = RGB(2, 2, 2);
    const int centredText = LeftmostOther(160, 20, 320, back);
    const int compactText = LeftmostOther(190, 20, 320, back);
    ASSERT_GE(centredText, 0);
    ASSERT_GE(compactText, 0);
    EXPECT_GT(centredText, 120) << "centred in a 300-pixel label";
    EXPECT_LT(compactText, 30) << "compact text starts at the left edge";

    MoveMouse(POINT{100, 160});
    MoveMouse(POINT{110, 160});
    EXPECT_EQ("Name of profile 1", SkinHints().Current());
    EXPECT_EQ(std::vector<WPARAM>{1}, mainWindow.states) << "the same hint is reported once";
    centred.SetHintEnabled(0);
    SkinHints().ButtonHover("other");
    MoveMouse(POINT{120, 160});
    EXPECT_EQ("other", SkinHints().Current());
}

TEST_F(SkinWindows, LineWindowShowsItsPictureOnlyThroughItsMask)
{
    // A 100 x 20 picture in the down colour whose mask leaves only the left half.
    WriteBmp(m_folder / "skins\\line.bmp", 100, 20, [](int, int) { return kDownColour; });
    WriteBmp(m_folder / "skins\\line_mask.bmp", 100, 20,
             [](int x, int) { return x < 50 ? RGB(0, 0, 0) : RGB(255, 255, 255); });
    TestSkinWindow window;
    ASSERT_TRUE(window.Create(nullptr));
    CLineWnd line;
    ASSERT_TRUE(line.Create(RECT{300, 100, 400, 120}, window.GetSafeHwnd(), 40));
    EXPECT_TRUE(line.SetPictures((m_folder / "skins\\line.bmp").c_str(), (m_folder / "skins\\line_mask.bmp").c_str()));
    window.ShowWindow(SW_SHOW);
    Pump(200);
    EXPECT_EQ(kDownColour, ScreenPixel(POINT{320, 110}));
    EXPECT_EQ(kMainColour, ScreenPixel(POINT{380, 110})) << "the window behind shows where the mask is white";

    CLineWnd missing;
    ASSERT_TRUE(missing.Create(RECT{300, 130, 400, 150}, window.GetSafeHwnd(), 41));
    EXPECT_FALSE(
        missing.SetPictures((m_folder / "skins\\absent.bmp").c_str(), (m_folder / "skins\\absent.bmp").c_str()));
}

TEST_F(SkinWindows, EditTellsItsParentWhenItLosesTheFocus)
{
    // Records the registered focus message.
    class FocusWindow : public TestSkinWindow {
    public:
        int lost = 0;

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == BitmapEditKillFocusMessage())
                ++lost;
            return TestSkinWindow::WindowProc(message, wParam, lParam);
        }
    };
    FocusWindow window;
    ASSERT_TRUE(window.Create(nullptr));
    window.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(window.GetSafeHwnd());
    ::SetFocus(window.m_edit.GetSafeHwnd());
    Pump(100);
    EXPECT_EQ(0, window.lost);
    ::SetFocus(window.GetSafeHwnd());
    Pump(100);
    EXPECT_EQ(1, window.lost);
    EXPECT_EQ(::RegisterWindowMessageA("BitmapEdit_KillFocus"), BitmapEditKillFocusMessage());
}

TEST_F(SkinWindows, DraggingThePictureMovesTheWindow)
{
    TestSkinWindow window;
    ASSERT_TRUE(window.Create(nullptr));
    window.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(window.GetSafeHwnd());
    Pump(200);
    // The system's move loop runs inside the dispatch of the press, so the pointer is moved and
    // released from timers, which that loop dispatches.
    ::SetCursorPos(300, 30);
    Pump(100);
    Script script;
    for (int step = 1; step <= 5; ++step)
        script.Then(40, [step] { ::SetCursorPos(300 + step * 10, 30 + step * 8); });
    script.Then(60, [] { ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0); });
    script.Start();
    ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    Pump(800);
    const RECT rect = window.GetWindowRect();
    EXPECT_EQ(50, rect.left);
    EXPECT_EQ(40, rect.top);
}

TEST(SkinRegion, BlocksOfRunsMakeTheSameRegionAsOnePiece)
{
    // A checkerboard of 2 x 2 cells: 120 x 120 gives 30 runs a row, 3600 runs in all.
    const int size = 120;
    BITMAPINFO info = TopDown32BitInfo(size, size);
    void* bits = nullptr;
    UniqueBitmap mask(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(mask);
    auto* pixels = static_cast<DWORD*>(bits);
    UniqueRegion expected(::CreateRectRgn(0, 0, 0, 0));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool inside = ((x / 2) + (y / 2)) % 2 == 0;
            pixels[y * size + x] = inside ? 0x00101010u : 0x00FFFFFFu;
            if (inside && x % 2 == 0) {
                UniqueRegion cell(::CreateRectRgn(x, y, x + 2, y + 1));
                ::CombineRgn(expected.Get(), expected.Get(), cell.Get(), RGN_OR);
            }
        }
    }
    UniqueRegion region(MakeRegionFromMask(mask.Get(), RGB(255, 255, 255), 0));
    ASSERT_TRUE(region);
    EXPECT_TRUE(::EqualRgn(region.Get(), expected.Get()));

    UniqueBitmap white(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    std::memset(bits, 0xFF, static_cast<size_t>(size) * size * 4);
    EXPECT_EQ(nullptr, MakeRegionFromMask(white.Get(), RGB(255, 255, 255), 0)) << "nothing inside: no region";
    EXPECT_EQ(nullptr, MakeRegionFromMask(nullptr, RGB(255, 255, 255), 0));
}

} // namespace
