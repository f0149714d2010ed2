// Files travel between our INI engine and the Windows private-profile calls (the host and the
// configuration program share them, and a file written on one side is read on the other), so both
// sides must read what the other wrote.
#include "IniFile.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <map>
#include <random>
#include <utility>
#include <vector>

namespace {

std::string WinReadString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& def)
{
    char buf[2048];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buf, sizeof buf, file.c_str());
    return buf;
}

int WinReadInt(const std::string& file, const std::string& section, const std::string& key, int def)
{
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, file.c_str()));
}

// What a read returns for a written value: outer blanks and one pair of enclosing quotes gone.
std::string Expected(const std::string& written)
{
    std::string v(Trim(written));
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
        v = v.substr(1, v.size() - 2);
    return v;
}

TEST(PrivateProfileInterop, OurFilesReadTheSameThroughWindows)
{
    TempFolder dir;
    std::string path = dir / "ours.ini";
    IniFile ini(path);
    ini.WriteString("Setting", "GameFile0", "  C:\\Games\\Raid.exe  ");
    ini.WriteString("Setting", "Quoted", "\" keep inner blanks \"");
    ini.WriteString("Setting", "Single", "'x'");
    ini.WriteString("Setting", "Mixed", "\"x'");
    ini.WriteString("Setting", "Empty", "");
    ini.WriteString("Setting", "Equals", "a=b=c");
    ini.WriteInt("Setting", "Mode", -1);
    ini.WriteInt("Setting", "Big", 2147483647);
    ini.WriteString("  Padded Section  ", "  Padded Key  ", "v");

    EXPECT_EQ(WinReadString(path, "setting", "GAMEFILE0", "d"), "C:\\Games\\Raid.exe");
    EXPECT_EQ(WinReadString(path, "Setting", "Quoted", "d"), " keep inner blanks ");
    EXPECT_EQ(WinReadString(path, "Setting", "Single", "d"), "x");
    EXPECT_EQ(WinReadString(path, "Setting", "Mixed", "d"), "\"x'");
    EXPECT_EQ(WinReadString(path, "Setting", "Empty", "d"), "");
    EXPECT_EQ(WinReadString(path, "Setting", "Equals", "d"), "a=b=c");
    EXPECT_EQ(WinReadString(path, "Setting", "Missing", "dflt"), "dflt");
    EXPECT_EQ(WinReadString(path, "Padded Section", "padded key", "d"), "v");
    EXPECT_EQ(WinReadInt(path, "SETTING", "mode", 5), -1);
    EXPECT_EQ(WinReadInt(path, "Setting", "Big", 5), 2147483647);
    EXPECT_EQ(WinReadInt(path, "Setting", "Empty", 5), 5);
    EXPECT_EQ(WinReadInt(path, "Setting", "Missing", 5), 5);
}

TEST(PrivateProfileInterop, WindowsFilesReadTheSameThroughOurs)
{
    TempFolder dir;
    std::string path = dir / "theirs.ini";
    const char* f = path.c_str();
    WritePrivateProfileStringA("Setting", "GameFile0", "  C:\\Games\\Raid.exe  ", f);
    WritePrivateProfileStringA("Setting", "Quoted", "' two words '", f);
    WritePrivateProfileStringA("Setting", "Mode", "-1", f);
    WritePrivateProfileStringA("Setting", "Empty", "", f);
    WritePrivateProfileStringA("FileName", "Profile1", "Shooter", f);
    WritePrivateProfileStringA("setting", "mode", "0", f); // same key in another case: replaced

    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("SETTING", "gamefile0", "d"), "C:\\Games\\Raid.exe");
    EXPECT_EQ(ini.ReadString("Setting", "Quoted", "d"), " two words ");
    EXPECT_EQ(ini.ReadInt("Setting", "Mode", 5), 0);
    EXPECT_EQ(ini.ReadInt("Setting", "Empty", 5), 5);
    EXPECT_EQ(ini.ReadString("Setting", "Empty", "d"), "");
    EXPECT_EQ(ini.ReadString("filename", "PROFILE1", "d"), "Shooter");
    EXPECT_EQ(ini.ReadString("FileName", "Profile2", "none"), "none");

    // Our update of a file the Windows calls wrote keeps their other keys readable to them.
    ini.WriteInt("Setting", "CurrentProfile", 3);
    EXPECT_EQ(WinReadString(path, "FileName", "Profile1", "d"), "Shooter");
    EXPECT_EQ(WinReadInt(path, "Setting", "CurrentProfile", -1), 3);
}

TEST(PrivateProfileInterop, StructsAndChecksumsAgreeBothWays)
{
    TempFolder dir;
    std::mt19937 rng(42);
    for (size_t size : {size_t(1), size_t(104), size_t(2108), size_t(2268)}) {
        std::vector<unsigned char> data(size);
        for (auto& b : data)
            b = static_cast<unsigned char>(rng());
        std::string ours = dir / ("ours" + std::to_string(size) + ".ini");
        std::string theirs = dir / ("theirs" + std::to_string(size) + ".ini");
        ASSERT_TRUE(IniFile(ours).WriteStruct("S", "blob", data.data(), size));
        ASSERT_TRUE(WritePrivateProfileStructA("S", "blob", data.data(), static_cast<UINT>(size), theirs.c_str()));
        EXPECT_EQ(ReadBytes(ours), ReadBytes(theirs)) << "the same text for the same bytes";

        std::vector<unsigned char> back(size);
        ASSERT_TRUE(GetPrivateProfileStructA("s", "BLOB", back.data(), static_cast<UINT>(size), ours.c_str()));
        EXPECT_EQ(back, data);
        std::fill(back.begin(), back.end(), 0);
        ASSERT_TRUE(IniFile(theirs).ReadStruct("S", "blob", back.data(), size));
        EXPECT_EQ(back, data);

        // Neither side accepts a damaged checksum or the wrong size.
        std::string text = IniFile(ours).ReadString("S", "blob", "");
        text.back() = text.back() == '0' ? '1' : '0';
        IniFile(ours).WriteString("S", "blob", text);
        EXPECT_FALSE(GetPrivateProfileStructA("S", "blob", back.data(), static_cast<UINT>(size), ours.c_str()));
        EXPECT_FALSE(IniFile(ours).ReadStruct("S", "blob", back.data(), size));
        if (size > 1) {
            EXPECT_FALSE(
                GetPrivateProfileStructA("S", "blob", back.data(), static_cast<UINT>(size - 1), theirs.c_str()));
            EXPECT_FALSE(IniFile(theirs).ReadStruct("S", "blob", back.data(), size - 1));
        }
    }
}

TEST(PrivateProfileInterop, CrOnlyLineEndsAndDefaultsReadTheSameOnBothSides)
{
    TempFolder dir;
    const std::string crOnly =
        "[section1]\rname1=val1\rname2=\"val2\"\rname3\rname4=a\r[section2]\rk=v\r\nk2=w\nk3=a\rb=c\r";
    const std::string ours = dir / "ours.ini";
    const std::string theirs = dir / "theirs.ini";
    WriteBytes(ours, crOnly);
    WriteBytes(theirs, crOnly);
    IniFile ini(ours);
    const std::pair<const char*, const char*> kKeys[] = {
        {"section1", "name1"}, {"section1", "name2"}, {"section1", "name3"}, {"section1", "name4"},
        {"section2", "k"},     {"section2", "k2"},    {"section2", "k3"},    {"section2", "b"}};
    for (const auto& [section, key] : kKeys) {
        SCOPED_TRACE(std::string(section) + " " + key);
        EXPECT_EQ(ini.ReadString(section, key, "missing"), WinReadString(ours, section, key, "missing"));
    }
    EXPECT_EQ(ini.ReadString("section1", "name1", ""), "val1");

    for (const char* def : {"default  ", "one two  ", "one two", "  lead  ", "tab\t ", "   ", " ", ""})
        EXPECT_EQ(ini.ReadString("section1", "missing", def), WinReadString(ours, "section1", "missing", def))
            << "default \"" << def << "\"";

    // A write updates the section where it stands, and both sides leave the same file.
    ASSERT_TRUE(ini.WriteString("section1", "name1", "new"));
    ASSERT_TRUE(WritePrivateProfileStringA("section1", "name1", "new", theirs.c_str()));
    EXPECT_EQ(ReadBytes(theirs), ReadBytes(ours));
    EXPECT_EQ(WinReadString(ours, "section1", "name1", "d"), "new");
}

// A seeded mix of writes by one side, every key read back by both sides.
class RandomMix {
public:
    explicit RandomMix(unsigned seed) : m_rng(seed) {}

    std::string Name(const std::vector<std::string>& pool)
    {
        std::string n = pool[m_rng() % pool.size()];
        for (char& c : n)
            if (m_rng() % 3 == 0)
                c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : (c >= 'A' && c <= 'Z' ? c + 32 : c));
        if (m_rng() % 4 == 0)
            n = " " + n + "  ";
        return n;
    }

    std::string Value()
    {
        // No "0x", "0o" or "0b": the Windows call reads those prefixes as other bases.
        static const char kChars[] = "acYZ019 _-.,:;=\\/'\"()!#$%&*+?@^`{|}~";
        size_t len = m_rng() % 24;
        std::string v;
        for (size_t i = 0; i < len; ++i)
            v += kChars[m_rng() % (sizeof kChars - 1)];
        switch (m_rng() % 6) {
        case 0: return "\"" + v + "\"";
        case 1: return "'" + v + "'";
        case 2: return "  " + v + " ";
        case 3: return std::to_string(static_cast<int32_t>(m_rng()));
        default: return v;
        }
    }

    unsigned Next() { return m_rng(); }

private:
    std::mt19937 m_rng;
};

using Model = std::map<std::pair<std::string, std::string>, std::string>;

std::pair<std::string, std::string> ModelKey(const std::string& section, const std::string& key)
{
    return {FoldedKey(Trim(section)), FoldedKey(Trim(key))};
}

void RunMix(unsigned seed, bool oursWrite)
{
    static const std::vector<std::string> kSections = {"Setting", "FileName", "Main", "Fight Set", "Timer", "x"};
    static const std::vector<std::string> kKeys = {"Count", "0", "1", "Mode", "GameFile0", "Profile1", "key4", "a b"};
    TempFolder dir;
    std::string path = dir / "mix.ini";
    RandomMix mix(seed);
    Model model;
    for (int i = 0; i < 60; ++i) {
        std::string section = mix.Name(kSections), key = mix.Name(kKeys), value = mix.Value();
        bool ok = oursWrite ? IniFile(path).WriteString(section, key, value)
                            : WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
        ASSERT_TRUE(ok);
        model[ModelKey(section, key)] = value;
    }
    RandomMix reads(seed + 1000);
    for (const std::string& s : kSections)
        for (const std::string& k : kKeys) {
            std::string section = reads.Name({s}), key = reads.Name({k});
            auto it = model.find(ModelKey(s, k));
            std::string expected = it == model.end() ? "<missing>" : Expected(it->second);
            SCOPED_TRACE("seed " + std::to_string(seed) + " [" + section + "] " + key);
            EXPECT_EQ(IniFile(path).ReadString(section, key, "<missing>"), expected);
            EXPECT_EQ(WinReadString(path, section, key, "<missing>"), expected);
            int def = static_cast<int>(reads.Next() % 100);
            EXPECT_EQ(IniFile(path).ReadInt(section, key, def), WinReadInt(path, section, key, def))
                << "value " << expected;
        }
}

TEST(PrivateProfileInterop, SeededRandomMixWrittenByUs)
{
    for (unsigned seed = 1; seed <= 20; ++seed)
        RunMix(seed, true);
}

TEST(PrivateProfileInterop, SeededRandomMixWrittenByWindows)
{
    for (unsigned seed = 101; seed <= 120; ++seed)
        RunMix(seed, false);
}

} // namespace
