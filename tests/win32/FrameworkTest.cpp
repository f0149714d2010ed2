#include "UniqueHandle.h"
#include "WinApp.h"
#include "Wnd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kMsgCombine = WM_APP + 10;
constexpr UINT kMsgBaseOnly = WM_APP + 11;
constexpr UINT kIdOpen = 100;
constexpr UINT kIdEdit = 200;
constexpr UINT kIdButton = 201;

// A window that records what reached its handlers.
class ProbeWnd : public BaseWindow<ProbeWnd> {
public:
    static MessageSpan MessageEntries();

    bool Create(const char* title, int createResult = 0)
    {
        m_createResult = createResult;
        return CreateEx(0, nullptr, title, WS_POPUP, 0, 0, 50, 50, nullptr, nullptr);
    }
    HWND Hwnd() const { return GetSafeHwnd(); }

    std::string createdTitle;
    std::vector<UINT_PTR> timers;
    std::vector<std::string> calls;
    int destroyed = 0;
    std::string textSeen;

protected:
    int OnCreate(CREATESTRUCTA& create)
    {
        createdTitle = create.lpszName;
        if (CWnd::OnCreate(create) == -1)
            return -1;
        return m_createResult;
    }
    void OnDestroy()
    {
        ++destroyed;
        CWnd::OnDestroy();
    }
    void OnTimer(UINT_PTR id)
    {
        timers.push_back(id);
        CWnd::OnTimer(id);
    }
    LRESULT OnCombine(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam) + lParam; }
    LRESULT OnBaseOnly(WPARAM, LPARAM) { return 77; }
    // Sees the text, then lets the window store it.
    LRESULT OnSetText(WPARAM, LPARAM lParam)
    {
        textSeen = reinterpret_cast<const char*>(lParam);
        return Default();
    }
    void OnOpen() { calls.push_back("open"); }
    void OnEditChange() { calls.push_back("edit change"); }
    void OnButtonClicked() { calls.push_back("button"); }

private:
    int m_createResult = 0;
};

MessageSpan ProbeWnd::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnWmCreate<&ProbeWnd::OnCreate>(),
        OnWmDestroy<&ProbeWnd::OnDestroy>(),
        OnWmTimer<&ProbeWnd::OnTimer>(),
        OnMessage<kMsgCombine, &ProbeWnd::OnCombine>(),
        OnMessage<kMsgBaseOnly, &ProbeWnd::OnBaseOnly>(),
        OnMessage<WM_SETTEXT, &ProbeWnd::OnSetText>(),
        OnCommand<kIdOpen, &ProbeWnd::OnOpen>(),
        OnCommand<kIdEdit, &ProbeWnd::OnEditChange, EN_CHANGE>(),
        OnCommand<kIdButton, &ProbeWnd::OnButtonClicked, BN_CLICKED>(),
    };
    return kEntries;
}

constexpr UINT kIdClose = 101;

// Overrides one message of its base and adds a command; everything else comes from the base.
class DerivedProbeWnd : public BaseWindow<DerivedProbeWnd, ProbeWnd> {
public:
    static MessageSpan MessageEntries()
    {
        static constexpr MessageEntry kEntries[] = {
            OnMessage<kMsgCombine, &DerivedProbeWnd::OnCombineMultiplied>(),
            OnCommand<kIdClose, &DerivedProbeWnd::OnClose>(),
        };
        return kEntries;
    }

protected:
    LRESULT OnCombineMultiplied(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam) * lParam; }
    void OnClose() { calls.push_back("derived close"); }
};

constexpr UINT kMsgGuarded = WM_APP + 12;

// A base whose WM_CREATE and kMsgGuarded entries are required; its derived class has entries for
// both.
class GuardedBase : public BaseWindow<GuardedBase> {
public:
    static MessageSpan MessageEntries()
    {
        static constexpr MessageEntry kEntries[] = {
            Required(OnWmCreate<&GuardedBase::OnCreate>()),
            Required(OnMessage<kMsgGuarded, &GuardedBase::OnGuarded>()),
        };
        return kEntries;
    }
    bool Create(const char* title, int createResult = 0)
    {
        m_createResult = createResult;
        return CreateEx(0, nullptr, title, WS_POPUP, 0, 0, 50, 50, nullptr, nullptr);
    }
    std::vector<std::string> calls;

protected:
    int OnCreate(CREATESTRUCTA& create)
    {
        calls.push_back("base create");
        if (CWnd::OnCreate(create) == -1)
            return -1;
        return m_createResult;
    }
    LRESULT OnGuarded(WPARAM, LPARAM)
    {
        calls.push_back("base guarded");
        return 5;
    }

private:
    int m_createResult = 0;
};

class GuardedDerived : public BaseWindow<GuardedDerived, GuardedBase> {
public:
    static MessageSpan MessageEntries()
    {
        static constexpr MessageEntry kEntries[] = {
            OnWmCreate<&GuardedDerived::OnDerivedCreate>(),
            OnMessage<kMsgGuarded, &GuardedDerived::OnDerivedGuarded>(),
        };
        return kEntries;
    }

private:
    int OnDerivedCreate(CREATESTRUCTA& create)
    {
        calls.push_back("derived create");
        return CWnd::OnCreate(create);
    }
    LRESULT OnDerivedGuarded(WPARAM wParam, LPARAM)
    {
        calls.push_back("derived guarded");
        return static_cast<LRESULT>(wParam);
    }
};

std::string TextOf(HWND hwnd)
{
    char text[64] = {};
    ::GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// Pumps this thread's messages until done() or about two seconds have passed.
template <class Done>
bool PumpUntil(Done done)
{
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (!done()) {
        if (::GetTickCount() - start > 2000)
            return false;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    }
    return true;
}

TEST(MessageTable, TypedHandlersGetTheCrackedArgumentsAndTheRestGetsDefaultProcessing)
{
    ProbeWnd wnd;
    ASSERT_TRUE(wnd.Create("framework probe"));
    EXPECT_EQ(wnd.createdTitle, "framework probe");
    EXPECT_EQ(::SendMessageA(wnd.Hwnd(), kMsgCombine, 5, 7), 12);

    // The handler saw the text and, through Default(), the window kept it.
    ::SetWindowTextA(wnd.Hwnd(), "renamed");
    EXPECT_EQ(wnd.textSeen, "renamed");
    EXPECT_EQ(TextOf(wnd.Hwnd()), "renamed");
    // WM_GETTEXT has no entry: default processing answers it.
    EXPECT_EQ(::SendMessageA(wnd.Hwnd(), WM_GETTEXTLENGTH, 0, 0), 7);

    ASSERT_NE(wnd.SetTimer(7, 10), 0u);
    EXPECT_TRUE(PumpUntil([&] { return !wnd.timers.empty(); }));
    wnd.KillTimer(7);
    ASSERT_FALSE(wnd.timers.empty());
    EXPECT_EQ(wnd.timers.front(), 7u);

    HWND hwnd = wnd.Hwnd();
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.destroyed, 1);
    EXPECT_EQ(wnd.Hwnd(), nullptr);
    EXPECT_FALSE(::IsWindow(hwnd));
    // Without a window nothing is posted or set, not even to the thread.
    EXPECT_FALSE(wnd.PostMessage(kMsgCombine));
    EXPECT_EQ(wnd.SetTimer(8, 10), 0u);
    MSG stray;
    EXPECT_FALSE(::PeekMessageA(&stray, nullptr, kMsgCombine, kMsgCombine, PM_REMOVE));
}

TEST(MessageTable, CreateFailsWhenOnCreateRefusesAndNoWindowIsLeft)
{
    ProbeWnd wnd;
    EXPECT_FALSE(wnd.Create("refused probe window", -1));
    EXPECT_EQ(wnd.createdTitle, "refused probe window");
    EXPECT_EQ(wnd.Hwnd(), nullptr);
    EXPECT_EQ(::FindWindowA(nullptr, "refused probe window"), nullptr);
    // The object can try again.
    EXPECT_TRUE(wnd.Create("accepted probe window"));
    EXPECT_NE(::FindWindowA(nullptr, "accepted probe window"), nullptr);
}

TEST(MessageTable, DerivedTableOverridesItsOwnMessagesAndInheritsTheRest)
{
    DerivedProbeWnd derived;
    ASSERT_TRUE(derived.Create("derived probe"));
    EXPECT_EQ(derived.createdTitle, "derived probe"); // base's WM_CREATE entry
    EXPECT_EQ(::SendMessageA(derived.Hwnd(), kMsgCombine, 5, 7), 35);
    EXPECT_EQ(::SendMessageA(derived.Hwnd(), kMsgBaseOnly, 0, 0), 77);
    ::SendMessageA(derived.Hwnd(), WM_COMMAND, MAKEWPARAM(kIdOpen, 0), 0);
    ::SendMessageA(derived.Hwnd(), WM_COMMAND, MAKEWPARAM(kIdClose, 0), 0);
    EXPECT_EQ(derived.calls, (std::vector<std::string>{"open", "derived close"}));

    // The base class alone does not know the derived entries.
    ProbeWnd base;
    ASSERT_TRUE(base.Create("base probe"));
    EXPECT_EQ(::SendMessageA(base.Hwnd(), kMsgCombine, 5, 7), 12);
    ::SendMessageA(base.Hwnd(), WM_COMMAND, MAKEWPARAM(kIdClose, 0), 0);
    EXPECT_TRUE(base.calls.empty());
}

TEST(MessageTable, RequiredBaseEntriesRunBeforeTheDerivedEntriesForTheSameMessage)
{
    GuardedDerived derived;
    ASSERT_TRUE(derived.Create("guarded derived"));
    EXPECT_EQ(derived.calls, (std::vector<std::string>{"base create", "derived create"}));
    derived.calls.clear();
    EXPECT_EQ(::SendMessageA(derived.GetSafeHwnd(), kMsgGuarded, 9, 0), 9) << "the derived entry answers";
    EXPECT_EQ(derived.calls, (std::vector<std::string>{"base guarded", "derived guarded"}));

    // Without a derived entry the required one is the answer.
    GuardedBase base;
    ASSERT_TRUE(base.Create("guarded base"));
    EXPECT_EQ(::SendMessageA(base.GetSafeHwnd(), kMsgGuarded, 9, 0), 5);

    // A required WM_CREATE that refuses ends the creation before the derived handler runs.
    GuardedDerived refused;
    EXPECT_FALSE(refused.Create("guarded refused", -1));
    EXPECT_EQ(refused.calls, (std::vector<std::string>{"base create"}));
    EXPECT_EQ(refused.GetSafeHwnd(), nullptr);
}

TEST(MessageTable, CommandsRouteByIdAndNotification)
{
    ProbeWnd wnd;
    ASSERT_TRUE(wnd.Create("command probe"));

    // A menu item (code 0) and an accelerator (code 1) reach the same command handler.
    ::SendMessageA(wnd.Hwnd(), WM_COMMAND, MAKEWPARAM(kIdOpen, 0), 0);
    ::SendMessageA(wnd.Hwnd(), WM_COMMAND, MAKEWPARAM(kIdOpen, 1), 0);
    // An id without an entry goes to default processing and reaches no handler.
    ::SendMessageA(wnd.Hwnd(), WM_COMMAND, MAKEWPARAM(kIdOpen + 50, 0), 0);
    EXPECT_EQ(wnd.calls, (std::vector<std::string>{"open", "open"}));
    wnd.calls.clear();

    // Real controls notify their parent: only the notification with an entry reaches a handler.
    HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 40, 20, wnd.Hwnd(),
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kIdEdit)), nullptr, nullptr);
    HWND button = ::CreateWindowExA(0, "BUTTON", "Go", WS_CHILD | BS_PUSHBUTTON, 0, 20, 40, 20, wnd.Hwnd(),
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kIdButton)), nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(button, nullptr);
    ::SetWindowTextA(edit, "typed");
    ::SendMessageA(wnd.Hwnd(), WM_COMMAND, MAKEWPARAM(kIdEdit, EN_SETFOCUS), reinterpret_cast<LPARAM>(edit));
    ::SendMessageA(wnd.Hwnd(), WM_COMMAND, MAKEWPARAM(kIdButton, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(wnd.calls, (std::vector<std::string>{"edit change", "button"}));
}

// An application whose main window closes itself once the loop runs.
class ProbeApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        commandLineSeen = CommandLine();
        if (!window.Create("probe main window"))
            return FALSE;
        m_pMainWnd = &window;
        window.PostMessage(WM_COMMAND, MAKEWPARAM(kIdOpen, 0));
        window.PostMessage(WM_CLOSE);
        return succeed ? TRUE : FALSE;
    }
    int ExitInstance() override
    {
        exitedWithWindow = window.Hwnd() != nullptr;
        return CWinApp::ExitInstance() + 40;
    }

    bool succeed = true;
    std::string commandLineSeen;
    bool exitedWithWindow = true;
    ProbeWnd window;
};

// Ends a message loop that would otherwise wait forever, with an exit code no test expects.
void CALLBACK EndStuckLoop(HWND, UINT, UINT_PTR, DWORD)
{
    ::PostQuitMessage(99);
}

TEST(Application, DestroyingTheMainWindowEndsTheLoopAndExitInstanceGivesTheExitCode)
{
    ProbeApp app;
    const UINT_PTR guard = ::SetTimer(nullptr, 0, 3000, &EndStuckLoop);
    EXPECT_EQ(RunApplication(app, ::GetModuleHandleA(nullptr), "1 -quiet", SW_HIDE), 40);
    ::KillTimer(nullptr, guard);
    EXPECT_EQ(app.commandLineSeen, "1 -quiet");
    EXPECT_EQ(app.window.calls, std::vector<std::string>{"open"}); // the loop dispatched
    EXPECT_EQ(app.window.destroyed, 1);
    EXPECT_FALSE(app.exitedWithWindow);
}

TEST(Application, FailedInitInstanceSkipsTheLoopButStillExits)
{
    ProbeApp app;
    app.succeed = false;
    EXPECT_EQ(RunApplication(app, ::GetModuleHandleA(nullptr), nullptr, SW_HIDE), 40);
    EXPECT_EQ(app.commandLineSeen, "");
    EXPECT_TRUE(app.window.calls.empty()); // nothing was dispatched
    EXPECT_EQ(app.window.destroyed, 1);    // the main window it left was destroyed
    EXPECT_FALSE(app.exitedWithWindow);
    MSG stray;
    EXPECT_FALSE(::PeekMessageA(&stray, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

bool EventExists(const char* name)
{
    UniqueHandle h(::OpenEventA(SYNCHRONIZE, FALSE, name));
    return static_cast<bool>(h);
}

TEST(UniqueHandles, KernelObjectsLiveExactlyAsLongAsTheirOwner)
{
    const char* name = "TolkFrameworkTest_Event";
    {
        UniqueHandle event(::CreateEventA(nullptr, TRUE, FALSE, name));
        ASSERT_TRUE(event);
        EXPECT_TRUE(EventExists(name));

        UniqueHandle moved(std::move(event));
        EXPECT_FALSE(event);
        EXPECT_TRUE(EventExists(name)); // moving did not close it
    }
    EXPECT_FALSE(EventExists(name));

    UniqueHandle released(::CreateEventA(nullptr, TRUE, FALSE, name));
    HANDLE raw = released.Release();
    EXPECT_TRUE(EventExists(name)); // given up, not closed
    ::CloseHandle(raw);
    EXPECT_FALSE(EventExists(name));

    // A failed CreateFile (INVALID_HANDLE_VALUE) is owned as nothing.
    UniqueHandle missing(::CreateFileA("Z:\\no\\such\\file.tolk", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
}

bool Mapped(const void* address)
{
    MEMORY_BASIC_INFORMATION info{};
    return ::VirtualQuery(address, &info, sizeof info) != 0 && info.State != MEM_FREE;
}

TEST(UniqueHandles, MappedViewStaysUsableAfterItsMappingHandleAndIsUnmappedWithItsOwner)
{
    UniqueHandle mapping(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, nullptr));
    ASSERT_TRUE(mapping);
    UniqueView view(::MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_TRUE(view);
    mapping.Reset();
    auto* bytes = static_cast<volatile char*>(view.Get());
    bytes[10] = 42;
    EXPECT_EQ(bytes[10], 42);
    const void* address = view.Get();
    EXPECT_TRUE(Mapped(address));
    view.Reset();
    EXPECT_FALSE(Mapped(address));
}

TEST(UniqueHandles, UserAndGdiObjectsAndModulesAreFreedWhenTheOwnerGoes)
{
    HWND rawWindow;
    {
        UniqueHwnd window(
            ::CreateWindowExA(0, "STATIC", "owned", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
        rawWindow = window.Get();
        ASSERT_TRUE(::IsWindow(rawWindow));
    }
    EXPECT_FALSE(::IsWindow(rawWindow));

    HMENU rawMenu;
    {
        UniqueMenu menu(::CreatePopupMenu());
        rawMenu = menu.Get();
        ASSERT_TRUE(::IsMenu(rawMenu));
    }
    EXPECT_FALSE(::IsMenu(rawMenu));

    HBRUSH rawBrush;
    {
        UniqueGdiObject<HBRUSH> brush(::CreateSolidBrush(RGB(1, 2, 3)));
        rawBrush = brush.Get();
        ASSERT_EQ(::GetObjectType(rawBrush), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(::GetObjectType(rawBrush), 0u);

    ASSERT_EQ(::GetModuleHandleA("wtsapi32.dll"), nullptr);
    {
        UniqueModule module(::LoadLibraryA("wtsapi32.dll"));
        ASSERT_TRUE(module);
        EXPECT_NE(::GetModuleHandleA("wtsapi32.dll"), nullptr);
    }
    EXPECT_EQ(::GetModuleHandleA("wtsapi32.dll"), nullptr);
}

} // namespace
