// The update and help pages as the user meets them: a real page from the generated skins inside a
// frame window, its button pressed with the real pointer, checked through what the page loads or
// hands to the default browser (a recording stand-in: no real browser is ever started) and what
// the screen shows.
#include "WinTestInput.h"
#include "SkinDialog.h"
#include "SkinMessages.h"
#include "WebBrowserHost.h"
#include "WebPage.h"
#include "WebPageDlg.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace {

// A class id nobody registers: the browser control cannot be made.
constexpr CLSID kMissingClassId = {0x3c1e0a52, 0x7d4b, 0x4e0f, {0x9a, 0x11, 0x5e, 0x2b, 0x70, 0x6d, 0x01, 0x9f}};

class RecordingOpener : public AddressOpener {
public:
    bool OpenAddress(const std::string& address) override
    {
        opened.push_back(address);
        return true;
    }
    std::vector<std::string> opened;
};

// Stands in for the main window's frame area the pages are shown in; records the keys the message
// loop offers it.
class FrameWindow : public CWnd {
public:
    bool PreTranslateMessage(MSG& message) override
    {
        if (message.message == WM_KEYDOWN)
            keysOffered.push_back(message.wParam);
        return false;
    }
    std::vector<WPARAM> keysOffered;

    bool Create()
    {
        if (!CreateEx(0, nullptr, "web page frame", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 800, 340, nullptr, nullptr))
            return false;
        ShowWindow(SW_SHOWNOACTIVATE);
        return true;
    }
};

// The colour of the page's own picture at a point of the screen.
COLORREF PicturePixel(const CSkinDialog& page, POINT screenPoint)
{
    ::ScreenToClient(page.GetSafeHwnd(), &screenPoint);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, page.Background());
    const COLORREF colour = ::GetPixel(memory, screenPoint.x, screenPoint.y);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

struct WindowSearch {
    HWND except;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOtherVisibleWindow(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (window != search.except && process == ::GetCurrentProcessId() && ::IsWindowVisible(window))
        search.found.push_back(window);
    return TRUE;
}

// The visible top-level windows of this process other than except (a dialog would be one).
std::vector<HWND> OtherVisibleWindows(HWND except)
{
    WindowSearch search{except, {}};
    ::EnumWindows(&CollectOtherVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The page's child windows that the user can see.
std::vector<HWND> VisibleChildren(HWND page)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(page, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::IsWindowVisible(child))
            children.push_back(child);
    }
    return children;
}

RECT RectInParent(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class WebPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_ole = ::OleInitialize(nullptr);
        SetSkinProgramFolder(TOLK_DIST);
        ::SetCursorPos(1000, 900);
        ASSERT_TRUE(m_frame.Create());
    }
    void TearDown() override
    {
        m_frame.DestroyWindow();
        SetHintWindow(nullptr);
        SetSkinProgramFolder("");
        if (SUCCEEDED(m_ole))
            ::OleUninitialize();
    }

    void Show(CWebPageDlg& page)
    {
        ASSERT_TRUE(page.Create(m_frame.GetSafeHwnd()));
        page.ShowWindow(SW_SHOW);
        Pump(200);
    }

    HRESULT m_ole = E_FAIL;
    FrameWindow m_frame;
};

TEST_F(WebPages, UpdateButtonLoadsTheAddressHeldWhenPressedAndALaterAddressDoesNotReload)
{
    RecordingOpener outside;
    CUpdateDlg page(outside);
    page.SetButtonHint("Check for driver and firmware updates");
    // A page that needs no network: the test never reaches out to the support site.
    const std::string openedAddress = "about:blank";
    EXPECT_TRUE(page.SetAddress(openedAddress));
    Show(page);
    ASSERT_TRUE(::IsWindowVisible(page.OpenButton().GetSafeHwnd()));
    EXPECT_EQ(std::vector<HWND>{page.OpenButton().GetSafeHwnd()}, VisibleChildren(page.GetSafeHwnd()));

    // The skinned buttons light and report their hint only in the active window.
    ::SetForegroundWindow(m_frame.GetSafeHwnd());
    const POINT button = CentreOf(page.OpenButton());
    ::SetCursorPos(button.x, button.y);
    Pump(150);
    EXPECT_EQ("Check for driver and firmware updates", SkinHints().Current()) << "the owner's hint is the button's";
    Click(button);

    EXPECT_FALSE(::IsWindowVisible(page.OpenButton().GetSafeHwnd())) << "the button gives way";
    EXPECT_TRUE(page.Page().IsOpened());
    EXPECT_TRUE(OtherVisibleWindows(m_frame.GetSafeHwnd()).empty()) << "no dialog, no window of its own";
    // Under Wine without a browser engine the control is still made (an empty white window); only
    // where it cannot be made does the address go to the default browser.
    if (page.Browser().IsCreated()) {
        EXPECT_EQ(openedAddress, page.Browser().NavigatedAddress());
        EXPECT_TRUE(outside.opened.empty()) << "the page opened inside: nothing goes outside";
        const HWND control = page.Browser().Window();
        EXPECT_EQ(std::vector<HWND>{control}, VisibleChildren(page.GetSafeHwnd()));
        EXPECT_EQ(page.GetSafeHwnd(), ::GetParent(control));
        EXPECT_NE(0, ::GetWindowLongA(control, GWL_STYLE) & WS_CHILD);
        const RECT rect = RectInParent(control);
        EXPECT_EQ(0, rect.left);
        EXPECT_EQ(0, rect.top);
        EXPECT_EQ(790, rect.right);
        EXPECT_EQ(330, rect.bottom);
    } else {
        EXPECT_EQ(std::vector<std::string>{openedAddress}, outside.opened) << "opened in the default browser";
        EXPECT_TRUE(VisibleChildren(page.GetSafeHwnd()).empty());
        EXPECT_EQ(PicturePixel(page, button), ScreenPixel(button)) << "the page's picture shows where the button was";
    }

    // The keyboard is found afterwards: the address is renewed, the loaded page stays.
    EXPECT_TRUE(page.SetAddress(UpdatePageAddress("1.28", "1.05")));
    EXPECT_EQ(UpdatePageAddress("1.28", "1.05"), page.Page().Address());
    Pump(200);
    if (page.Browser().IsCreated())
        EXPECT_EQ(openedAddress, page.Browser().NavigatedAddress());
    else
        EXPECT_EQ(std::vector<std::string>{openedAddress}, outside.opened);
}

TEST_F(WebPages, WithoutABrowserControlTheHelpPageOpensInTheDefaultBrowserOnce)
{
    RecordingOpener outside;
    CAboutDlg page(outside, kMissingClassId);
    Show(page);
    // Never given an address by the main window: the initial one opens.
    const POINT button = CentreOf(page.OpenButton());
    Click(button);

    EXPECT_EQ(std::vector<std::string>{InitialHelpPageAddress()}, outside.opened);
    EXPECT_FALSE(page.Browser().IsCreated());
    EXPECT_EQ("", page.Browser().NavigatedAddress());
    EXPECT_TRUE(VisibleChildren(page.GetSafeHwnd()).empty()) << "the button is gone and no control was left";
    EXPECT_EQ(PicturePixel(page, button), ScreenPixel(button));

    // A second press where the button was opens nothing more.
    ::SendMessageA(page.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                   reinterpret_cast<LPARAM>(page.OpenButton().GetSafeHwnd()));
    Pump(100);
    EXPECT_EQ(1u, outside.opened.size());
}

TEST_F(WebPages, KeysTypedIntoTheOpenPageGoToTheBrowserAlone)
{
    RecordingOpener outside;
    CAboutDlg page(outside);
    Show(page);
    ::SetForegroundWindow(m_frame.GetSafeHwnd());
    ::SetFocus(page.GetSafeHwnd());
    Pump(100);
    PressKey('A');
    Pump(150);
    EXPECT_EQ(std::vector<WPARAM>{'A'}, m_frame.keysOffered) << "keys on the page itself pass its parents";

    Click(CentreOf(page.OpenButton()));
    if (!page.Browser().IsCreated())
        GTEST_SKIP() << "no browser control here";
    ::SetFocus(page.Browser().Window());
    Pump(100);
    m_frame.keysOffered.clear();
    PressKey('A');
    Pump(150);
    PressKey(VK_RETURN);
    Pump(150);
    EXPECT_TRUE(m_frame.keysOffered.empty()) << "the windows around the browser never see its keys";
    EXPECT_TRUE(::IsWindowVisible(page.GetSafeHwnd()));
}

TEST_F(WebPages, BrowserHostRefusesWhatItCannotHostAndLeavesNothingBehind)
{
    WebBrowserHost missing(kMissingClassId);
    EXPECT_FALSE(missing.Create(m_frame.GetSafeHwnd(), RECT{0, 0, 100, 100}));
    EXPECT_FALSE(missing.IsCreated());
    EXPECT_EQ(nullptr, missing.Window());
    EXPECT_FALSE(missing.Navigate("https://support.zentor.com/"));
    EXPECT_EQ("", missing.NavigatedAddress());

    WebBrowserHost noParent;
    EXPECT_FALSE(noParent.Create(nullptr, RECT{0, 0, 100, 100}));
    EXPECT_FALSE(noParent.IsCreated());

    WebBrowserHost host;
    if (!host.Create(m_frame.GetSafeHwnd(), RECT{10, 20, 210, 120})) {
        EXPECT_EQ(nullptr, ::GetWindow(m_frame.GetSafeHwnd(), GW_CHILD)) << "a failed creation leaves no window";
        return;
    }
    const HWND control = host.Window();
    ASSERT_TRUE(::IsWindow(control));
    EXPECT_TRUE(::IsWindowVisible(control));
    EXPECT_EQ(m_frame.GetSafeHwnd(), ::GetParent(control));
    EXPECT_FALSE(host.Create(m_frame.GetSafeHwnd(), RECT{0, 0, 100, 100})) << "one control per host";
    EXPECT_EQ(control, host.Window());
    host.Destroy();
    EXPECT_FALSE(host.IsCreated());
    EXPECT_FALSE(::IsWindow(control)) << "the control's window goes with it";
}

} // namespace
