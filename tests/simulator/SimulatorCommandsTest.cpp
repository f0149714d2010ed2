#include "SimulatorCommands.h"

#include "Fakes.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// A keyboard as the host sees it over the link: opened, with every wake-up of the host counted.
struct Simulator {
    Simulator() : kb(&clock)
    {
        kb.onEventQueued = [this] { ++wakeUps; };
        EXPECT_TRUE(kb.Open());
    }

    std::string Run(const std::string& line)
    {
        bool quit = false;
        std::string reply = RunSimulatorCommand(kb, line, quit);
        EXPECT_FALSE(quit) << line;
        return reply;
    }

    // The events the host reads, in order, until the queue is empty.
    std::vector<uint32_t> ReadEvents()
    {
        std::vector<uint32_t> words;
        RequestBuffer buffer{};
        while (kb.Control(IOCTL_FLT_READ_EVENT, buffer.data(), 4, buffer.data(), 4)) {
            words.push_back(DeviceEvent::FromBytes(buffer.data()).Word());
            buffer = {};
        }
        return words;
    }

    // A reply byte of a get call with a zeroed request; nothing when the call fails.
    std::optional<int> Get(uint32_t code, size_t index)
    {
        RequestBuffer buffer{};
        const ControlLength lengths = *ControlLengths(code);
        if (!kb.Control(code, buffer.data(), lengths.in, buffer.data(), lengths.out))
            return std::nullopt;
        return buffer[index];
    }

    FakeClock clock;
    KeyboardModel kb;
    int wakeUps = 0;
};

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        EXPECT_NE(end, std::string::npos) << "every line ends with a line break";
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

TEST(SimulatorCommands, KeyboardActionsReachTheHostAsOneEventEach)
{
    Simulator sim;
    const struct {
        const char* line;
        uint32_t word;
    } cases[] = {
        {"press 1", 0xF0000000},
        {"release 1", 0xF0000100},
        {"press 5", 0xF0000004},
        {"release 5", 0xF0000104},
        {"mode 0", 0xF0000008},
        {"mode 1", 0xF0000009},
        {"remove", 0x70000002},
        {"arrive", 0x70000001},
        {"reset", 0xB0000000},
        {"osd-hide", 0x00000000},
        {"event 0xE0001234", 0xE0001234},
        {"event 0XA000abcd", 0xA000ABCD},
        {"event 4026531841", 0xF0000001},
        {"event 0", 0},
        {"  press\t2  ", 0xF0000001},
        {"press 3\r\n", 0xF0000002},
    };
    for (const auto& c : cases) {
        const int before = sim.wakeUps;
        EXPECT_EQ(sim.Run(c.line), "ok\n") << c.line;
        EXPECT_EQ(sim.wakeUps, before + 1) << c.line;
        EXPECT_EQ(sim.ReadEvents(), std::vector<uint32_t>{c.word}) << c.line;
    }
}

TEST(SimulatorCommands, CommandsChangeWhatTheKeyboardAnswers)
{
    Simulator sim;
    EXPECT_EQ(sim.Run("mode 0"), "ok\n");
    EXPECT_EQ(sim.Get(IOCTL_FLT_GET_MODE, 1), 0);

    EXPECT_EQ(sim.Run("firmware 0x0203"), "ok\n");
    EXPECT_EQ(sim.Get(IOCTL_FLT_GET_FIRMWARE, 4), 0x03);
    EXPECT_EQ(sim.Get(IOCTL_FLT_GET_FIRMWARE, 5), 0x02);
    EXPECT_EQ(sim.Run("firmware 65535"), "ok\n");
    EXPECT_EQ(sim.Get(IOCTL_FLT_GET_FIRMWARE, 5), 0xFF);
    EXPECT_EQ(sim.wakeUps, 1) << "a firmware change is not an event";

    // Removed: the memory stops answering but events still arrive; arrive brings it back.
    EXPECT_EQ(sim.Run("remove"), "ok\n");
    EXPECT_EQ(sim.Get(IOCTL_FLT_GET_PROFILE, 1), std::nullopt);
    EXPECT_EQ(sim.Run("arrive"), "ok\n");
    EXPECT_EQ(sim.Get(IOCTL_FLT_GET_PROFILE, 1), 1);

    // Reset restores the default memory (Mode 1) and keeps the firmware version.
    EXPECT_EQ(sim.Run("reset"), "ok\n");
    EXPECT_EQ(sim.Get(IOCTL_FLT_GET_MODE, 1), 1);
    EXPECT_EQ(sim.Get(IOCTL_FLT_GET_FIRMWARE, 5), 0xFF);
}

TEST(SimulatorCommands, BadCommandsAnswerOneErrorLineAndChangeNothing)
{
    Simulator sim;
    const std::vector<std::string> state = sim.kb.StateLines();
    const std::string garbage("\x01\xFF\0zz\x7F", 6);
    const char* lines[] = {
        "",
        "   \t ",
        "press",
        "press 0",
        "press 6",
        "press -1",
        "press +1",
        "press 1 2",
        "press one",
        "press 0x",
        "release 7",
        "release",
        "mode",
        "mode 2",
        "mode 01x",
        "mode 0 1",
        "event",
        "event 0x100000000",
        "event 4294967296",
        "event 0xG",
        "event 1 2",
        "event -5",
        "firmware",
        "firmware 65536",
        "firmware 1.05",
        "arrive now",
        "remove 1",
        "reset all",
        "osd-hide 20",
        "state 1",
        "log x",
        "quit now",
        "PRESS 1",
        "pressed 1",
        "jump",
        "press\n1\npress 2",
    };
    for (const char* line : lines) {
        const std::string reply = sim.Run(line);
        EXPECT_EQ(reply.rfind("error: ", 0), 0u) << "'" << line << "' -> " << reply;
        EXPECT_EQ(SplitLines(reply).size(), 1u) << line;
        EXPECT_FALSE(IsOkReply(reply)) << line;
    }
    const std::string reply = sim.Run(garbage);
    EXPECT_EQ(reply, "error: unknown command '???zz?'\n") << "the reply stays printable on one line";
    EXPECT_EQ(sim.Run("frobnicate 1"), "error: unknown command 'frobnicate'\n");
    EXPECT_EQ(sim.Run("press 9"), "error: press needs one key number 1..5\n");

    EXPECT_EQ(sim.wakeUps, 0);
    EXPECT_TRUE(sim.ReadEvents().empty());
    EXPECT_EQ(sim.kb.StateLines(), state);
    EXPECT_EQ(sim.Get(IOCTL_FLT_GET_FIRMWARE, 4), KeyboardModel::kDefaultFirmware);
}

TEST(SimulatorCommands, OverlongLinesAreRefusedWhole)
{
    Simulator sim;
    const std::string longest = "press 1" + std::string(kMaxSimulatorCommandLength - 7, ' ');
    EXPECT_EQ(sim.Run(longest), "ok\n");
    EXPECT_EQ(sim.Run(longest + " "), "error: command longer than 256 characters\n");
    const std::string unknown(100000, 'x');
    EXPECT_EQ(sim.Run(unknown), "error: command longer than 256 characters\n");
    EXPECT_EQ(sim.Run(std::string(kMaxSimulatorCommandLength, 'y')),
              "error: unknown command '" + std::string(32, 'y') + "...'\n");
    EXPECT_EQ(sim.wakeUps, 1);
}

TEST(SimulatorCommands, StateListsTheWholeMemoryThenOk)
{
    Simulator sim;
    EXPECT_EQ(sim.Run("mode 0"), "ok\n");
    EXPECT_EQ(sim.Run("firmware 105"), "ok\n");
    RequestBuffer key = DeviceRequest::SetKey(4, 2, ButtonInfo{});
    key[3] = 0x12;
    key[4] = 1;
    ASSERT_TRUE(sim.kb.Control(IOCTL_FLT_SET_KEY, key.data(), 24, nullptr, 0));
    RequestBuffer profile = DeviceRequest::SetProfile(3);
    ASSERT_TRUE(sim.kb.Control(IOCTL_FLT_SET_PROFILE, profile.data(), 2, nullptr, 0));

    const std::vector<std::string> lines = SplitLines(sim.Run("state"));
    ASSERT_EQ(lines.size(), 4u + 25u + 1u);
    EXPECT_EQ(lines[0], "profile 3");
    EXPECT_EQ(lines[1], "mode 0");
    EXPECT_EQ(lines[2], "switch 0");
    EXPECT_EQ(lines[3], "firmware 105");
    for (int p = 1; p <= 5; ++p) {
        for (int k = 1; k <= 5; ++k) {
            const std::string& line = lines[4 + (p - 1) * 5 + (k - 1)];
            const std::string prefix = "key " + std::to_string(p) + " " + std::to_string(k) + " ";
            EXPECT_EQ(line.rfind(prefix, 0), 0u) << line;
            EXPECT_EQ(line.size(), prefix.size() + 42) << line;
        }
    }
    EXPECT_EQ(lines[4 + 3 * 5 + 1], "key 4 2 120100000000000000000000000000000000000000");
    EXPECT_EQ(lines.back(), "ok");
    EXPECT_EQ(sim.wakeUps, 1) << "reading the state queues nothing";
}

TEST(SimulatorCommands, LogShowsEveryControlCallWithItsTime)
{
    Simulator sim;
    EXPECT_EQ(sim.Run("log"), "ok\n");

    sim.clock.Advance(1500 * 1000);
    RequestBuffer profile = DeviceRequest::SetProfile(2);
    sim.kb.Control(IOCTL_FLT_SET_PROFILE, profile.data(), 2, nullptr, 0);
    sim.clock.Advance(250 * 1000);
    sim.Get(IOCTL_FLT_GET_MODE, 1);
    RequestBuffer unregister{};
    sim.kb.Control(IOCTL_FLT_UNREGISTER, unregister.data(), 0, nullptr, 0);

    EXPECT_EQ(sim.Run("log"), "1500 222434 0702\n1750 22241C 0000\n1750 222404\nok\n");
}

TEST(SimulatorCommands, QuitAnswersOkAndAsksTheCallerToStop)
{
    Simulator sim;
    bool quit = false;
    EXPECT_EQ(RunSimulatorCommand(sim.kb, "quit", quit), "ok\n");
    EXPECT_TRUE(quit);
    EXPECT_TRUE(IsOkReply(RunSimulatorCommand(sim.kb, "press 1", quit)));
    EXPECT_TRUE(quit) << "left as it was";

    bool stay = false;
    for (const char* line : {"quit 1", "state", "reset", "Quit"}) {
        RunSimulatorCommand(sim.kb, line, stay);
        EXPECT_FALSE(stay) << line;
    }
}

TEST(SimulatorCommands, OkRepliesAreThoseEndingInOk)
{
    EXPECT_TRUE(IsOkReply("ok\n"));
    EXPECT_TRUE(IsOkReply("ok"));
    EXPECT_TRUE(IsOkReply("profile 1\nok\n"));
    EXPECT_TRUE(IsOkReply("profile 1\r\nok\r\n"));
    EXPECT_FALSE(IsOkReply(""));
    EXPECT_FALSE(IsOkReply("ok\nerror: late\n"));
    EXPECT_FALSE(IsOkReply("not ok\n"));
    EXPECT_FALSE(IsOkReply("oki\n"));
}

} // namespace
