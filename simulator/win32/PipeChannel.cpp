#include "PipeChannel.h"

namespace {

PipeResult FromError(DWORD error)
{
    switch (error) {
    case ERROR_BROKEN_PIPE:
    case ERROR_PIPE_NOT_CONNECTED:
    case ERROR_NO_DATA:
    case ERROR_HANDLE_EOF: return PipeResult::Closed;
    default: return PipeResult::Failed;
    }
}

// What is left of a time-out that started when deadlineTick was computed.
DWORD Remaining(DWORD deadlineTick, DWORD timeoutMs)
{
    if (timeoutMs == INFINITE)
        return INFINITE;
    const DWORD now = GetTickCount();
    const LONG left = static_cast<LONG>(deadlineTick - now);
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

} // namespace

PipeChannel::PipeChannel(HANDLE pipe, HANDLE stop)
    : m_pipe(pipe), m_stop(stop), m_ioEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
}

PipeResult PipeChannel::Finish(OVERLAPPED& overlapped, DWORD& transferred, DWORD deadlineTick, DWORD timeoutMs)
{
    HANDLE waits[2] = {overlapped.hEvent, m_stop};
    const DWORD count = m_stop ? 2 : 1;
    const DWORD woke = WaitForMultipleObjects(count, waits, FALSE, Remaining(deadlineTick, timeoutMs));
    if (woke != WAIT_OBJECT_0) {
        CancelIoEx(m_pipe, &overlapped);
        // The operation writes into overlapped until it has ended, cancelled or not.
        GetOverlappedResult(m_pipe, &overlapped, &transferred, TRUE);
        if (woke == WAIT_TIMEOUT)
            return PipeResult::TimedOut;
        return woke == WAIT_OBJECT_0 + 1 ? PipeResult::Stopped : PipeResult::Failed;
    }
    if (!GetOverlappedResult(m_pipe, &overlapped, &transferred, FALSE))
        return FromError(GetLastError());
    return PipeResult::Done;
}

PipeResult PipeChannel::ReadExact(uint8_t* data, size_t size, DWORD deadlineTick, DWORD timeoutMs)
{
    if (!m_ioEvent)
        return PipeResult::Failed;
    size_t done = 0;
    while (done < size) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = m_ioEvent.Get();
        ResetEvent(overlapped.hEvent);
        if (!ReadFile(m_pipe, data + done, static_cast<DWORD>(size - done), nullptr, &overlapped)) {
            const DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING)
                return FromError(error);
        }
        DWORD transferred = 0;
        const PipeResult result = Finish(overlapped, transferred, deadlineTick, timeoutMs);
        if (result != PipeResult::Done)
            return result;
        done += transferred;
    }
    return PipeResult::Done;
}

PipeResult PipeChannel::WriteAll(const uint8_t* data, size_t size, DWORD deadlineTick, DWORD timeoutMs)
{
    if (!m_ioEvent)
        return PipeResult::Failed;
    size_t done = 0;
    while (done < size) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = m_ioEvent.Get();
        ResetEvent(overlapped.hEvent);
        if (!WriteFile(m_pipe, data + done, static_cast<DWORD>(size - done), nullptr, &overlapped)) {
            const DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING)
                return FromError(error);
        }
        DWORD transferred = 0;
        const PipeResult result = Finish(overlapped, transferred, deadlineTick, timeoutMs);
        if (result != PipeResult::Done)
            return result;
        done += transferred;
    }
    return PipeResult::Done;
}

PipeResult PipeChannel::ReadFrame(PipeFrame& frame, DWORD timeoutMs)
{
    const DWORD deadlineTick = GetTickCount() + timeoutMs;
    uint8_t header[kPipeHeaderSize];
    PipeResult result = ReadExact(header, sizeof header, deadlineTick, timeoutMs);
    if (result != PipeResult::Done)
        return result;
    const std::optional<PipeHeader> decoded = DecodePipeHeader(header, sizeof header);
    if (!decoded)
        return PipeResult::Malformed;
    frame.kind = decoded->kind;
    frame.value = decoded->value;
    frame.payload.assign(decoded->length, 0);
    return ReadExact(frame.payload.data(), frame.payload.size(), deadlineTick, timeoutMs);
}

PipeResult PipeChannel::WriteFrame(const PipeFrame& frame, DWORD timeoutMs)
{
    const std::vector<uint8_t> bytes = EncodePipeFrame(frame);
    return WriteAll(bytes.data(), bytes.size(), GetTickCount() + timeoutMs, timeoutMs);
}

PipeResult PipeChannel::WaitForClose(DWORD timeoutMs)
{
    if (!m_ioEvent)
        return PipeResult::Failed;
    const DWORD deadlineTick = GetTickCount() + timeoutMs;
    uint8_t sink[256];
    for (;;) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = m_ioEvent.Get();
        ResetEvent(overlapped.hEvent);
        if (!ReadFile(m_pipe, sink, sizeof sink, nullptr, &overlapped)) {
            const DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING)
                return FromError(error) == PipeResult::Closed ? PipeResult::Done : PipeResult::Failed;
        }
        DWORD transferred = 0;
        const PipeResult result = Finish(overlapped, transferred, deadlineTick, timeoutMs);
        if (result == PipeResult::Closed)
            return PipeResult::Done;
        if (result != PipeResult::Done)
            return result;
    }
}
