#include "PipeServer.h"

#include "KeyboardModel.h"
#include "PipeChannel.h"
#include "SimulatorCommands.h"
#include "SteadyClock.h"
#include "UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace {

constexpr DWORD kPipeBufferSize = 64 * 1024;
// After answering "quit", how long the asking client may take to read the answer and hang up.
constexpr DWORD kQuitReadMs = 2000;
// The most wake-ups the host's semaphore can hold.
constexpr size_t kSemaphoreMaximum = 100;
// Instances listening for the next client at any time.
constexpr size_t kListenerCount = 2;
// Pause before trying again when a further pipe instance cannot be made.
constexpr DWORD kRetryMs = 100;

class KeyboardServer {
public:
    explicit KeyboardServer(std::string pipeName);
    int Run();

private:
    struct Client {
        std::thread thread;
        std::atomic<bool> finished{false};
    };

    // One pipe instance waiting for its client; event is set when the client has connected.
    struct Listener {
        UniqueHandle pipe;
        UniqueHandle event;
        OVERLAPPED overlapped{};
        bool connectedAtOnce = false;
    };

    UniqueHandle NewInstance(bool first);
    // A fresh instance listening; false (and no pipe) when none could be made.
    bool Listen(Listener& listener, bool first);
    // Ends a pending wait for a client; the overlapped structure is free when it returns.
    void StopListening(Listener& listener);
    void Serve(HANDLE pipe);
    PipeFrame Answer(HANDLE pipe, const PipeFrame& frame, bool& quit, bool& malformed);
    PipeFrame AnswerControl(HANDLE pipe, const ControlRequest& control);
    // The semaphore of a register call, taken out of the client's process as the driver does.
    UniqueHandle DuplicateClientSemaphore(HANDLE pipe, uint32_t handleValue);
    // Releases the registered semaphore count times, as the driver does once per queued event.
    void WakeHost(LONG count);
    void JoinFinished(bool all);

    std::string m_pipeName;
    SteadyClock m_clock;
    KeyboardModel m_kb;
    UniqueHandle m_quit;

    std::mutex m_semaphoreMutex;
    UniqueHandle m_semaphore;

    std::list<std::unique_ptr<Client>> m_clients;
};

KeyboardServer::KeyboardServer(std::string pipeName)
    : m_pipeName(std::move(pipeName)), m_kb(&m_clock), m_quit(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    m_kb.onEventQueued = [this] { WakeHost(1); };
}

void KeyboardServer::WakeHost(LONG count)
{
    std::lock_guard<std::mutex> lock(m_semaphoreMutex);
    // One at a time: a release beyond the semaphore's maximum fails whole, and a full semaphore
    // already wakes the host often enough to read what is queued.
    for (LONG i = 0; m_semaphore && i < count; ++i)
        if (!ReleaseSemaphore(m_semaphore.Get(), 1, nullptr))
            break;
}

UniqueHandle KeyboardServer::NewInstance(bool first)
{
    DWORD openMode = PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED;
    if (first)
        openMode |= FILE_FLAG_FIRST_PIPE_INSTANCE;
    return UniqueHandle(CreateNamedPipeA(m_pipeName.c_str(), openMode, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                                         PIPE_UNLIMITED_INSTANCES, kPipeBufferSize, kPipeBufferSize, 0, nullptr));
}

UniqueHandle KeyboardServer::DuplicateClientSemaphore(HANDLE pipe, uint32_t handleValue)
{
    ULONG pid = 0;
    if (!GetNamedPipeClientProcessId(pipe, &pid)) {
        std::fprintf(stderr, "TolkDeviceSim: the client's process is unknown (error %lu)\n", GetLastError());
        return {};
    }
    UniqueHandle process(OpenProcess(PROCESS_DUP_HANDLE, FALSE, pid));
    if (!process) {
        std::fprintf(stderr, "TolkDeviceSim: process %lu cannot be opened (error %lu)\n", pid, GetLastError());
        return {};
    }
    HANDLE semaphore = nullptr;
    // The register call carries a 32-bit handle value; a 64-bit process's handle is its sign
    // extension, as the driver takes it.
    const HANDLE source = LongToHandle(static_cast<LONG>(handleValue));
    if (!DuplicateHandle(process.Get(), source, GetCurrentProcess(), &semaphore, SEMAPHORE_MODIFY_STATE, FALSE, 0)) {
        std::fprintf(stderr, "TolkDeviceSim: handle %#x of process %lu cannot be duplicated (error %lu)\n", handleValue,
                     pid, GetLastError());
        return {};
    }
    return UniqueHandle(semaphore);
}

PipeFrame KeyboardServer::AnswerControl(HANDLE pipe, const ControlRequest& control)
{
    const size_t bufferSize =
        std::max<size_t>({static_cast<size_t>(control.outLength), control.request.size(), kRequestBufferSize});
    std::vector<uint8_t> reply(bufferSize, 0);
    const uint8_t* request = control.request.empty() ? nullptr : control.request.data();
    bool ok = m_kb.Control(control.code, request, static_cast<uint32_t>(control.request.size()), reply.data(),
                           control.outLength);

    if (ok && control.code == IOCTL_FLT_REGISTER_EVENT) {
        const uint32_t value = uint32_t{control.request[0]} | uint32_t{control.request[1]} << 8 |
                               uint32_t{control.request[2]} << 16 | uint32_t{control.request[3]} << 24;
        UniqueHandle semaphore = DuplicateClientSemaphore(pipe, value);
        // As with the driver, a handle that cannot be referenced refuses the call.
        ok = static_cast<bool>(semaphore);
        if (ok) {
            {
                std::lock_guard<std::mutex> lock(m_semaphoreMutex);
                m_semaphore = std::move(semaphore);
            }
            // Events queued while nobody listened are announced now, so none waits for a later one.
            WakeHost(static_cast<LONG>(std::min<size_t>(m_kb.PendingEvents(), kSemaphoreMaximum)));
        }
    } else if (ok && control.code == IOCTL_FLT_UNREGISTER) {
        std::lock_guard<std::mutex> lock(m_semaphoreMutex);
        m_semaphore.Reset();
    }

    reply.resize(control.outLength);
    return PipeFrame{PipeFrameKind::Reply, ok ? 1u : 0u, std::move(reply)};
}

PipeFrame KeyboardServer::Answer(HANDLE pipe, const PipeFrame& frame, bool& quit, bool& malformed)
{
    switch (frame.kind) {
    case PipeFrameKind::Open: return PipeFrame{PipeFrameKind::Reply, m_kb.Open() ? 1u : 0u, {}};
    case PipeFrameKind::Close: m_kb.Close(); return PipeFrame{PipeFrameKind::Reply, 1, {}};
    case PipeFrameKind::Control: {
        const std::optional<ControlRequest> control = ParseControlFrame(frame);
        if (!control)
            break;
        return AnswerControl(pipe, *control);
    }
    case PipeFrameKind::Command: {
        const std::string line(frame.payload.begin(), frame.payload.end());
        const std::string text = RunSimulatorCommand(m_kb, line, quit);
        return PipeFrame{PipeFrameKind::Reply, IsOkReply(text) ? 1u : 0u,
                         std::vector<uint8_t>(text.begin(), text.end())};
    }
    case PipeFrameKind::Reply: break;
    }
    malformed = true;
    return {};
}

void KeyboardServer::Serve(HANDLE pipe)
{
    PipeChannel channel(pipe, m_quit.Get());
    for (;;) {
        PipeFrame frame{};
        if (channel.ReadFrame(frame) != PipeResult::Done)
            return;
        bool quit = false;
        bool malformed = false;
        const PipeFrame reply = Answer(pipe, frame, quit, malformed);
        if (malformed)
            return;
        if (channel.WriteFrame(reply) != PipeResult::Done)
            return;
        if (quit) {
            // Closing first could take the answer away before the client has read it.
            channel.WaitForClose(kQuitReadMs);
            SetEvent(m_quit.Get());
            return;
        }
    }
}

void KeyboardServer::JoinFinished(bool all)
{
    for (auto it = m_clients.begin(); it != m_clients.end();) {
        if (all || (*it)->finished) {
            (*it)->thread.join();
            it = m_clients.erase(it);
        } else {
            ++it;
        }
    }
}

bool KeyboardServer::Listen(Listener& listener, bool first)
{
    // Unsignalled first: a listener left without a pipe must not wake the loop again and again.
    ResetEvent(listener.event.Get());
    listener.pipe = NewInstance(first);
    listener.connectedAtOnce = false;
    if (!listener.pipe)
        return false;
    listener.overlapped = OVERLAPPED{};
    listener.overlapped.hEvent = listener.event.Get();
    if (!ConnectNamedPipe(listener.pipe.Get(), &listener.overlapped)) {
        const DWORD error = GetLastError();
        if (error == ERROR_PIPE_CONNECTED) {
            // The client came between creation and listening; nothing signals the event for it.
            listener.connectedAtOnce = true;
            SetEvent(listener.event.Get());
        } else if (error != ERROR_IO_PENDING) {
            // A client that came and went at once; this instance is spent.
            listener.pipe.Reset();
            return false;
        }
    }
    return true;
}

void KeyboardServer::StopListening(Listener& listener)
{
    if (!listener.pipe || listener.connectedAtOnce)
        return;
    CancelIoEx(listener.pipe.Get(), &listener.overlapped);
    DWORD unused = 0;
    GetOverlappedResult(listener.pipe.Get(), &listener.overlapped, &unused, TRUE);
}

int KeyboardServer::Run()
{
    if (!m_quit)
        return 1;
    // Wine ignores FILE_FLAG_FIRST_PIPE_INSTANCE, so a named mutex per pipe name (pipe names
    // ignore case; mutex names may not hold '\\') keeps a second simulator off the same name.
    std::string mutexName = "TolkDeviceSim:" + m_pipeName;
    for (char& c : mutexName)
        c = c == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    UniqueHandle single(CreateMutexA(nullptr, FALSE, mutexName.c_str()));
    if (!single || GetLastError() == ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "TolkDeviceSim: cannot serve %s: %s\n", m_pipeName.c_str(),
                     single ? "another simulator serves it" : "the name is not usable");
        return 1;
    }

    // Two instances listen at all times, so that while one is handed to its client and replaced,
    // the next client still finds one free instead of a busy pipe.
    Listener listeners[kListenerCount];
    for (Listener& listener : listeners) {
        listener.event = UniqueHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        if (!listener.event)
            return 1;
    }
    if (!Listen(listeners[0], true)) {
        std::fprintf(stderr, "TolkDeviceSim: cannot serve %s (error %lu)\n", m_pipeName.c_str(), GetLastError());
        return 1;
    }
    // Retried below when they fail.
    for (size_t i = 1; i < kListenerCount; ++i)
        Listen(listeners[i], false);
    std::fprintf(stderr, "TolkDeviceSim: serving %s\n", m_pipeName.c_str());

    for (;;) {
        HANDLE waits[1 + kListenerCount] = {m_quit.Get()};
        bool incomplete = false;
        for (size_t i = 0; i < kListenerCount; ++i) {
            waits[1 + i] = listeners[i].event.Get();
            incomplete = incomplete || !listeners[i].pipe;
        }
        // A listener without a pipe has no event to wait for: try it again after a pause.
        const DWORD woke = WaitForMultipleObjects(1 + kListenerCount, waits, FALSE, incomplete ? kRetryMs : INFINITE);
        if (woke == WAIT_OBJECT_0)
            break;
        if (woke == WAIT_TIMEOUT) {
            for (Listener& listener : listeners)
                if (!listener.pipe)
                    Listen(listener, false);
            continue;
        }
        if (woke < WAIT_OBJECT_0 + 1 || woke >= WAIT_OBJECT_0 + 1 + kListenerCount)
            break;
        Listener& listener = listeners[woke - WAIT_OBJECT_0 - 1];
        DWORD unused = 0;
        const bool isConnected =
            listener.pipe && (listener.connectedAtOnce ||
                              GetOverlappedResult(listener.pipe.Get(), &listener.overlapped, &unused, FALSE));
        UniqueHandle clientPipe = std::move(listener.pipe);
        Listen(listener, false);
        if (!isConnected)
            continue;

        auto client = std::make_unique<Client>();
        Client* self = client.get();
        client->thread = std::thread([this, self, owned = std::move(clientPipe)] {
            Serve(owned.Get());
            self->finished = true;
        });
        m_clients.push_back(std::move(client));
        JoinFinished(false);
    }

    for (Listener& listener : listeners)
        StopListening(listener);
    SetEvent(m_quit.Get());
    JoinFinished(true);
    return 0;
}

} // namespace

int ServeKeyboard(const std::string& pipeName)
{
    KeyboardServer server(pipeName);
    return server.Run();
}
