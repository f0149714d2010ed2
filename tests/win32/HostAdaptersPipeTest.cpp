// The host's transports to the keyboard: the simulator's pipe against a small pipe server in the
// test, the choice of transport by TOLK_DEVICE, and the real driver's absence.
#include "CreateFilterDriver.h"
#include "DeviceProtocol.h"
#include "PipeFilterDriver.h"
#include "WinFilterDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string UniquePipeName()
{
    static std::atomic<int> counter{0};
    return "\\\\.\\pipe\\TolkAdapterTest_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
}

std::vector<uint8_t> Reply(uint32_t value, std::vector<uint8_t> payload = {})
{
    return EncodePipeFrame(PipeFrame{PipeFrameKind::Reply, value, std::move(payload)});
}

// What the server sends back for one frame; hangUp ends the connection after it.
struct Answer {
    std::vector<uint8_t> bytes;
    bool hangUp = false;
};

// A pipe server for one client, on its own thread: records every frame and answers each through the
// handler, in pieces of writeChunk bytes when that is not 0 so that the client sees partial reads.
class TestPipeServer {
public:
    using Handler = std::function<Answer(const PipeFrame&)>;

    explicit TestPipeServer(Handler handler, size_t writeChunk = 0)
        : m_name(UniquePipeName()), m_handler(std::move(handler)), m_writeChunk(writeChunk),
          m_pipe(CreateNamedPipeA(m_name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                                  1, 4096, 4096, 0, nullptr)),
          m_thread([this] { Serve(); })
    {
    }
    ~TestPipeServer()
    {
        // A client that never came: connect one so that the thread stops waiting.
        while (!m_done) {
            WaitNamedPipeA(m_name.c_str(), 20);
            UniqueHandle(
                CreateFileA(m_name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        }
        m_thread.join();
    }
    TestPipeServer(const TestPipeServer&) = delete;
    TestPipeServer& operator=(const TestPipeServer&) = delete;

    const std::string& Name() const { return m_name; }
    bool ClientGone() const { return m_done; }
    std::vector<PipeFrame> Frames()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_frames;
    }

private:
    void Serve()
    {
        if (m_pipe && (ConnectNamedPipe(m_pipe.Get(), nullptr) || GetLastError() == ERROR_PIPE_CONNECTED)) {
            while (ServeFrame()) {
            }
            DisconnectNamedPipe(m_pipe.Get());
        }
        m_done = true;
    }

    bool ServeFrame()
    {
        uint8_t header[kPipeHeaderSize];
        std::optional<PipeHeader> decoded;
        if (!ReadExactly(header, sizeof header) || !(decoded = DecodePipeHeader(header, sizeof header)))
            return false;
        PipeFrame frame{decoded->kind, decoded->value, std::vector<uint8_t>(decoded->length)};
        if (!ReadExactly(frame.payload.data(), frame.payload.size()))
            return false;
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_frames.push_back(frame);
        }
        const Answer answer = m_handler(frame);
        const size_t chunk = m_writeChunk ? m_writeChunk : answer.bytes.size();
        for (size_t done = 0; done < answer.bytes.size(); done += chunk) {
            DWORD written = 0;
            const DWORD size = static_cast<DWORD>(std::min(chunk, answer.bytes.size() - done));
            if (!WriteFile(m_pipe.Get(), answer.bytes.data() + done, size, &written, nullptr) || written != size)
                return false;
            if (m_writeChunk)
                Sleep(1);
        }
        FlushFileBuffers(m_pipe.Get()); // the client has everything before a hang-up
        return !answer.hangUp;
    }

    bool ReadExactly(uint8_t* destination, size_t size)
    {
        for (size_t done = 0; done < size;) {
            DWORD read = 0;
            if (!ReadFile(m_pipe.Get(), destination + done, static_cast<DWORD>(size - done), &read, nullptr) ||
                read == 0)
                return false;
            done += read;
        }
        return true;
    }

    std::string m_name;
    Handler m_handler;
    size_t m_writeChunk;
    UniqueHandle m_pipe;
    std::atomic<bool> m_done{false};
    std::mutex m_mutex;
    std::vector<PipeFrame> m_frames;
    std::thread m_thread; // last: starts when everything it uses exists
};

// Open and Close succeed; control calls go to onControl.
TestPipeServer::Handler Simulator(std::function<Answer(const ControlRequest&)> onControl)
{
    return [onControl](const PipeFrame& frame) -> Answer {
        const std::optional<ControlRequest> request = ParseControlFrame(frame);
        return request ? onControl(*request) : Answer{Reply(1)};
    };
}

TEST(PipeFilterDriver, CarriesControlCallsToTheSimulatorAndItsRepliesBack)
{
    // 30 reply bytes counting down from 200, more than any caller asks for.
    std::vector<uint8_t> replyBytes(30);
    for (size_t i = 0; i < replyBytes.size(); ++i)
        replyBytes[i] = static_cast<uint8_t>(200 - i);
    TestPipeServer server(Simulator([&](const ControlRequest&) { return Answer{Reply(1, replyBytes)}; }), 5);
    PipeFilterDriver driver(server.Name());
    ASSERT_TRUE(driver.Open());

    // A get-key call through one buffer, as the host makes it.
    RequestBuffer buffer;
    buffer.fill(0xEE);
    std::fill(buffer.begin(), buffer.begin() + kKeyReplyLength, 0);
    buffer[0] = 2;
    buffer[1] = 3;
    ASSERT_TRUE(driver.Control(IOCTL_FLT_GET_KEY, buffer.data(), kKeyReplyLength, buffer.data(), kKeyReplyLength));
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + kKeyReplyLength, replyBytes.begin()));
    EXPECT_EQ(buffer[kKeyReplyLength], 0xEE) << "nothing is written past the reply length";
    // A call without reply bytes leaves the buffer alone.
    uint8_t handleValue[4] = {0x44, 0, 0, 0};
    ASSERT_TRUE(driver.Control(IOCTL_FLT_REGISTER_EVENT, handleValue, 4, handleValue, 0));
    EXPECT_EQ(handleValue[0], 0x44);
    driver.Close();
    EXPECT_FALSE(driver.Control(IOCTL_FLT_GET_MODE, buffer.data(), 2, buffer.data(), 2)) << "closed";

    const std::vector<PipeFrame> frames = server.Frames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].kind, PipeFrameKind::Open);
    EXPECT_EQ(frames[3].kind, PipeFrameKind::Close);
    const std::optional<ControlRequest> getKey = ParseControlFrame(frames[1]);
    const std::optional<ControlRequest> registerCall = ParseControlFrame(frames[2]);
    ASSERT_TRUE(getKey && registerCall);
    EXPECT_EQ(getKey->code, IOCTL_FLT_GET_KEY);
    EXPECT_EQ(getKey->outLength, kKeyReplyLength);
    std::vector<uint8_t> sent(kKeyReplyLength, 0);
    sent[0] = 2;
    sent[1] = 3;
    EXPECT_EQ(getKey->request, sent);
    EXPECT_EQ(registerCall->outLength, 0u);
    EXPECT_EQ(registerCall->request, (std::vector<uint8_t>{0x44, 0, 0, 0}));
}

TEST(PipeFilterDriver, RefusedAndMalformedRepliesFailOnlyTheirCall)
{
    enum : uint32_t { kRefused = 1, kWrongKind, kGarbageHeader, kShortReply, kCutOff };
    TestPipeServer server(Simulator([](const ControlRequest& request) -> Answer {
        switch (request.code) {
        case kRefused: return {Reply(0, {1, 2, 3, 4})};
        case kWrongKind: return {EncodePipeFrame(PipeFrame{PipeFrameKind::Control, 1, {9, 9}})};
        case kGarbageHeader: return {std::vector<uint8_t>(kPipeHeaderSize, 0xFF)};
        case kShortReply: return {Reply(1, {7, 8})};
        default: { // a reply that promises 10 bytes, brings 3, and the simulator goes away
            std::vector<uint8_t> cut = Reply(1, std::vector<uint8_t>(10, 6));
            cut.resize(kPipeHeaderSize + 3);
            return {cut, true};
        }
        }
    }));
    PipeFilterDriver driver(server.Name());
    ASSERT_TRUE(driver.Open());
    std::vector<uint8_t> reply(8, 0xAA);
    const std::vector<uint8_t> untouched(8, 0xAA);

    for (uint32_t code : {kRefused, kWrongKind, kGarbageHeader}) {
        EXPECT_FALSE(driver.Control(code, nullptr, 0, reply.data(), 4)) << code;
        EXPECT_EQ(reply, untouched) << code;
    }
    ASSERT_TRUE(driver.Control(kShortReply, nullptr, 0, reply.data(), 8)) << "the connection is still usable";
    EXPECT_EQ(reply, (std::vector<uint8_t>{7, 8, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}));

    reply = untouched;
    EXPECT_FALSE(driver.Control(kCutOff, nullptr, 0, reply.data(), 8));
    EXPECT_EQ(reply, untouched) << "a cut-off reply is not half copied";
    EXPECT_FALSE(driver.Control(kShortReply, nullptr, 0, reply.data(), 8)) << "the simulator has gone";
    driver.Close(); // returns although nobody answers
}

TEST(PipeFilterDriver, OpenFailsWhenTheSimulatorIsMissingOrRefuses)
{
    EXPECT_FALSE(PipeFilterDriver(UniquePipeName()).Open());

    TestPipeServer server([](const PipeFrame&) { return Answer{Reply(0)}; });
    PipeFilterDriver driver(server.Name());
    EXPECT_FALSE(driver.Open());
    uint8_t buffer[4] = {};
    EXPECT_FALSE(driver.Control(IOCTL_FLT_READ_EVENT, buffer, 4, buffer, 4));
    const ULONGLONG end = GetTickCount64() + 2000;
    while (!server.ClientGone() && GetTickCount64() < end)
        Sleep(5);
    EXPECT_TRUE(server.ClientGone()) << "a refused connection is given up";
    EXPECT_EQ(server.Frames().size(), 1u) << "nothing but the open request";
}

TEST(PipeFilterDriver, CallsFromTwoThreadsEachGetTheirOwnReply)
{
    TestPipeServer server(Simulator([](const ControlRequest& request) {
        const uint32_t code = request.code;
        return Answer{Reply(1, {static_cast<uint8_t>(code), static_cast<uint8_t>(code >> 8),
                                static_cast<uint8_t>(code >> 16), static_cast<uint8_t>(code >> 24)})};
    }));
    PipeFilterDriver driver(server.Name());
    ASSERT_TRUE(driver.Open());
    std::atomic<int> mismatches{0};
    auto caller = [&](uint32_t code) {
        for (int i = 0; i < 200; ++i) {
            uint32_t reply = 0;
            if (!driver.Control(code, nullptr, 0, reinterpret_cast<uint8_t*>(&reply), sizeof reply) || reply != code)
                ++mismatches;
        }
    };
    std::thread readThread(caller, IOCTL_FLT_READ_EVENT);
    std::thread uiThread(caller, IOCTL_FLT_SET_KEY);
    readThread.join();
    uiThread.join();
    EXPECT_EQ(mismatches.load(), 0);
}

TEST(CreateFilterDriver, UsesTheSimulatorOnlyWhenTOLK_DEVICENamesAPipe)
{
    auto choiceFor = [](const char* device) {
        SetEnvironmentVariableA(kDeviceEnvironmentVariable, device);
        std::unique_ptr<FilterDriver> driver = CreateFilterDriver();
        SetEnvironmentVariableA(kDeviceEnvironmentVariable, nullptr);
        return driver;
    };
    TestPipeServer server([](const PipeFrame&) { return Answer{Reply(1)}; });
    std::unique_ptr<FilterDriver> simulator = choiceFor(server.Name().c_str());
    ASSERT_TRUE(dynamic_cast<PipeFilterDriver*>(simulator.get()));
    EXPECT_TRUE(simulator->Open()) << "connected to the named pipe";
    simulator->Close();

    EXPECT_TRUE(dynamic_cast<PipeFilterDriver*>(choiceFor("\\\\.\\PIPE\\TolkDeviceSim").get()));
    for (const char* notAPipe : {"", "\\\\.\\pipe\\", "\\\\.\\TolkFltr", "C:\\pipe\\x", "pipe"})
        EXPECT_TRUE(dynamic_cast<WinFilterDriver*>(choiceFor(notAPipe).get())) << notAPipe;
    EXPECT_TRUE(dynamic_cast<WinFilterDriver*>(choiceFor(nullptr).get()));

    WinFilterDriver real;
    EXPECT_FALSE(real.Open()) << "this machine has no Tolk filter driver";
    uint8_t buffer[4] = {1, 2, 3, 4};
    EXPECT_FALSE(real.Control(IOCTL_FLT_READ_EVENT, buffer, 4, buffer, 4));
    EXPECT_EQ(buffer[0], 1);
}

} // namespace
