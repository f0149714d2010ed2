#include "SimulatorCommands.h"

#include <vector>

namespace {

constexpr size_t kMaxEchoLength = 32;

std::vector<std::string_view> SplitWords(std::string_view line)
{
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n'))
            ++i;
        const size_t start = i;
        while (i < line.size() && !(line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n'))
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

// A word of the caller's as it may appear in an error line: printable, short, on one line.
std::string Echo(std::string_view word)
{
    std::string text;
    for (size_t i = 0; i < word.size() && i < kMaxEchoLength; ++i) {
        const unsigned char c = static_cast<unsigned char>(word[i]);
        text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    if (word.size() > kMaxEchoLength)
        text += "...";
    return text;
}

std::string Error(const std::string& reason)
{
    return "error: " + reason + "\n";
}

const std::string kOk = "ok\n";

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text + kOk;
}

// The single argument of a command as a number in min..max.
std::optional<uint32_t> OneNumber(const std::vector<std::string_view>& words, uint32_t min, uint32_t max)
{
    if (words.size() != 2)
        return std::nullopt;
    const std::optional<uint32_t> value = ParseNumber(words[1]);
    if (!value || *value < min || *value > max)
        return std::nullopt;
    return value;
}

} // namespace

bool IsOkReply(std::string_view reply)
{
    while (!reply.empty() && (reply.back() == '\n' || reply.back() == '\r'))
        reply.remove_suffix(1);
    const size_t lastBreak = reply.find_last_of('\n');
    const std::string_view last = lastBreak == std::string_view::npos ? reply : reply.substr(lastBreak + 1);
    return last == "ok";
}

std::string RunSimulatorCommand(KeyboardModel& kb, const std::string& line, bool& quit)
{
    if (line.size() > kMaxSimulatorCommandLength)
        return Error("command longer than " + std::to_string(kMaxSimulatorCommandLength) + " characters");
    const std::vector<std::string_view> words = SplitWords(line);
    if (words.empty())
        return Error("empty command");
    const std::string_view name = words[0];

    if (name == "press" || name == "release") {
        const std::optional<uint32_t> key = OneNumber(words, 1, kKeyCount);
        if (!key)
            return Error(std::string(name) + " needs one key number 1..5");
        if (name == "press")
            kb.PressKey(static_cast<int>(*key));
        else
            kb.ReleaseKey(static_cast<int>(*key));
        return kOk;
    }
    if (name == "mode") {
        const std::optional<uint32_t> mode = OneNumber(words, 0, 1);
        if (!mode)
            return Error("mode needs 0 or 1");
        kb.SetModeSwitch(static_cast<int>(*mode));
        return kOk;
    }
    if (name == "event") {
        const std::optional<uint32_t> word = OneNumber(words, 0, 0xFFFFFFFFu);
        if (!word)
            return Error("event needs one 32-bit word (decimal or 0x hex)");
        kb.QueueRaw(*word);
        return kOk;
    }
    if (name == "firmware") {
        const std::optional<uint32_t> version = OneNumber(words, 0, 0xFFFF);
        if (!version)
            return Error("firmware needs one version 0..65535");
        kb.SetFirmware(static_cast<uint16_t>(*version));
        return kOk;
    }

    const bool known = name == "arrive" || name == "remove" || name == "reset" || name == "osd-hide" ||
                       name == "state" || name == "log" || name == "quit";
    if (!known)
        return Error("unknown command '" + Echo(name) + "'");
    if (words.size() != 1)
        return Error(std::string(name) + " takes no arguments");

    if (name == "arrive")
        kb.Arrive();
    else if (name == "remove")
        kb.Remove();
    else if (name == "reset")
        kb.Reset();
    else if (name == "osd-hide")
        kb.OsdHide();
    else if (name == "state")
        return Lines(kb.StateLines());
    else if (name == "log")
        return Lines(kb.CallLogLines());
    else
        quit = true;
    return kOk;
}
