// IniDocument on arbitrary bytes: parsing, every kind of lookup on names taken from the input,
// updates, and serialisation. Invariants:
// - a key that KeysOf lists can be found; a missing key reads as the default (without its trailing
//   spaces);
// - a string read is never longer than kMaxStringLength;
// - a struct read either fills the buffer with bytes that encode back to the stored text, or
//   leaves it untouched;
// - a written string, int or struct reads back as written, before and after a serialise/parse
//   round trip;
// - serialise(parse(serialise(doc))) == serialise(doc).

#include "FuzzSupport.h"

#include "IniDocument.h"
#include "Text.h"

#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr size_t kMaxNames = 8;
constexpr size_t kMaxListedKeys = 64;
constexpr size_t kStructSizes[] = {0, 104, 2108, 2268};

struct Names {
    std::vector<std::string_view> sections;
    std::vector<std::string_view> keys;
};

// Header texts and key texts of the input's lines, as the fuzzer wrote them (not trimmed inside).
Names CollectNames(std::string_view bytes)
{
    Names names;
    size_t pos = 0;
    while (pos < bytes.size() && (names.sections.size() < kMaxNames || names.keys.size() < kMaxNames)) {
        size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view t = Trim(bytes.substr(pos, end - pos));
        pos = end + 1;
        size_t close = t.rfind(']');
        if (!t.empty() && t.front() == '[' && close != std::string_view::npos && close > 0) {
            if (names.sections.size() < kMaxNames)
                names.sections.push_back(t.substr(1, close - 1));
        } else if (size_t eq = t.find('='); eq != std::string_view::npos && t.front() != ';') {
            if (names.keys.size() < kMaxNames)
                names.keys.push_back(t.substr(0, eq));
        }
    }
    return names;
}

std::string Upper(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return out;
}

void CheckLookups(const IniDocument& doc, std::string_view section, std::string_view key)
{
    std::optional<std::string_view> raw = doc.FindRaw(section, key);

    std::string s = doc.ReadString(section, key, "\x01missing \t  ");
    FuzzRequire(s.size() <= IniDocument::kMaxStringLength, "a string read is at most kMaxStringLength long");
    FuzzRequire(raw || s == "\x01missing \t", "a missing key reads as the default string without trailing spaces");

    int32_t v = doc.ReadInt(section, key, 0x5EED);
    FuzzRequire(raw || v == 0x5EED, "a missing key reads as the default int");

    for (size_t size : kStructSizes) {
        // A guard byte follows the size bytes: a write past the end changes it.
        std::unique_ptr<unsigned char[]> buffer(new unsigned char[size + 1]);
        std::memset(buffer.get(), 0xA5, size + 1);
        bool ok = doc.ReadStruct(section, key, buffer.get(), size);
        FuzzRequire(buffer[size] == 0xA5, "a struct read stays inside its buffer");
        if (ok) {
            FuzzRequire(raw.has_value(), "a struct is read only from a stored key");
            FuzzRequire(IniDocument::EncodeStruct(buffer.get(), size) == Upper(*raw),
                        "a struct read gives the bytes its text encodes");
        } else {
            bool untouched = true;
            for (size_t i = 0; i < size; ++i)
                untouched = untouched && buffer[i] == 0xA5;
            FuzzRequire(untouched, "a failed struct read leaves the buffer untouched");
        }
    }
}

std::string_view CutAtLineBreak(std::string_view s)
{
    size_t n = s.find_first_of(std::string_view("\r\n\0", 3));
    return n == std::string_view::npos ? s : s.substr(0, n);
}

// A name that, written into the file, parses back as the same name: no line break or zero, and for
// a key nothing that turns its line into a header, a comment or another key.
bool IsRepresentableKey(std::string_view key)
{
    return !key.empty() && key.front() != '[' && key.front() != ';' && key.find('=') == std::string_view::npos;
}

// What ReadString gives back after WriteString(value).
std::string ExpectedRead(std::string_view value)
{
    std::string_view v = Trim(CutAtLineBreak(value));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v.substr(0, IniDocument::kMaxStringLength));
}

struct Written {
    std::string section;
    std::string key;
    std::string structKey;
    std::string intKey;
    std::string expected;
    std::vector<unsigned char> structBytes; // structSize bytes and one spare, never empty
    size_t structSize = 0;
    int32_t intValue = 0;
};

void CheckWritten(const IniDocument& doc, const Written& w, const char* where)
{
    std::string what = std::string(where) + ": ";
    FuzzRequire(doc.ReadString(w.section, w.key, "") == w.expected, (what + "a written string reads back").c_str());
    FuzzRequire(doc.ReadInt(w.section, w.intKey, 0) == w.intValue, (what + "a written int reads back").c_str());
    std::vector<unsigned char> back(w.structSize + 1, 0);
    FuzzRequire(doc.ReadStruct(w.section, w.structKey, back.data(), w.structSize) &&
                    std::memcmp(back.data(), w.structBytes.data(), w.structSize) == 0,
                (what + "a written struct reads back").c_str());
    bool listed = false;
    for (std::string_view k : doc.KeysOf(w.section))
        listed = listed || EqualNoCase(k, w.key);
    FuzzRequire(listed, (what + "a written key is listed").c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniDocument doc = IniDocument::Parse(bytes);
    Names names = CollectNames(bytes);

    std::vector<std::string_view> sections = names.sections;
    sections.insert(sections.end(), {"", "Main", "Setting"});
    std::vector<std::string_view> keys = names.keys;
    keys.insert(keys.end(), {"Count", "0"});

    for (std::string_view section : sections) {
        std::vector<std::string_view> listed = doc.KeysOf(section);
        for (size_t i = 0; i < listed.size() && i < kMaxListedKeys; ++i) {
            FuzzRequire(doc.FindRaw(section, listed[i]).has_value(), "a listed key can be found");
            CheckLookups(doc, section, listed[i]);
        }
        for (std::string_view key : keys)
            CheckLookups(doc, section, key);
    }

    // A write under names exactly as the input spells them, on a copy: such names may not survive
    // the file's line format, so only crash freedom and a stable serialisation are asked of it.
    size_t lastBreak = bytes.rfind('\n');
    std::string_view lastLine = bytes.substr(lastBreak == std::string_view::npos ? 0 : lastBreak + 1);
    {
        IniDocument copy = doc;
        copy.WriteString(sections.front(), keys.front(), lastLine);
        copy.WriteStruct(sections.front(), keys.front(), data, size < 104 ? size : 104);
        std::string once = copy.Serialize();
        FuzzRequire(IniDocument::Parse(once).Serialize() == once, "serialise(parse(serialise(x))) == serialise(x)");
    }

    Written w;
    w.section = "Fuzz";
    for (std::string_view s : names.sections)
        if (CutAtLineBreak(s).size() == s.size()) {
            w.section = std::string(Trim(s));
            break;
        }
    w.key = "Key";
    for (std::string_view k : names.keys) {
        std::string_view t = Trim(k);
        if (CutAtLineBreak(t).size() == t.size() && IsRepresentableKey(t)) {
            w.key = std::string(t);
            break;
        }
    }
    w.structKey = w.key + "_struct";
    w.intKey = w.key + "_int";
    w.expected = ExpectedRead(lastLine);
    w.structSize = kStructSizes[size % 4];
    w.structBytes.assign(w.structSize + 1, 0);
    for (size_t i = 0; i < w.structSize && size > 0; ++i)
        w.structBytes[i] = data[i % size];
    for (size_t i = 0; i < 4 && i < size; ++i)
        w.intValue = static_cast<int32_t>(static_cast<uint32_t>(w.intValue) << 8 | data[i]);

    FuzzRequire(doc.WriteString(w.section, w.key, lastLine), "a string can be written");
    FuzzRequire(doc.WriteInt(w.section, w.intKey, w.intValue), "an int can be written");
    FuzzRequire(doc.WriteStruct(w.section, w.structKey, w.structBytes.data(), w.structSize), "a struct can be written");
    CheckWritten(doc, w, "in memory");

    std::string once = doc.Serialize();
    IniDocument reparsed = IniDocument::Parse(once);
    CheckWritten(reparsed, w, "after a round trip");
    FuzzRequire(reparsed.Serialize() == once, "serialise(parse(serialise(x))) == serialise(x)");
    return 0;
}
