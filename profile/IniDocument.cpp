#include "IniDocument.h"

#include "Text.h"

#include <cstring>

namespace {

std::string_view CutAtLineBreak(std::string_view s)
{
    size_t n = s.find_first_of(std::string_view("\r\n\0", 3));
    return n == std::string_view::npos ? s : s.substr(0, n);
}

// The default as the Windows call returns it: without its trailing spaces (tabs stay), though a
// default of spaces only keeps its first one.
std::string_view TrimDefault(std::string_view def)
{
    size_t n = def.size();
    while (n > 1 && def[n - 1] == ' ')
        --n;
    return def.substr(0, n);
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

void IniDocument::MakeEntry(Line& line, size_t keyBegin, size_t keyLen, size_t valueBegin, size_t valueLen)
{
    line.isEntry = true;
    line.keyPos = static_cast<uint32_t>(keyBegin);
    line.keyLen = static_cast<uint32_t>(keyLen);
    line.valuePos = static_cast<uint32_t>(valueBegin);
    line.valueLen = static_cast<uint32_t>(valueLen);
}

void IniDocument::SetEntryValue(Line& line, size_t keyLen)
{
    std::string_view text(line.text);
    std::string_view value = Trim(text.substr(keyLen + 1));
    MakeEntry(line, 0, keyLen, static_cast<size_t>(value.data() - text.data()), value.size());
}

IniDocument IniDocument::Parse(std::string_view bytes)
{
    IniDocument doc;
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        doc.m_bom = std::string(bytes.substr(0, 3));
        bytes.remove_prefix(3);
    }
    doc.m_sections.emplace_back(); // lines before the first header

    // A line ends at CRLF, LF or a lone CR, as the Windows calls split it: a file saved with
    // CR-only line ends must read its keys, or a write would add a second copy of its section.
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", pos);
        size_t next = bytes.size();
        if (end == std::string_view::npos)
            end = bytes.size();
        else
            next = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? end + 2 : end + 1;
        std::string_view raw = bytes.substr(pos, end - pos);
        pos = next;

        std::string_view t = Trim(raw);
        if (!t.empty() && t.front() == '[') {
            size_t close = t.rfind(']');
            if (close != std::string_view::npos && close > 0) {
                Section s;
                s.name = std::string(Trim(t.substr(1, close - 1)));
                s.header = std::string(raw);
                s.hasHeader = true;
                doc.m_sectionIndex.emplace(FoldedKey(s.name), doc.m_sections.size());
                doc.m_sections.push_back(std::move(s));
                continue;
            }
        }

        Section& sec = doc.m_sections.back();
        Line line;
        line.text = std::string(raw);
        size_t eq = t.empty() || t.front() == ';' ? std::string_view::npos : t.find('=');
        if (eq != std::string_view::npos) {
            std::string_view key = Trim(t.substr(0, eq));
            std::string_view value = Trim(t.substr(eq + 1));
            if (!key.empty()) {
                MakeEntry(line, static_cast<size_t>(key.data() - raw.data()), key.size(),
                          static_cast<size_t>(value.data() - raw.data()), value.size());
                sec.keyIndex.emplace(FoldedKey(key), sec.lines.size());
            }
        }
        sec.lines.push_back(std::move(line));
    }
    return doc;
}

std::string IniDocument::Serialize() const
{
    size_t total = m_bom.size();
    for (const Section& s : m_sections) {
        total += s.hasHeader ? s.header.size() + 2 : 0;
        for (const Line& l : s.lines)
            total += l.text.size() + 2;
    }
    std::string out;
    out.reserve(total);
    out += m_bom;
    for (const Section& s : m_sections) {
        if (s.hasHeader) {
            out += s.header;
            out += "\r\n";
        }
        for (const Line& l : s.lines) {
            out += l.text;
            out += "\r\n";
        }
    }
    return out;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const
{
    auto it = m_sectionIndex.find(FoldedKey(Trim(name)));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

const IniDocument::Line* IniDocument::FindLine(std::string_view section, std::string_view key) const
{
    const Section* s = FindSection(section);
    if (!s)
        return nullptr;
    auto it = s->keyIndex.find(FoldedKey(Trim(key)));
    return it == s->keyIndex.end() ? nullptr : &s->lines[it->second];
}

std::optional<std::string_view> IniDocument::FindRaw(std::string_view section, std::string_view key) const
{
    const Line* line = FindLine(section, key);
    if (!line)
        return std::nullopt;
    return std::string_view(line->text).substr(line->valuePos, line->valueLen);
}

std::vector<std::string_view> IniDocument::KeysOf(std::string_view section) const
{
    std::vector<std::string_view> keys;
    if (const Section* s = FindSection(section))
        for (const Line& l : s->lines)
            if (l.isEntry)
                keys.push_back(std::string_view(l.text).substr(l.keyPos, l.keyLen));
    return keys;
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    std::optional<std::string_view> raw = FindRaw(section, key);
    std::string_view v = raw ? *raw : def;
    // The Windows call hands back a C string: a value ends at its first zero byte.
    if (size_t nul = v.find('\0'); nul != std::string_view::npos)
        v = v.substr(0, nul);
    if (raw && v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    if (!raw)
        v = TrimDefault(v);
    if (v.size() > kMaxStringLength)
        v = v.substr(0, kMaxStringLength);
    return std::string(v);
}

int32_t IniDocument::ReadInt(std::string_view section, std::string_view key, int32_t def) const
{
    if (!FindRaw(section, key))
        return def;
    std::string v = ReadString(section, key, "");
    if (v.empty())
        return def;
    // Blanks inside quotes and a plus sign are taken as the Windows call takes them.
    size_t i = 0;
    while (i < v.size() && IsBlank(v[i]))
        ++i;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) {
        negative = v[i] == '-';
        ++i;
    }
    uint32_t value = 0; // wraps like the 32-bit conversion of the Windows call
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i)
        value = value * 10u + static_cast<uint32_t>(v[i] - '0');
    if (negative)
        value = 0u - value;
    return static_cast<int32_t>(value);
}

std::string IniDocument::EncodeStruct(const void* data, size_t size)
{
    static const char kDigits[] = "0123456789ABCDEF";
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::string out;
    out.resize(2 * (size + 1));
    unsigned sum = 0;
    for (size_t i = 0; i < size; ++i) {
        out[2 * i] = kDigits[bytes[i] >> 4];
        out[2 * i + 1] = kDigits[bytes[i] & 15];
        sum += bytes[i];
    }
    out[2 * size] = kDigits[(sum >> 4) & 15];
    out[2 * size + 1] = kDigits[sum & 15];
    return out;
}

bool IniDocument::DecodeStruct(std::string_view text, void* buffer, size_t size)
{
    if (text.size() != 2 * (size + 1))
        return false;
    std::vector<unsigned char> bytes(size + 1);
    unsigned sum = 0;
    for (size_t i = 0; i <= size; ++i) {
        int hi = HexValue(text[2 * i]);
        int lo = HexValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        bytes[i] = static_cast<unsigned char>(hi * 16 + lo);
        if (i < size)
            sum += bytes[i];
    }
    if ((sum & 0xFF) != bytes[size])
        return false;
    if (size)
        std::memcpy(buffer, bytes.data(), size);
    return true;
}

bool IniDocument::ReadStruct(std::string_view section, std::string_view key, void* buffer, size_t size) const
{
    std::optional<std::string_view> raw = FindRaw(section, key);
    return raw && DecodeStruct(*raw, buffer, size);
}

bool IniDocument::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    std::string_view secName = Trim(CutAtLineBreak(section));
    std::string_view keyName = Trim(CutAtLineBreak(key));
    if (keyName.empty())
        return false;
    value = CutAtLineBreak(value);

    auto sit = m_sectionIndex.find(FoldedKey(secName));
    size_t si;
    if (sit == m_sectionIndex.end()) {
        Section s;
        s.name = std::string(secName);
        s.header = "[" + s.name + "]";
        s.hasHeader = true;
        if (m_sections.empty())
            m_sections.emplace_back(); // the place of the lines before any header
        si = m_sections.size();
        m_sectionIndex.emplace(FoldedKey(s.name), si);
        m_sections.push_back(std::move(s));
    } else {
        si = sit->second;
    }
    Section& sec = m_sections[si];

    std::string folded = FoldedKey(keyName);
    auto kit = sec.keyIndex.find(folded);
    if (kit != sec.keyIndex.end()) {
        Line& line = sec.lines[kit->second];
        std::string text = line.text.substr(line.keyPos, line.keyLen);
        text += '=';
        text += value;
        line.text = std::move(text);
        SetEntryValue(line, line.keyLen);
        return true;
    }

    // A new key goes after the last non-blank line, so blank lines that separate this section
    // from the next one stay where they are. Only blank lines follow it, none of them indexed.
    size_t at = sec.lines.size();
    while (at > 0 && Trim(sec.lines[at - 1].text).empty())
        --at;
    Line line;
    line.text.reserve(keyName.size() + 1 + value.size());
    line.text += keyName;
    line.text += '=';
    line.text += value;
    SetEntryValue(line, keyName.size());
    sec.lines.insert(sec.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    sec.keyIndex.emplace(std::move(folded), at);
    return true;
}

bool IniDocument::WriteInt(std::string_view section, std::string_view key, int32_t value)
{
    return WriteString(section, key, FormatInt(value));
}

bool IniDocument::WriteStruct(std::string_view section, std::string_view key, const void* data, size_t size)
{
    return WriteString(section, key, EncodeStruct(data, size));
}
