#include "Text.h"

#include <cstring>

void CopyToField(char* dst, size_t n, std::string_view src)
{
    if (n == 0)
        return;
    size_t len = src.size() < n - 1 ? src.size() : n - 1;
    // Stop at an embedded zero: the field holds a C string.
    const void* nul = std::memchr(src.data(), '\0', len);
    if (nul)
        len = static_cast<size_t>(static_cast<const char*>(nul) - src.data());
    std::memcpy(dst, src.data(), len);
    std::memset(dst + len, 0, n - len);
}

std::string_view FieldText(const char* field, size_t n)
{
    const void* nul = std::memchr(field, '\0', n);
    return std::string_view(field, nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : n);
}

std::string_view Trim(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

unsigned char FoldCase(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 32);
    switch (c) {
    case 0x8A: return 0x9A; // S caron
    case 0x8C: return 0x9C; // OE
    case 0x8E: return 0x9E; // Z caron
    case 0x9F: return 0xFF; // Y diaeresis
    default: return c;
    }
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string FoldedKey(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
    return out;
}

std::string FormatInt(long long value)
{
    return std::to_string(value);
}

std::optional<uint32_t> ParseNumber(std::string_view text)
{
    int base = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

void TerminateField(char* field, size_t n)
{
    if (n > 0 && std::memchr(field, '\0', n) == nullptr)
        field[n - 1] = '\0';
}
