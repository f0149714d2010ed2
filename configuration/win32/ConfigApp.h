// TolkCfg's application: one copy per session; the main window runs modally and its end ends the
// program.
#pragma once

#include "UniqueHandle.h"
#include "WinApp.h"

class CConfigApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    UniqueHandle m_instanceMutex;
    bool m_oleStarted = false;
};
