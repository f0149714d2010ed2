// TolkHid.exe: the background host of the keyboard.
#include "BriskhidApp.h"
#include "SendLogToDebugger.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    SendLogToDebugger();
    CBriskhidApp app;
    return RunApplication(app, instance, commandLine, showCommand);
}
