// TolkHid.exe: the background host of the keyboard.
#include "TolkHidApp.h"
#include "SendLogToDebugger.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    SendLogToDebugger();
    CTolkHidApp app;
    return RunApplication(app, instance, commandLine, showCommand);
}
