#include "WinProgramLauncher.h"

#include "WinApi.h"
#include "WinText.h"

#include <shellapi.h>

void WinProgramLauncher::Run(const std::string& commandLine)
{
    WinExec(commandLine.c_str(), SW_SHOWNORMAL);
}

void WinProgramLauncher::ShellOpen(const std::string& file, const std::string& parameters)
{
    ShellExecuteA(nullptr, "open", file.c_str(), NullIfEmpty(parameters), nullptr, SW_SHOW);
}
