// The confirmation before the macro manager deletes the selected set with all its macros: IDOK
// from button "2" deletes, IDCANCEL from "3" or "4" keeps it. The wording is part of the skin
// picture.
#pragma once

#include "WarnDlg.h"

class CDeleteMacroSet : public CWarnDlg {
public:
    CDeleteMacroSet() : CWarnDlg("skins\\skin_delete_macro_set.ini") {}
};
