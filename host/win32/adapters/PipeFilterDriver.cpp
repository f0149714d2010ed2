#include "PipeFilterDriver.h"

#include "Log.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kReplyOk = 1;
constexpr int kConnectTries = 3;

} // namespace

PipeFilterDriver::PipeFilterDriver(std::string pipeName) : m_pipeName(std::move(pipeName)) {}

PipeFilterDriver::~PipeFilterDriver()
{
    Close();
}

bool PipeFilterDriver::Open()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    CloseLocked();
    // Another client may take the free instance between the wait and the open; then wait again.
    for (int attempt = 0; attempt < kConnectTries && !m_pipe; ++attempt) {
        if (!WaitNamedPipeA(m_pipeName.c_str(), kConnectWaitMs))
            return false;
        m_pipe.Reset(
            CreateFileA(m_pipeName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!m_pipe && GetLastError() != ERROR_PIPE_BUSY)
            return false;
    }
    if (!m_pipe)
        return false;
    const std::optional<PipeFrame> reply = Exchange(PipeFrame{PipeFrameKind::Open, 0, {}});
    if (!reply || reply->value != kReplyOk) {
        LogDebug("PipeFilterDriver: open refused (%lu)\n", reply ? static_cast<unsigned long>(reply->value) : 0ul);
        m_pipe.Reset();
        return false;
    }
    return true;
}

void PipeFilterDriver::Close()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    CloseLocked();
}

void PipeFilterDriver::CloseLocked()
{
    if (!m_pipe)
        return;
    // The reply is awaited so that the simulator has closed its side of the link when Close returns.
    Exchange(PipeFrame{PipeFrameKind::Close, 0, {}});
    m_pipe.Reset();
}

bool PipeFilterDriver::Control(uint32_t code, const uint8_t* request, uint32_t inLength, uint8_t* reply,
                               uint32_t outLength)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!m_pipe)
        return false;
    // The frame copies the request before anything is written to reply, which may be the same buffer.
    const std::optional<PipeFrame> answer = Exchange(MakeControlFrame(code, request, inLength, outLength));
    if (!answer || answer->value != kReplyOk)
        return false;
    const size_t count = std::min<size_t>(answer->payload.size(), outLength);
    if (reply && count)
        std::memcpy(reply, answer->payload.data(), count);
    return true;
}

std::optional<PipeFrame> PipeFilterDriver::Exchange(const PipeFrame& frame)
{
    if (!WriteAll(EncodePipeFrame(frame))) {
        LogDebug("PipeFilterDriver: write failed (error %lu)\n", GetLastError());
        return std::nullopt;
    }
    uint8_t headerBytes[kPipeHeaderSize];
    if (!ReadExactly(headerBytes, sizeof headerBytes)) {
        LogDebug("PipeFilterDriver: no reply (error %lu)\n", GetLastError());
        return std::nullopt;
    }
    const std::optional<PipeHeader> header = DecodePipeHeader(headerBytes, sizeof headerBytes);
    if (!header) {
        LogDebug("PipeFilterDriver: malformed reply header to frame kind %lu\n",
                 static_cast<unsigned long>(frame.kind));
        return std::nullopt;
    }
    PipeFrame reply{header->kind, header->value, std::vector<uint8_t>(header->length)};
    if (header->length && !ReadExactly(reply.payload.data(), reply.payload.size())) {
        LogDebug("PipeFilterDriver: reply payload cut short (error %lu)\n", GetLastError());
        return std::nullopt;
    }
    if (reply.kind != PipeFrameKind::Reply) {
        LogDebug("PipeFilterDriver: frame kind %lu where a reply belongs\n", static_cast<unsigned long>(reply.kind));
        return std::nullopt;
    }
    return reply;
}

bool PipeFilterDriver::WriteAll(const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(m_pipe.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

bool PipeFilterDriver::ReadExactly(uint8_t* destination, size_t size)
{
    size_t done = 0;
    while (done < size) {
        DWORD read = 0;
        if (!ReadFile(m_pipe.Get(), destination + done, static_cast<DWORD>(size - done), &read, nullptr)) {
            // A message-mode server's frame arrives in pieces; the rest is read in the next turn.
            if (GetLastError() != ERROR_MORE_DATA)
                return false;
        } else if (read == 0) {
            return false;
        }
        done += read;
    }
    return true;
}
