#include "SendLogToDebugger.h"

#include "Log.h"
#include "WinApi.h"

namespace {

void WriteToDebugger(const char* line)
{
    OutputDebugStringA(line);
}

} // namespace

void SendLogToDebugger()
{
    SetLogSink(WriteToDebugger);
}
