#include "SkinFile.h"

#include "FileSystem.h"
#include "Text.h"

#include <cstdint>
#include <unordered_set>

static_assert(kSkinValueBufferSize - 1 == IniDocument::kMaxStringLength,
              "skin values are read into the same buffer size as every profile read");

namespace {

constexpr std::string_view kScreenSection = "Screen";
constexpr std::string_view kButtonSection = "BUTTONPOS";
constexpr std::string_view kFrameSection = "FRAM";
constexpr std::string_view kFrameKey = "POSITION";

// The number a key names when it is written as FormatInt writes it ("7", "-3"; not "07" or "+7"),
// so that reading the number back as text finds the same key.
bool ParseKeyNumber(std::string_view key, int& number)
{
    std::string_view digits = key;
    bool negative = !digits.empty() && digits.front() == '-';
    if (negative)
        digits.remove_prefix(1);
    if (digits.empty() || digits.size() > 10 || (digits.front() == '0' && digits.size() > 1))
        return false;
    int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX || (negative && value == 0))
        return false;
    number = static_cast<int>(value);
    return true;
}

ButtonPosition ParseEntry(const std::string& value)
{
    ButtonPosition pos;
    ParseButtonPos(value.c_str(), pos);
    return pos;
}

} // namespace

SkinFile SkinFile::Load(const std::string& path)
{
    std::optional<std::string> bytes = ReadWholeFile(path);
    return bytes ? FromText(*bytes) : SkinFile();
}

SkinFile SkinFile::FromText(std::string_view bytes)
{
    SkinFile skin;
    skin.m_doc = IniDocument::Parse(bytes);
    return skin;
}

std::string SkinFile::SkinPath(std::string_view programFolder, std::string_view skinFileName)
{
    std::string path(programFolder);
    path.append(skinFileName);
    return path;
}

std::string SkinFile::PicturePath(std::string_view programFolder, std::string_view pictureName)
{
    std::string path(programFolder);
    path.append("skins\\");
    path.append(pictureName);
    return path;
}

std::string SkinFile::Read(std::string_view section, std::string_view key) const
{
    std::string value = m_doc.ReadString(section, key, "");
    if (value.size() >= kSkinValueBufferSize)
        value.resize(kSkinValueBufferSize - 1);
    return value;
}

SkinPictures SkinFile::Pictures() const
{
    SkinPictures pictures;
    pictures.mask = Read(kScreenSection, "Mask");
    pictures.main = Read(kScreenSection, "Main");
    pictures.over = Read(kScreenSection, "Over");
    pictures.down = Read(kScreenSection, "Down");
    pictures.disabled = Read(kScreenSection, "Disabled");
    return pictures;
}

ButtonPosition SkinFile::ButtonPos(int key) const
{
    return ParseEntry(Read(kButtonSection, FormatInt(key)));
}

ButtonPosition SkinFile::Frame() const
{
    return ParseEntry(Read(kFrameSection, kFrameKey));
}

std::vector<int> SkinFile::ButtonKeys() const
{
    std::vector<int> keys;
    std::unordered_set<int> seen;
    for (std::string_view name : m_doc.KeysOf(kButtonSection)) {
        int number = 0;
        if (ParseKeyNumber(Trim(name), number) && seen.insert(number).second)
            keys.push_back(number);
    }
    return keys;
}
