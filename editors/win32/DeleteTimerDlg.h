// The confirmation before the timer edit dialog deletes its shown timer: IDOK from button "2"
// deletes, IDCANCEL from "3" or "4" keeps the timer. The wording is part of the skin picture.
#pragma once

#include "WarnDlg.h"

class CDeleteTimerDlg : public CWarnDlg {
public:
    CDeleteTimerDlg() : CWarnDlg("skins\\skin_delete_timer.ini") {}
};
