// Sends the diagnostics channel (LogDebug) to the debugger's output.
#pragma once

// Call once at start-up, before any thread logs.
void SendLogToDebugger();
