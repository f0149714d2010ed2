// Under Wine or Windows: how the macro editors answer with macros as long as they get (512 events,
// each followed by a pause), on the shipped skins of the program folder:
//   - the recorder page (CMacroRecorderDlg) rebuilding its event list of over 1000 rows after a key of a
//     recording that fills the macro: the 511th and the 512th event, after which it stops itself;
//   - the pauses the recorder stores, against the gaps between keys sent with SendInput;
//   - the macro manager (CMacroManagerDlg with both pages) switching between sets of 100 such macros
//     from its set menu.
// Prints figures; nothing here passes or fails on time.

#include "KeyCapture.h"
#include "MacroAdjustDlg.h"
#include "MacroManagerDlg.h"
#include "MacroRecorderDlg.h"
#include "MenuFrameHook.h"
#include "SkinDialog.h"
#include "Text.h"
#include "WinTestInput.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRebuildRuns = 30;
constexpr int kEventsBefore = kMaxMacroEvents - 2; // the recording adds the last two
constexpr int kPauseKeys = 100;                    // key events, 50 letters pressed and released
constexpr int kShortestGapMs = 20;
constexpr int kLongestGapMs = 120;
constexpr int kSets = 3;
constexpr int kMacrosPerSet = 100;
constexpr int kSwitchRuns = 30;
constexpr UINT kGiveUpMs = 5000;
constexpr uint8_t kUsageA = 0x04; // the key table's code of the letter A; B..Z follow it

int64_t NowUs()
{
    // The clock the capture stamps keys with: the performance counter.
    return KeyCaptureClockUs();
}

double Ms(int64_t us)
{
    return static_cast<double>(us) / 1000.0;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Max(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

// Runs messages until the clock reaches deadlineUs. Asleep until a message arrives or the last
// 1.5 ms, then looking without pause: the capture's hook is called from this thread's message
// retrieval, so a key sent just before is seen (and stamped) at once, and the return is on time.
void PumpUntil(int64_t deadlineUs)
{
    for (;;) {
        PumpPending();
        const int64_t left = deadlineUs - NowUs();
        if (left <= 0)
            return;
        if (left > 2000)
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>((left - 1500) / 1000), QS_ALLINPUT);
    }
}

void PumpFor(int ms)
{
    PumpUntil(NowUs() + int64_t{ms} * 1000);
}

// Paints whatever the last change left invalid in the window and its children, now. UpdateWindow
// alone would paint the window but not its children, and the list is a child.
void PaintNow(const CWnd& window)
{
    ::RedrawWindow(window.GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

int RowCount(const CWnd& list)
{
    return static_cast<int>(list.SendMessage(LB_GETCOUNT));
}

// A macro of count events: letters pressed and released in turn, each event followed by a pause
// of 10..99 ms.
std::unique_ptr<MacroRecord> LongMacro(const std::string& name, int count)
{
    auto macro = std::make_unique<MacroRecord>();
    std::memset(macro.get(), 0, sizeof *macro);
    CopyToField(macro->Name, name);
    for (int i = 0; i < count; ++i) {
        MacroEvent& event = macro->Events[i];
        event.Key = static_cast<uint8_t>(kUsageA + (i / 2) % 26);
        event.Action = static_cast<uint8_t>(i % 2);
        event.Delay = static_cast<uint16_t>(10 + i % 90);
    }
    macro->EventCount = count;
    return macro;
}

std::unique_ptr<MacroSet> Set(const std::string& name)
{
    auto set = std::make_unique<MacroSet>();
    CopyToField(set->Name, name);
    return set;
}

// The window a manager would be for the recorder page: a plain top-level window it lives in.
class HostWindow : public CWnd {
public:
    bool Create()
    {
        return CreateEx(0, nullptr, "MacroEditorBench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 80, 480, 384,
                        nullptr, nullptr);
    }
    ~HostWindow() override { DestroyWindow(); }
};

// The manager's two pages as TolkCfg makes them, each noting how long its last LoadMacro took.
class TimedRecorderPage : public CMacroRecorderDlg {
public:
    using CMacroRecorderDlg::CMacroRecorderDlg;
    void LoadMacro(int set, int macro) override
    {
        const int64_t start = NowUs();
        CMacroRecorderDlg::LoadMacro(set, macro);
        lastLoadUs = NowUs() - start;
    }
    int64_t lastLoadUs = 0;
};

class TimedTimingPage : public CMacroAdjustDlg {
public:
    using CMacroAdjustDlg::CMacroAdjustDlg;
    void LoadMacro(int set, int macro) override
    {
        const int64_t start = NowUs();
        CMacroAdjustDlg::LoadMacro(set, macro);
        lastLoadUs = NowUs() - start;
    }
    int64_t lastLoadUs = 0;
};

void PrintRow(const char* step, const std::vector<double>& ms)
{
    std::printf("  %-36s %10.2f %10.2f\n", step, Median(ms), Max(ms));
}

// 1. The recorder's list after a key. A macro of 510 events, each with its pause (1020 rows), is
// loaded and "Start Record after" of the list's context menu continues it at its end (the record
// button would start it anew, empty), with the delay switch on. Then the 511th and the 512th key
// arrive as the capture delivers them, WM_KBDHOOK_KEY, sent here straight to the page: timed is
// the page's handling of that message (the model takes the key, the list is rebuilt from the whole
// macro, and after the 512th the recording stops and the macro is saved), then the paint it
// caused. The way from the keyboard to the message is tolk_key_capture_bench's. A key message the
// hook did not post gets the time it is read as its stamp, so the page takes it like a real one.
bool BenchListRebuild(HWND parent, const char* hooks)
{
    MacroLibrary library;
    library.push_back(Set("Long"));
    library.back()->Elements.push_back(LongMacro("Filled", kEventsBefore));
    const MacroRecord original = *library[0]->Elements[0];
    LastKeyMessage lastKey;

    CMacroRecorderDlg page(library, lastKey);
    if (!page.Create(parent)) {
        std::printf("Recorder list: the page could not be made\n");
        return false;
    }
    page.ShowWindow(SW_SHOW);
    PumpFor(200);
    page.DelaySwitch().SendMessage(BM_CLICK);
    if (!page.Model().RecordPauses()) {
        std::printf("Recorder list: the delay switch did not switch on\n");
        return false;
    }

    std::vector<double> load, handled[2], painted[2], total[2];
    int rows[2] = {};
    int loadedRows = 0;
    int failed = 0;
    for (int run = 0; run <= kRebuildRuns; ++run) {
        // The recording of the run before wrote two more events into the macro.
        *library[0]->Elements[0] = original;
        const int64_t loadStart = NowUs();
        page.LoadMacro(0, 0);
        PaintNow(page);
        const int64_t loadEnd = NowUs();
        loadedRows = RowCount(page.EventList());
        page.SendMessage(WM_COMMAND, MAKEWPARAM(kCmdRecordAfter, 0), 0);
        if (!page.Model().Recording()) {
            ++failed;
            continue;
        }
        PumpFor(30);
        PaintNow(page);

        // Pressed and released: two key messages that differ, as a held key's repeats do not.
        bool ok = true;
        for (int k = 0; k < 2; ++k) {
            const int64_t start = NowUs();
            page.SendMessage(WM_KBDHOOK_KEY, 'A', k == 0 ? 0 : LLKHF_UP);
            const int64_t handledAt = NowUs();
            PaintNow(page);
            const int64_t paintedAt = NowUs();
            ok = ok && page.Model().Count() == kEventsBefore + 1 + k;
            rows[k] = RowCount(page.EventList());
            // The first run warms up (the first rebuild, the first paint of the rows); it is not counted.
            if (run != 0 && ok) {
                handled[k].push_back(Ms(handledAt - start));
                painted[k].push_back(Ms(paintedAt - handledAt));
                total[k].push_back(Ms(paintedAt - start));
            }
        }
        if (run != 0 && ok)
            load.push_back(Ms(loadEnd - loadStart));
        if (!ok || page.Model().Recording()) {
            ++failed;
            if (page.Model().Recording())
                page.RecordButton().SendMessage(BM_CLICK);
        }
        PumpPending();
    }

    std::printf("Recorder list, %s: a macro of %d events with their pauses,\n"
                "recording continued after its end with the delay switch on; one key as WM_KBDHOOK_KEY to the\n"
                "page, its handling (the list rebuilt) and the paint after it (goal: under 16 ms, one frame),\n"
                "%d runs\n",
                hooks, kEventsBefore, kRebuildRuns);
    if (total[0].empty()) {
        std::printf("  no run recorded both keys\n");
        return false;
    }
    std::printf("  %-36s %10s %10s\n", "step", "median ms", "max ms");
    char step[64];
    std::snprintf(step, sizeof step, "macro loaded and painted, %d rows", loadedRows);
    PrintRow(step, load);
    for (int k = 0; k < 2; ++k) {
        const int event = kEventsBefore + 1 + k;
        std::snprintf(step, sizeof step, "key %d handled, %d rows", event, rows[k]);
        PrintRow(step, handled[k]);
        std::snprintf(step, sizeof step, "key %d painted", event);
        PrintRow(step, painted[k]);
        std::snprintf(step, sizeof step, "key %d handled and painted", event);
        PrintRow(step, total[k]);
    }
    std::printf("  the 512th key stops the recording: its handling also saves the macro\n");
    if (failed != 0)
        std::printf("  %d runs did not end with %d events recorded and the recording stopped\n", failed,
                    kMaxMacroEvents);
    return true;
}

// 2. The pauses the recorder stores. Letters pressed and released in turn are sent with SendInput,
// with gaps drawn from 20..120 ms, while the page records with the delay switch on; the keys reach
// the page through the capture's hook, which stamps each one when it sees it. The time of each
// SendInput is taken just before it; each stored pause is compared with the gap between the two
// sends around it. The letters also reach the focused window (the page's list), as a user's do.
bool BenchPauses(HWND parent)
{
    MacroLibrary library;
    library.push_back(Set("Typed"));
    library.back()->Elements.push_back(LongMacro("Recorded", 0));
    LastKeyMessage lastKey;

    CMacroRecorderDlg page(library, lastKey);
    if (!page.Create(parent)) {
        std::printf("Recorder pauses: the page could not be made\n");
        return false;
    }
    page.ShowWindow(SW_SHOW);
    page.LoadMacro(0, 0);
    ::SetForegroundWindow(parent);
    PumpFor(200);
    page.DelaySwitch().SendMessage(BM_CLICK);
    page.RecordButton().SendMessage(BM_CLICK);
    if (!page.Model().RecordPauses() || !page.Model().Recording()) {
        std::printf("Recorder pauses: the recording did not start with the delay switch on\n");
        return false;
    }
    PumpFor(200);

    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> gapMs(kShortestGapMs, kLongestGapMs);
    std::vector<int64_t> sentUs;
    int64_t next = NowUs();
    for (int i = 0; i < kPauseKeys; ++i) {
        PumpUntil(next);
        const BYTE letter = static_cast<BYTE>('A' + (i / 2) % 26);
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = letter;
        input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(letter, 0));
        input.ki.dwFlags = i % 2 == 0 ? 0 : KEYEVENTF_KEYUP;
        sentUs.push_back(NowUs());
        ::SendInput(1, &input, sizeof input);
        next = sentUs.back() + int64_t{gapMs(random)} * 1000;
    }
    PumpFor(300);
    page.RecordButton().SendMessage(BM_CLICK);
    PumpPending();

    // The library's macro: what the page saved when the recording stopped.
    const MacroRecord& macro = *library[0]->Elements[0];
    std::printf("Recorder pauses: %d key events (letters pressed and released) sent with SendInput at gaps of\n"
                "%d..%d ms while the page records with the delay switch on; each stored pause against the gap\n"
                "between the two sends\n",
                kPauseKeys, kShortestGapMs, kLongestGapMs);
    if (page.Model().Recording() || macro.EventCount != kPauseKeys) {
        std::printf("  %d of %d events were recorded%s\n", macro.EventCount, kPauseKeys,
                    page.Model().Recording() ? ", and the recording did not stop" : "");
        if (macro.EventCount <= 1)
            return false;
    }
    std::vector<double> errors;
    double signedSum = 0;
    int wrongKeys = 0;
    const int compared = std::min<int>(macro.EventCount, kPauseKeys) - 1;
    for (int i = 0; i <= compared; ++i) {
        const MacroEvent& event = macro.Events[i];
        if (event.Key != kUsageA + (i / 2) % 26 || event.Action != i % 2)
            ++wrongKeys;
        if (i == compared)
            break;
        const double error = static_cast<double>(event.Delay) -
                             Ms(sentUs[static_cast<std::size_t>(i) + 1] - sentUs[static_cast<std::size_t>(i)]);
        errors.push_back(std::fabs(error));
        signedSum += error;
    }
    std::printf("  %-8s %16s %16s %16s\n", "pauses", "median |err| ms", "max |err| ms", "mean err ms");
    std::printf("  %-8zu %16.2f %16.2f %16.2f\n", errors.size(), Median(errors), Max(errors),
                signedSum / static_cast<double>(errors.size()));
    std::printf("  stored pauses are whole milliseconds: up to 0.5 ms of each error is that rounding\n");
    if (wrongKeys != 0)
        std::printf("  %d recorded events are not the key sent at their place\n", wrongKeys);
    return true;
}

// Chooses an item of the set menu once it is open: the click is made from a timer inside the
// menu's own loop, and the moment of the click is noted.
struct MenuChoice {
    UINT id = 0;
    int64_t clickedAt = 0;
    UINT_PTR timer = 0;
};
MenuChoice g_choice;

void CALLBACK ChooseFromMenu(HWND, UINT, UINT_PTR, DWORD)
{
    HWND window = ::FindWindowA("#32768", nullptr);
    if (window == nullptr || !::IsWindowVisible(window))
        return; // not open yet: the timer comes again
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(window, MN_GETHMENU, 0, 0));
    for (int i = 0; menu != nullptr && i < ::GetMenuItemCount(menu); ++i) {
        RECT item{};
        if (::GetMenuItemID(menu, i) != g_choice.id || !::GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &item))
            continue;
        ::KillTimer(nullptr, g_choice.timer);
        g_choice.timer = 0;
        ::SetCursorPos((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        g_choice.clickedAt = NowUs();
        ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        return;
    }
}

// A give-up for a menu whose item was never found: it closes the menu.
void CALLBACK GiveUpOnMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (g_choice.clickedAt == 0)
        ::EndMenu();
}

// 3. The manager switching sets. The set menu is a popup menu the manager tracks itself and
// answers from its return, so a set is chosen as a user does: a click on the set button opens
// the menu, and a click on a set's item chooses it. Timed is that second click to the set shown:
// the menu closes, the manager lists the set's 100 macros and both pages load its first macro
// (512 events with their pauses), and everything they invalidated is painted.
bool BenchSetSwitch(const char* hooks)
{
    MacroLibrary library;
    for (int s = 0; s < kSets; ++s) {
        library.push_back(Set("Set " + std::to_string(s + 1)));
        for (int m = 0; m < kMacrosPerSet; ++m)
            library.back()->Elements.push_back(
                LongMacro("Macro " + std::to_string(s + 1) + "-" + std::to_string(m + 1), kMaxMacroEvents));
    }
    LastKeyMessage lastKey;
    TimedRecorderPage* recorder = nullptr;
    TimedTimingPage* timing = nullptr;
    const ButtonInfo noKey{};
    CMacroManagerDlg manager(library, 0, noKey);
    manager.SetPageFactories(
        [&](CMacroManagerDlg& owner, const RECT&) -> std::unique_ptr<CWnd> {
            auto page = std::make_unique<TimedRecorderPage>(owner.Library(), lastKey,
                                                            [&owner](bool enable) { owner.EnableControls(enable); });
            recorder = page.get();
            return page->Create(owner.GetSafeHwnd()) ? std::move(page) : nullptr;
        },
        [&](CMacroManagerDlg& owner, const RECT&) -> std::unique_ptr<CWnd> {
            auto page = std::make_unique<TimedTimingPage>(owner.Library(),
                                                          [&owner](bool enable) { owner.EnableControls(enable); });
            timing = page.get();
            return page->Create(owner.GetSafeHwnd()) ? std::move(page) : nullptr;
        });
    if (!manager.Create(nullptr) || manager.BasicPage() == nullptr || manager.AdvancedPage() == nullptr) {
        std::printf("Macro manager: the manager or its pages could not be made\n");
        return false;
    }
    manager.ShowWindow(SW_SHOW);
    ::SetForegroundWindow(manager.GetSafeHwnd());
    PumpFor(300);
    const HWND setButton = manager.SetButton().GetSafeHwnd();

    std::vector<double> shown, recorderLoad, timingLoad;
    int failed = 0;
    int set = manager.Model().SelectedSet();
    for (int run = 0; run <= kSwitchRuns; ++run) {
        const int target = (set + 1) % kSets;
        g_choice = MenuChoice{static_cast<UINT>(kCmdFirstSet + target), 0, 0};
        g_choice.timer = ::SetTimer(nullptr, 0, 20, &ChooseFromMenu);
        const UINT_PTR giveUp = ::SetTimer(nullptr, 0, kGiveUpMs, &GiveUpOnMenu);
        recorder->lastLoadUs = 0;
        timing->lastLoadUs = 0;
        // The set button's click, as the button reports it: the menu runs inside this call.
        manager.SendMessage(WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(setButton));
        PaintNow(manager);
        const int64_t end = NowUs();
        ::KillTimer(nullptr, giveUp);
        if (g_choice.timer != 0)
            ::KillTimer(nullptr, g_choice.timer);
        const bool ok = g_choice.clickedAt != 0 && manager.Model().SelectedSet() == target &&
                        recorder->Model().Count() == kMaxMacroEvents;
        if (!ok) {
            ++failed;
        } else if (run != 0) { // the first switch warms up
            shown.push_back(Ms(end - g_choice.clickedAt));
            recorderLoad.push_back(Ms(recorder->lastLoadUs));
            timingLoad.push_back(Ms(timing->lastLoadUs));
        }
        set = manager.Model().SelectedSet();
        // Away from the manager, so that no hover effect follows the pointer left on the menu.
        ::SetCursorPos(1200, 1000);
        PumpFor(50);
    }
    const int rows = RowCount(recorder->EventList());
    manager.DestroyWindow();

    std::printf("Macro manager, %s: %d sets of %d macros of %d events with\n"
                "their pauses; from the click on a set in the set menu to the set shown and painted (its macros\n"
                "listed, its first macro in the recorder, %d rows, and in the timing editor), %d switches\n",
                hooks, kSets, kMacrosPerSet, kMaxMacroEvents, rows, kSwitchRuns);
    if (shown.empty()) {
        std::printf("  no switch was seen\n");
        return false;
    }
    std::printf("  %-36s %10s %10s\n", "step", "median ms", "max ms");
    PrintRow("click to set shown and painted", shown);
    PrintRow("of it: recorder page LoadMacro", recorderLoad);
    PrintRow("of it: timing page LoadMacro", timingLoad);
    if (failed != 0)
        std::printf("  %d switches did not happen (the menu or its item was not found)\n", failed);
    return true;
}

} // namespace

int main()
{
    // The skins of the built program folder.
    SetSkinProgramFolder(TOLK_DIST);
    ::timeBeginPeriod(1);
    ::SetCursorPos(1200, 1000);

    // TolkCfg frames every menu window through this hook while it runs: a thread hook that sees
    // every message sent to any window of the thread. The list and the manager are measured with
    // it, as the user meets them, and again without it.
    constexpr const char* kHookOn = "menu frame hook on (as TolkCfg runs)";
    constexpr const char* kHookOff = "menu frame hook off";
    bool ok = true;
    for (const char* hooks : {kHookOn, kHookOff}) {
        if (hooks == kHookOn)
            CMenuFrameHook::InstallHook();
        else
            CMenuFrameHook::RemoveHook();
        {
            HostWindow host;
            if (!host.Create()) {
                std::printf("Macro editors: no window to put the recorder in\n");
                return 1;
            }
            ::SetForegroundWindow(host.GetSafeHwnd());
            ok = BenchListRebuild(host.GetSafeHwnd(), hooks) && ok;
            // The pauses come from the hook's stamps, which the menu frame hook does not touch.
            if (hooks == kHookOn)
                ok = BenchPauses(host.GetSafeHwnd()) && ok;
        }
        ok = BenchSetSwitch(hooks) && ok;
    }

    StopKeyCapture();
    ::timeEndPeriod(1);
    return ok ? 0 : 1;
}
