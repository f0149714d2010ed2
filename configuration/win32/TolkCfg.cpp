// TolkCfg.exe: the configuration program of the keyboard.
#include "ConfigApp.h"
#include "Log.h"

#include <windows.h>

namespace {

void SendToDebugger(const char* line)
{
    ::OutputDebugStringA(line);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    SetLogSink(&SendToDebugger);
    CConfigApp app;
    return RunApplication(app, instance, commandLine, showCommand);
}
