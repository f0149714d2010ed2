// The confirmation before the macro manager deletes the selected macro: IDOK from button "2"
// deletes, IDCANCEL from "3" or "4" keeps it. The wording is part of the skin picture.
#pragma once

#include "WarnDlg.h"

class CDeleteMacroWarn : public CWarnDlg {
public:
    CDeleteMacroWarn() : CWarnDlg("skins\\skin_delete_macro.ini") {}
};
