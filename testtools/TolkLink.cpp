// TolkLink: the other end of the link between the host and the configuration program, for tests.
//
//   TolkLink read FILE       copy the shared block (under its lock) into FILE
//   TolkLink apply FILE      copy FILE (exactly one profile set) into the shared block under its lock,
//                            then send WM_HOST_APPLY to the host's window and wait for the answer
//   TolkLink post TITLE MESSAGE [WPARAM [LPARAM]]
//                            post MESSAGE to the window titled exactly TITLE
//   TolkLink send TITLE MESSAGE [WPARAM [LPARAM]]
//                            send MESSAGE to the window titled exactly TITLE, as the system sends
//                            the end of the session, and print the window's answer (decimal)
//   TolkLink ping TITLE COUNT
//                            send WM_NULL COUNT times, 20 ms apart, to the window titled exactly
//                            TITLE and print the longest wait for its answer in milliseconds
//   TolkLink broadcast NAME  post the registered message NAME (RegisterWindowMessage) to every
//                            top-level window, as the taskbar announces "TaskbarCreated"
//   TolkLink squat SECONDS   hold the block's lock and a mapping of the block's name that is too
//                            small for a profile set, for SECONDS, as a broken or foreign program
//                            would: the configuration program then cannot map the block
//
// Numbers are decimal or 0x hex; MESSAGE may also be a name: WM_CLOSE, WM_COMMAND, WM_USER,
// WM_USER+N, WM_HOST_APPLY, WM_CFG_DEVICE_READY, WM_CFG_DATA_CHANGED, WM_OSD_COMMAND.
// Exit code 0 on success, 1 on any failure (a message on stderr says which).
#include "LinkNames.h"
#include "Text.h"
#include "WinSharedBlock.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr size_t kBlockSize = kSharedBlockSize;

// No copy holds the lock for long; a longer wait means the lock is stuck.
constexpr DWORD kLockWaitMs = 10000;
// The host answers WM_HOST_APPLY once it has taken the set over; its push to the keyboard follows.
constexpr DWORD kApplyWaitMs = 60000;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;

int Fail(const std::string& message)
{
    std::fprintf(stderr, "TolkLink: %s\n", message.c_str());
    return kExitFailed;
}

int Usage()
{
    std::fputs("usage: TolkLink read FILE\n"
               "       TolkLink apply FILE\n"
               "       TolkLink post TITLE MESSAGE [WPARAM [LPARAM]]\n"
               "       TolkLink send TITLE MESSAGE [WPARAM [LPARAM]]\n"
               "       TolkLink ping TITLE COUNT\n"
               "       TolkLink broadcast NAME\n"
               "       TolkLink squat SECONDS\n",
               stderr);
    return kExitFailed;
}

// The host's shared block, opened as the configuration program opens it; nothing (and a message on
// stderr) when it cannot be.
std::unique_ptr<WinSharedBlock> OpenBlock()
{
    SharedBlockOpenError error = SharedBlockOpenError::None;
    std::unique_ptr<WinSharedBlock> block = WinSharedBlock::OpenExisting({}, &error);
    if (block) {
        block->LimitLockWait(kLockWaitMs);
        return block;
    }
    if (error == SharedBlockOpenError::CannotMapView)
        Fail("the shared block cannot be mapped");
    else
        Fail(std::string("no shared block named ") + kSharedBlockMappingName + " with its lock " +
             kSharedBlockLockName + " (is the host running?)");
    return nullptr;
}

int Read(const std::string& path)
{
    const std::unique_ptr<WinSharedBlock> block = OpenBlock();
    if (!block)
        return kExitFailed;
    auto set = std::make_unique<ProfileSet>();
    if (!block->ReadRaw(*set))
        return Fail("the shared block's lock cannot be taken");
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(set.get()), static_cast<std::streamsize>(kBlockSize));
    file.close();
    if (!file)
        return Fail("cannot write " + path);
    return kExitOk;
}

int Apply(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return Fail("cannot read " + path);
    std::vector<uint8_t> bytes;
    // One byte more than a profile set is enough to tell a longer file.
    bytes.resize(kBlockSize + 1);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<size_t>(file.gcount()) != kBlockSize)
        return Fail(path + " does not hold exactly " + std::to_string(kBlockSize) + " bytes");
    auto set = std::make_unique<ProfileSet>();
    std::memcpy(set.get(), bytes.data(), kBlockSize);

    const std::unique_ptr<WinSharedBlock> block = OpenBlock();
    if (!block)
        return kExitFailed;
    if (!block->Write(*set))
        return Fail("the shared block's lock cannot be taken");

    const HWND host = FindWindowA(nullptr, kHostWindowTitle);
    if (!host)
        return Fail(std::string("the block was written but there is no window titled ") + kHostWindowTitle);
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(host, WM_HOST_APPLY, 0, 0, SMTO_NORMAL, kApplyWaitMs, &answer))
        return Fail("the host did not answer WM_HOST_APPLY (error " + std::to_string(GetLastError()) + ")");
    return kExitOk;
}

std::optional<uint32_t> ParseMessage(const std::string& text)
{
    static const struct {
        const char* name;
        uint32_t message;
    } kNames[] = {
        {"WM_CLOSE", WM_CLOSE},
        {"WM_COMMAND", WM_COMMAND},
        {"WM_USER", WM_USER},
        {"WM_HOST_APPLY", WM_HOST_APPLY},
        {"WM_CFG_DEVICE_READY", WM_CFG_DEVICE_READY},
        {"WM_CFG_DATA_CHANGED", WM_CFG_DATA_CHANGED},
        {"WM_OSD_COMMAND", WM_OSD_COMMAND},
    };
    for (const auto& entry : kNames)
        if (text == entry.name)
            return entry.message;
    const std::string userPrefix = "WM_USER+";
    if (text.rfind(userPrefix, 0) == 0) {
        const std::optional<uint32_t> offset = ParseNumber(text.substr(userPrefix.size()));
        if (!offset || *offset > 0xFFFF - WM_USER)
            return std::nullopt;
        return WM_USER + *offset;
    }
    const std::optional<uint32_t> number = ParseNumber(text);
    if (!number || *number > 0xFFFF)
        return std::nullopt;
    return number;
}

// A sent message that takes longer than this is taken for a window that hangs.
constexpr DWORD kSendWaitMs = 10000;

// post (send false) or send.
int Deliver(const std::vector<std::string>& args, bool send)
{
    const std::string& title = args[0];
    const std::optional<uint32_t> message = ParseMessage(args[1]);
    if (!message)
        return Fail("'" + args[1] + "' is not a message number (0..0xFFFF) or name");
    uint32_t parameters[2] = {0, 0};
    for (size_t i = 2; i < args.size(); ++i) {
        const std::optional<uint32_t> value = ParseNumber(args[i]);
        if (!value)
            return Fail("'" + args[i] + "' is not a 32-bit number");
        parameters[i - 2] = *value;
    }
    const HWND window = FindWindowA(nullptr, title.c_str());
    if (!window)
        return Fail("no window titled '" + title + "'");
    const WPARAM wParam = static_cast<WPARAM>(parameters[0]);
    const LPARAM lParam = static_cast<LPARAM>(static_cast<int32_t>(parameters[1]));
    if (send) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(window, *message, wParam, lParam, SMTO_ABORTIFHUNG, kSendWaitMs, &answer))
            return Fail("the window did not answer (error " + std::to_string(GetLastError()) + ")");
        std::printf("%llu\n", static_cast<unsigned long long>(answer));
        return kExitOk;
    }
    if (!PostMessageA(window, *message, wParam, lParam))
        return Fail("the message cannot be posted (error " + std::to_string(GetLastError()) + ")");
    return kExitOk;
}

// Pause between two pings: the window is asked often enough to be caught in any long call.
constexpr DWORD kPingSpacingMs = 20;

int Ping(const std::string& title, const std::string& countText)
{
    const std::optional<uint32_t> count = ParseNumber(countText);
    if (!count || *count == 0 || *count > 10000)
        return Fail("'" + countText + "' is not a count 1..10000");
    const HWND window = FindWindowA(nullptr, title.c_str());
    if (!window)
        return Fail("no window titled '" + title + "'");
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    double longestMs = 0;
    for (uint32_t i = 0; i < *count; ++i) {
        LARGE_INTEGER start{};
        LARGE_INTEGER end{};
        DWORD_PTR answer = 0;
        QueryPerformanceCounter(&start);
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kSendWaitMs, &answer))
            return Fail("the window did not answer (error " + std::to_string(GetLastError()) + ")");
        QueryPerformanceCounter(&end);
        const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
        longestMs = ms > longestMs ? ms : longestMs;
        Sleep(kPingSpacingMs);
    }
    std::printf("%.1f\n", longestMs);
    return kExitOk;
}

int Broadcast(const std::string& name)
{
    const UINT message = RegisterWindowMessageA(name.c_str());
    if (message == 0)
        return Fail("'" + name + "' cannot be registered (error " + std::to_string(GetLastError()) + ")");
    if (!PostMessageA(HWND_BROADCAST, message, 0, 0))
        return Fail("the message cannot be broadcast (error " + std::to_string(GetLastError()) + ")");
    return kExitOk;
}

int Squat(const std::string& seconds)
{
    const std::optional<uint32_t> wait = ParseNumber(seconds);
    if (!wait)
        return Fail("'" + seconds + "' is not a number of seconds");
    UniqueHandle lock(CreateMutexA(nullptr, FALSE, kSharedBlockLockName));
    UniqueHandle mapping(
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, kSharedBlockMappingName));
    if (!lock || !mapping)
        return Fail("the objects cannot be created (error " + std::to_string(GetLastError()) + ")");
    std::puts("holding");
    std::fflush(stdout);
    Sleep(*wait * 1000);
    return kExitOk;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string verb = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (verb == "read" && args.size() == 1)
        return Read(args[0]);
    if (verb == "apply" && args.size() == 1)
        return Apply(args[0]);
    if ((verb == "post" || verb == "send") && args.size() >= 2 && args.size() <= 4)
        return Deliver(args, verb == "send");
    if (verb == "ping" && args.size() == 2)
        return Ping(args[0], args[1]);
    if (verb == "broadcast" && args.size() == 1)
        return Broadcast(args[0]);
    if (verb == "squat" && args.size() == 1)
        return Squat(args[0]);
    return Usage();
}
