// The keyboard simulator's stand-in for the filter driver: the same open, control and close calls,
// carried as frames over a named pipe to TolkDeviceSim. One connection, one call at a time.
#pragma once

#include "PipeProtocol.h"
#include "Ports.h"
#include "UniqueHandle.h"
#include "WinApi.h"

#include <mutex>
#include <string>

class PipeFilterDriver final : public FilterDriver {
public:
    // How long Open waits for a free instance of an existing pipe.
    static constexpr DWORD kConnectWaitMs = 2000;

    // pipeName: "\\.\pipe\..."
    explicit PipeFilterDriver(std::string pipeName);
    ~PipeFilterDriver() override;

    // Connects and asks the simulator to open; false (and no connection kept) when the pipe is
    // missing or the simulator refuses. Opening again closes the previous connection first.
    bool Open() override;
    // Tells the simulator and disconnects.
    void Close() override;
    // On success copies the reply, up to outLength bytes, into reply. A failed call, a refusal and a
    // malformed reply all give false; the connection stays as it is.
    bool Control(uint32_t code, const uint8_t* request, uint32_t inLength, uint8_t* reply, uint32_t outLength) override;

private:
    // Sends frame and reads one Reply frame; nothing on a transport error or a malformed reply.
    std::optional<PipeFrame> Exchange(const PipeFrame& frame);
    bool WriteAll(const std::vector<uint8_t>& bytes);
    bool ReadExactly(uint8_t* destination, size_t size);
    void CloseLocked();

    std::string m_pipeName;
    std::mutex m_mutex;
    UniqueHandle m_pipe;
};
