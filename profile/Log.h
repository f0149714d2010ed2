// The one diagnostics channel: one line per event. The Win32 programs send it to the debugger
// output (OutputDebugStringA); elsewhere it goes nowhere unless a sink is set.
#pragma once

using LogSink = void (*)(const char* line);

// Sets where lines go (nullptr: nowhere). Set once at start-up, before any thread logs.
void SetLogSink(LogSink sink);

// printf-style; the text is cut at 1023 characters.
void LogDebug(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
