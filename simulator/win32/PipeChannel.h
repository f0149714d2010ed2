// Frames over one end of a named pipe opened for overlapped I/O. Every wait also ends when the stop
// event (if any) is set or the time-out passes, so no peer can hold a thread for ever.
#pragma once

#include "PipeProtocol.h"
#include "UniqueHandle.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

enum class PipeResult {
    Done,
    Closed,    // the other end went away
    Malformed, // the header is not one of a frame (see DecodePipeHeader); the link is unusable
    Stopped,   // the stop event was set
    TimedOut,
    Failed, // any other system error
};

class PipeChannel {
public:
    // pipe must have been opened with FILE_FLAG_OVERLAPPED and outlive the channel.
    PipeChannel(HANDLE pipe, HANDLE stop);

    PipeResult ReadFrame(PipeFrame& frame, DWORD timeoutMs = INFINITE);
    PipeResult WriteFrame(const PipeFrame& frame, DWORD timeoutMs = INFINITE);
    // Waits until the other end closes; Done when it did, whatever it sent meanwhile is dropped.
    PipeResult WaitForClose(DWORD timeoutMs);

    HANDLE Pipe() const { return m_pipe; }

private:
    PipeResult ReadExact(uint8_t* data, size_t size, DWORD deadlineTick, DWORD timeoutMs);
    PipeResult WriteAll(const uint8_t* data, size_t size, DWORD deadlineTick, DWORD timeoutMs);
    // Waits for the operation started with overlapped; on stop or time-out cancels it first.
    PipeResult Finish(OVERLAPPED& overlapped, DWORD& transferred, DWORD deadlineTick, DWORD timeoutMs);

    HANDLE m_pipe;
    HANDLE m_stop;
    UniqueHandle m_ioEvent;
};
