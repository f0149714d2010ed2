#include "TimerDialogs.h"

#include "CountdownTimerDlg.h"
#include "EditTimerDlg.h"
#include "KeyCommands.h"

bool RunCreateTimerDialog(HWND owner, TimerLibrary& timers, const std::string& folder)
{
    if (!CanCreateTimer(timers))
        return false;
    CCountdownTimerDlg dialog(timers);
    if (dialog.DoModal(owner) != IDOK)
        return false;
    return AddCreatedTimer(timers, dialog.Name(), dialog.Seconds(), folder);
}

bool RunEditTimerDialog(HWND owner, TimerLibrary& timers, const std::string& folder)
{
    if (!CanEditTimers(timers))
        return false;
    CEditTimerDlg dialog(timers);
    if (dialog.DoModal(owner) != IDOK)
        return false;
    return SaveTimerLibrary(timers, folder);
}
