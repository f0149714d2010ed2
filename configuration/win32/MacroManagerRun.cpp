#include "MacroManagerRun.h"

#include "KeyCommands.h"

#include <utility>

bool RunMacroManager(HWND owner, MacroLibrary& macros, const std::string& folder, int set, const ButtonInfo& key,
                     CMacroManagerDlg::PageFactory basic, CMacroManagerDlg::PageFactory advanced, bool* pausesCapped)
{
    bool ok = false;
    bool capped = false;
    {
        CMacroManagerDlg manager(macros, set, key);
        manager.SetPageFactories(std::move(basic), std::move(advanced));
        ok = manager.DoModal(owner) == IDOK;
        capped = manager.PausesCapped();
    }
    if (pausesCapped != nullptr)
        *pausesCapped = ok && capped;
    // The manager and its pages are gone before the library they showed is replaced.
    return EndMacroManager(ok, macros, folder) && ok;
}
