// TolkDeviceSim: the keyboard and its filter driver, simulated behind a named pipe.
//
//   TolkDeviceSim serve [--pipe NAME]          run the keyboard until a "quit" command
//   TolkDeviceSim ctl [--pipe NAME] COMMAND... send one command (see SimulatorCommands.h) to a
//                                             running simulator and print its reply
//
// NAME is a full pipe name (\\.\pipe\X) or just X. ctl exits 0 when the reply ends in "ok", 1 when
// it ends in an error (or the command line is wrong), 2 when no simulator answers.
//
// ctl does not wait for a simulator to appear: when no simulator serves the pipe it fails at once
// (exit 2, "no simulator serves ..."), so a script that has just started one asks until it answers.
// It waits only while a running simulator has every instance busy (up to 2 s) and for the reply
// (up to 10 s: the simulator answers at once, so a longer wait means it hangs).
#include "PipeChannel.h"
#include "PipeServer.h"
#include "SimulatorCommands.h"
#include "UniqueHandle.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr char kDefaultPipe[] = "\\\\.\\pipe\\TolkDeviceSim";
// How long a running simulator may keep every pipe instance busy before ctl gives up.
constexpr DWORD kBusyMs = 2000;
constexpr DWORD kReplyMs = 10000;

constexpr int kExitOk = 0;
constexpr int kExitError = 1;
constexpr int kExitUnreachable = 2;

int Usage()
{
    std::fputs("usage: TolkDeviceSim serve [--pipe NAME]\n"
               "       TolkDeviceSim ctl [--pipe NAME] COMMAND...\n",
               stderr);
    return kExitError;
}

std::string FullPipeName(const std::string& name)
{
    if (name.rfind("\\\\", 0) == 0)
        return name;
    return "\\\\.\\pipe\\" + name;
}

enum class ConnectResult { Connected, NoSimulator, Busy, Failed };

// The simulator's pipe. Fails at once when no simulator serves it; waits up to kBusyMs while a
// running one has every instance busy.
UniqueHandle Connect(const std::string& pipeName, ConnectResult& result, DWORD& error)
{
    const DWORD start = GetTickCount();
    for (;;) {
        UniqueHandle pipe(CreateFileA(pipeName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr));
        if (pipe) {
            result = ConnectResult::Connected;
            return pipe;
        }
        error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            result = ConnectResult::NoSimulator;
            return {};
        }
        const DWORD elapsed = GetTickCount() - start;
        if (error != ERROR_PIPE_BUSY) {
            result = ConnectResult::Failed;
            return {};
        }
        if (elapsed >= kBusyMs) {
            result = ConnectResult::Busy;
            return {};
        }
        // Returns when an instance is free, at the time-out, or at once when the pipe went away.
        WaitNamedPipeA(pipeName.c_str(), kBusyMs - elapsed);
    }
}

int Control(const std::string& pipeName, const std::string& command)
{
    if (command.size() > kPipeMaxPayload) {
        std::fputs("TolkDeviceSim: the command is too long\n", stderr);
        return kExitError;
    }
    ConnectResult connected = ConnectResult::Failed;
    DWORD error = 0;
    UniqueHandle pipe = Connect(pipeName, connected, error);
    switch (connected) {
    case ConnectResult::Connected: break;
    case ConnectResult::NoSimulator:
        std::fprintf(stderr, "TolkDeviceSim: no simulator serves %s\n", pipeName.c_str());
        return kExitUnreachable;
    case ConnectResult::Busy:
        std::fprintf(stderr, "TolkDeviceSim: the simulator at %s stayed busy for %lu ms\n", pipeName.c_str(),
                     static_cast<unsigned long>(kBusyMs));
        return kExitUnreachable;
    case ConnectResult::Failed:
        std::fprintf(stderr, "TolkDeviceSim: %s cannot be opened (error %lu)\n", pipeName.c_str(),
                     static_cast<unsigned long>(error));
        return kExitUnreachable;
    }
    PipeChannel channel(pipe.Get(), nullptr);
    const PipeFrame request{PipeFrameKind::Command, 0, std::vector<uint8_t>(command.begin(), command.end())};
    PipeFrame reply{};
    if (channel.WriteFrame(request, kReplyMs) != PipeResult::Done ||
        channel.ReadFrame(reply, kReplyMs) != PipeResult::Done || reply.kind != PipeFrameKind::Reply) {
        std::fprintf(stderr, "TolkDeviceSim: no answer from the simulator at %s\n", pipeName.c_str());
        return kExitUnreachable;
    }
    // Line breaks pass as sent, without the C runtime's \r\n translation.
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(reply.payload.data(), 1, reply.payload.size(), stdout);
    std::fflush(stdout);
    const std::string text(reply.payload.begin(), reply.payload.end());
    return IsOkReply(text) ? kExitOk : kExitError;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string verb = argv[1];
    std::string pipeName = kDefaultPipe;
    int next = 2;
    if (next < argc && std::strcmp(argv[next], "--pipe") == 0) {
        if (next + 1 >= argc)
            return Usage();
        pipeName = FullPipeName(argv[next + 1]);
        next += 2;
    }

    if (verb == "serve") {
        if (next != argc)
            return Usage();
        return ServeKeyboard(pipeName);
    }
    if (verb == "ctl") {
        if (next >= argc)
            return Usage();
        std::string command = argv[next];
        for (int i = next + 1; i < argc; ++i)
            command += std::string(" ") + argv[i];
        return Control(pipeName, command);
    }
    return Usage();
}
