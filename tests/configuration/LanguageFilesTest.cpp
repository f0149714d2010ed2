// The language modules' sources (resources/lang/*.rc), read as the resource compiler reads them:
// every module defines every number of LanguageStrings.h's range, and no two short captions of one
// module mark the same access key, since all of them work in the one main window. The built modules
// themselves are checked under Wine (LanguageModulesTest).
#include "ControlAccess.h"
#include "LanguageStrings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every "#define IDS_NAME number" of the header.
std::map<std::string, int> NumbersOfHeader()
{
    std::map<std::string, int> numbers;
    const std::string header = ReadFile(fs::path(TOLK_LANG_SOURCE) / "LanguageStrings.h");
    const std::regex define(R"(#define\s+(IDS_\w+)\s+(\d+))");
    for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it)
        numbers[(*it)[1]] = std::stoi((*it)[2]);
    return numbers;
}

// The string table of a module's source: number to text, the names turned into numbers.
std::map<int, std::string> StringTable(const std::string& source, const std::map<std::string, int>& numbers)
{
    std::map<int, std::string> table;
    const std::regex entry(R"(^\s*(IDS_\w+)\s+\"(.*)\"\s*$)");
    std::istringstream lines(source);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::smatch match;
        if (std::regex_match(line, match, entry) && numbers.count(match[1]))
            table[numbers.at(match[1])] = match[2];
    }
    return table;
}

// The letter a UTF-8 caption marks with '&', folded to one case (ASCII, Latin-1, Latin Extended-A
// and Cyrillic, the scripts of the modules); nothing when it marks none.
std::optional<char32_t> MarkedLetter(const std::string& caption)
{
    const std::optional<std::size_t> at = AccessMarkEnd(caption);
    if (!at)
        return std::nullopt;
    const auto byte = [&](std::size_t i) { return i < caption.size() ? static_cast<unsigned char>(caption[i]) : 0u; };
    const unsigned lead = byte(*at);
    char32_t c = lead;
    if (lead >= 0xC0 && lead < 0xE0 && (byte(*at + 1) & 0xC0u) == 0x80)
        c = ((lead & 0x1Fu) << 6) | (byte(*at + 1) & 0x3Fu);
    else if (lead >= 0x80)
        return std::nullopt; // broken, or three bytes or more: no letter of the modules' scripts
    if (c >= U'a' && c <= U'z')
        return c - 0x20;
    if ((c >= U'A' && c <= U'Z') || (c >= U'0' && c <= U'9'))
        return c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    if ((c >= 0x100 && c < 0x138) || (c >= 0x14A && c < 0x178))
        return c & ~char32_t{1};
    if ((c >= 0x139 && c < 0x149) || (c >= 0x179 && c < 0x17F))
        return (c & 1) != 0 ? c : c - 1;
    if (c >= 0x430 && c < 0x450)
        return c - 0x20;
    if (c >= 0x450 && c < 0x460)
        return c - 0x50;
    return c >= 0xC0 ? std::optional<char32_t>(c) : std::nullopt;
}

std::vector<fs::path> Modules()
{
    std::vector<fs::path> modules;
    for (const fs::directory_entry& entry : fs::directory_iterator(TOLK_LANG_SOURCE))
        if (entry.path().extension() == ".rc")
            modules.push_back(entry.path());
    return modules;
}

TEST(LanguageFiles, EveryModuleDefinesEveryNumberOfTheRange)
{
    const std::map<std::string, int> numbers = NumbersOfHeader();
    ASSERT_EQ(numbers.at("IDS_LANGUAGE_FIRST"), IDS_LANGUAGE_FIRST);
    ASSERT_EQ(numbers.at("IDS_LANGUAGE_LAST"), IDS_LANGUAGE_LAST);
    const std::vector<fs::path> modules = Modules();
    EXPECT_GE(modules.size(), 10u);
    for (const fs::path& module : modules) {
        const std::map<int, std::string> table = StringTable(ReadFile(module), numbers);
        for (int id = IDS_LANGUAGE_FIRST; id <= IDS_LANGUAGE_LAST; ++id) {
            const auto text = table.find(id);
            EXPECT_TRUE(text != table.end() && !text->second.empty()) << module.filename() << " lacks string " << id;
        }
        for (const auto& [id, text] : table)
            EXPECT_TRUE(id >= IDS_LANGUAGE_FIRST && id <= IDS_LANGUAGE_LAST)
                << module.filename() << " has string " << id << " outside the range";
    }
}

TEST(LanguageFiles, EveryShortCaptionMarksAnAccessKeyNoOtherCaptionOfItsModuleMarks)
{
    ASSERT_GE(IDS_CAPTION_FIRST, IDS_LANGUAGE_FIRST);
    ASSERT_LE(IDS_CAPTION_LAST, IDS_LANGUAGE_LAST);
    const std::map<std::string, int> numbers = NumbersOfHeader();
    for (const fs::path& module : Modules()) {
        const std::map<int, std::string> table = StringTable(ReadFile(module), numbers);
        std::map<char32_t, int> markedBy;
        for (int id = IDS_CAPTION_FIRST; id <= IDS_CAPTION_LAST; ++id) {
            const auto text = table.find(id);
            if (text == table.end())
                continue; // the test above reports it
            const std::optional<char32_t> key = MarkedLetter(text->second);
            EXPECT_TRUE(key.has_value()) << module.filename() << " string " << id << " marks no access key: " << text->second;
            if (!key)
                continue;
            const auto [first, added] = markedBy.emplace(*key, id);
            EXPECT_TRUE(added) << module.filename() << ": strings " << first->second << " and " << id
                               << " mark one access key: " << table.at(first->second) << ", " << text->second;
        }
    }
}

// The reading of the captions' marks, checked on its own, since the test above passes on modules
// that simply mark nothing twice.
TEST(LanguageFiles, MarkedLetterFoldsCaseAndRefusesMarksWithoutALetter)
{
    EXPECT_EQ(MarkedLetter("&apply"), MarkedLetter("&Apply"));
    EXPECT_EQ(MarkedLetter("\xC3\x9C&bernehmen"), U'B');
    EXPECT_EQ(MarkedLetter("&\xD0\x9F"), MarkedLetter("&\xD0\xBF")) << "Cyrillic Pe";
    EXPECT_EQ(MarkedLetter("&\xC3\xA9"), MarkedLetter("&\xC3\x89")) << "e acute";
    EXPECT_EQ(MarkedLetter("&\xC5\x82"), MarkedLetter("&\xC5\x81")) << "Polish l with stroke";
    EXPECT_EQ(MarkedLetter("&\xC5\x9F"), MarkedLetter("&\xC5\x9E")) << "Turkish s cedilla";
    for (const char* none : {"", "&", "&&", "End&", "& x", "A && b", "&\xC3"})
        EXPECT_FALSE(MarkedLetter(none).has_value()) << none;
}

} // namespace
