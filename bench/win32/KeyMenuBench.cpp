// Under Wine or Windows: how long a key's menu takes with a full library (51 sets of 100 macros,
// 51 timers), from the start of its building to the menu window on the screen, as the key page
// does it after a click on a key button: the menu as data (BuildKeyMenu), the owner-drawn menus
// (CExMenuTree), then the menu tracked over a window until its menu window ("#32768") is visible
// and the menu waits for input. The menu is then closed, and that is timed no more. Prints figures;
// nothing here passes or fails on time.

#include "ExMenuTree.h"
#include "KeyCommands.h"
#include "KeyMenu.h"
#include "MenuFrameHook.h"
#include "Wnd.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kRuns = 21;
constexpr UINT kGiveUpTimer = 1;
constexpr UINT kGiveUpMs = 5000;

int64_t NowTicks()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

template <size_t N>
void Put(char (&field)[N], const char* text)
{
    std::strncpy(field, text, N - 1);
}

// The owner of the menu, as the key page is: it gets the menu's measure and draw requests (the
// framework hands them to the menu objects) and WM_ENTERIDLE once the menu is up and waits.
class Owner : public BaseWindow<Owner> {
public:
    static MessageSpan MessageEntries()
    {
        static constexpr MessageEntry kEntries[] = {
            OnMessage<WM_ENTERIDLE, &Owner::OnEnterIdle>(),
            OnWmTimer<&Owner::OnTimer>(),
        };
        return kEntries;
    }
    bool Create()
    {
        return CreateEx(WS_EX_TOPMOST, nullptr, "KeyMenuBench", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                        nullptr);
    }

    int64_t shownAt = 0;
    bool gaveUp = false;

private:
    LRESULT OnEnterIdle(WPARAM reason, LPARAM window)
    {
        const HWND menuWindow = reinterpret_cast<HWND>(window);
        char className[16] = {};
        if (reason == MSGF_MENU && shownAt == 0 && menuWindow != nullptr &&
            ::GetClassNameA(menuWindow, className, sizeof className) > 0 && std::strcmp(className, "#32768") == 0 &&
            ::IsWindowVisible(menuWindow)) {
            shownAt = NowTicks();
            ::EndMenu();
        }
        return 0;
    }
    void OnTimer(UINT_PTR id)
    {
        if (id == kGiveUpTimer) {
            gaveUp = true;
            ::EndMenu();
        }
    }
};

struct Run {
    double buildMs; // BuildKeyMenu
    double menusMs; // CExMenuTree
    double totalMs; // from the start to the menu window shown
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Max(const std::vector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

} // namespace

int main()
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    const double ticksPerMs = static_cast<double>(frequency.QuadPart) / 1e3;

    MacroLibrary macros;
    for (int s = 0; s < kMenuMacroSets; ++s) {
        auto set = std::make_unique<MacroSet>();
        std::snprintf(set->Name, sizeof set->Name, "Macro set %02d", s + 1);
        for (int m = 0; m < kMenuMacrosPerSet; ++m) {
            auto macro = std::make_unique<MacroRecord>();
            std::memset(macro.get(), 0, sizeof *macro);
            std::snprintf(macro->Name, sizeof macro->Name, "Macro %02d-%03d", s + 1, m + 1);
            set->Elements.push_back(std::move(macro));
        }
        macros.push_back(std::move(set));
    }
    TimerLibrary timers;
    for (int t = 0; t < kMenuTimers; ++t) {
        auto timer = std::make_unique<TimerRecord>();
        std::memset(timer.get(), 0, sizeof *timer);
        timer->Seconds = 30 + t;
        std::snprintf(timer->Name, sizeof timer->Name, "Timer %02d", t + 1);
        timers.push_back(std::move(timer));
    }
    // The key plays a macro in the middle of the library: its set and macro get their marks.
    ButtonInfo key{};
    key.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    Put(key.MacroSetName, "Macro set 26");
    Put(key.MacroName, "Macro 26-050");

    // TolkCfg frames every menu window through this hook while it runs.
    CMenuFrameHook::InstallHook();
    Owner owner;
    if (!owner.Create()) {
        std::printf("Key menu: no owner window\n");
        return 1;
    }
    ::SetForegroundWindow(owner.GetSafeHwnd());
    const RECT area = owner.GetWindowRect();

    std::vector<Run> runs;
    int failed = 0;
    std::size_t items = 0;
    std::size_t menuCount = 0;
    for (int i = 0; i < kRuns; ++i) {
        owner.shownAt = 0;
        owner.gaveUp = false;
        const int64_t start = NowTicks();
        const Menu root = BuildKeyMenu(key, macros, timers);
        const int64_t built = NowTicks();
        CExMenuTree menus(root);
        const int64_t made = NowTicks();
        owner.SetTimer(kGiveUpTimer, kGiveUpMs);
        menus.Root().Track(owner.GetSafeHwnd(), area.left + 20, area.top + 20, TPM_LEFTALIGN | TPM_TOPALIGN);
        owner.KillTimer(kGiveUpTimer);
        if (owner.shownAt == 0 || owner.gaveUp) {
            ++failed;
            continue;
        }
        runs.push_back(Run{static_cast<double>(built - start) / ticksPerMs,
                           static_cast<double>(made - built) / ticksPerMs,
                           static_cast<double>(owner.shownAt - start) / ticksPerMs});
        menuCount = menus.MenuCount();
        items = 0;
        for (std::size_t m = 0; m < menus.MenuCount(); ++m)
            items += menus.Menu(m).Entries().size();
    }
    owner.DestroyWindow();
    CMenuFrameHook::RemoveHook();

    std::printf("Key menu: %d sets of %d macros and %d timers, %zu menus with %zu items; from the start of\n"
                "building to the menu window shown (goal: under 150 ms), %d runs\n",
                kMenuMacroSets, kMenuMacrosPerSet, kMenuTimers, menuCount, items, kRuns);
    if (runs.empty()) {
        std::printf("  no menu was seen shown\n");
        return 1;
    }
    std::vector<double> build, make, total;
    for (const Run& run : runs) {
        build.push_back(run.buildMs);
        make.push_back(run.menusMs);
        total.push_back(run.totalMs);
    }
    std::printf("  %-26s %10s %10s %10s\n", "step", "first ms", "median ms", "max ms");
    std::printf("  %-26s %10.2f %10.2f %10.2f\n", "menu as data", build.front(), Median(build), Max(build));
    std::printf("  %-26s %10.2f %10.2f %10.2f\n", "owner-drawn menus", make.front(), Median(make), Max(make));
    std::printf("  %-26s %10.2f %10.2f %10.2f\n", "start to menu shown", total.front(), Median(total), Max(total));
    if (failed != 0)
        std::printf("  %d runs showed no menu within %u ms\n", failed, kGiveUpMs);
    return 0;
}
