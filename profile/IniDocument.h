// One INI file parsed in memory. It reads and updates keys the way the Windows private-profile calls
// do, so files move freely between this engine and those calls:
// - section and key names match without regard to case and outer blanks; the first section and the
//   first key of a name win;
// - a line ends at CRLF, LF or a lone CR;
// - string values come back without outer blanks and without one pair of enclosing quotes; a
//   default comes back without its trailing spaces;
// - an update replaces the value in place and leaves every other line as it was; a new key goes
//   after the last non-blank line of its section, a new section at the end of the file;
// - structs are stored as upper-case hexadecimal pairs followed by a checksum pair (the sum of the
//   bytes modulo 256).
// Serialisation writes CRLF line ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniDocument {
public:
    // Longest string a read returns: the private-profile calls read into 2048 characters.
    static constexpr size_t kMaxStringLength = 2047;

    IniDocument() = default;

    // Parses bytes of any shape; nothing in them can make the parse fail.
    static IniDocument Parse(std::string_view bytes);

    // The file's bytes, with CRLF line ends.
    std::string Serialize() const;

    // The value as stored (outer blanks removed, quotes kept); nothing when the key is missing.
    std::optional<std::string_view> FindRaw(std::string_view section, std::string_view key) const;

    // The value, or def without its trailing spaces when the key is missing; at most
    // kMaxStringLength characters either way.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // The decimal value with an optional leading minus (or plus) sign; def when the key is missing or
    // empty.
    int32_t ReadInt(std::string_view section, std::string_view key, int32_t def) const;
    // Fills buffer only when the stored text has exactly 2 * (size + 1) hexadecimal digits and the
    // checksum matches; otherwise buffer is left untouched and the result is false.
    bool ReadStruct(std::string_view section, std::string_view key, void* buffer, size_t size) const;

    // The key names of a section, in file order (empty when the section is missing).
    std::vector<std::string_view> KeysOf(std::string_view section) const;

    // Creates the section and key as needed. The value is cut at its first line break or zero,
    // since the file holds one key per line.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInt(std::string_view section, std::string_view key, int32_t value);
    bool WriteStruct(std::string_view section, std::string_view key, const void* data, size_t size);

    // The text that WriteStruct stores for these bytes.
    static std::string EncodeStruct(const void* data, size_t size);
    // Decodes text as ReadStruct does.
    static bool DecodeStruct(std::string_view text, void* buffer, size_t size);

private:
    struct Line {
        std::string text;    // the line as in the file, without its line end
        uint32_t keyPos = 0; // key and value are ranges of text; only for entries
        uint32_t keyLen = 0;
        uint32_t valuePos = 0;
        uint32_t valueLen = 0;
        bool isEntry = false;
    };
    struct Section {
        std::string name;   // trimmed; empty for the lines before any header
        std::string header; // the header line as in the file
        bool hasHeader = false;
        std::vector<Line> lines;
        std::unordered_map<std::string, size_t> keyIndex; // folded key -> first entry line
    };

    static void MakeEntry(Line& line, size_t keyBegin, size_t keyLen, size_t valueBegin, size_t valueLen);
    // Marks a freshly written "key=value" line (key at the start) as an entry.
    static void SetEntryValue(Line& line, size_t keyLen);
    const Section* FindSection(std::string_view name) const;
    const Line* FindLine(std::string_view section, std::string_view key) const;

    std::string m_bom;
    std::vector<Section> m_sections;
    std::unordered_map<std::string, size_t> m_sectionIndex; // folded name -> first section
};
