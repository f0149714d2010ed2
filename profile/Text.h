// Small string helpers shared by the store: bounded copies into fixed fields, trimming, and the
// case-insensitive comparison used for section, key, set and timer names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Copies src into the fixed field dst of size n, cutting it to n - 1 characters and always
// zero-terminating. Bytes after the terminator are zeroed so records compare byte for byte.
void CopyToField(char* dst, size_t n, std::string_view src);

template <size_t N>
void CopyToField(char (&dst)[N], std::string_view src)
{
    CopyToField(dst, N, src);
}

// Reads a fixed field that may lack its terminator: the text up to the first zero or the field end.
std::string_view FieldText(const char* field, size_t n);
template <size_t N>
std::string_view FieldText(const char (&field)[N])
{
    return FieldText(field, N);
}

// Ends a fixed field read from outside inside the field: when no zero is in it, its last byte
// becomes one. A terminated field is left as it is.
void TerminateField(char* field, size_t n);
template <size_t N>
void TerminateField(char (&field)[N])
{
    TerminateField(field, N);
}

// White space as the standard classification in the "C" locale sees it.
constexpr bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Without leading and trailing white space; inner blanks stay.
std::string_view Trim(std::string_view s);

// Case folding of the system's ANSI code page (Windows-1252): ASCII letters and the accented
// letters fold to lower case, so "Äpfel" and "äpfel" name the same section or set.
unsigned char FoldCase(unsigned char c);

// Equal without regard to case (see FoldCase).
bool EqualNoCase(std::string_view a, std::string_view b);

// The folded form of s, usable as a hash key.
std::string FoldedKey(std::string_view s);

// "%d"-style decimal formatting of a signed 32-bit value.
std::string FormatInt(long long value);

// The whole of text as an unsigned 32-bit number: decimal digits, or "0x"/"0X" and hexadecimal
// digits. Nothing for signs, blanks, other characters, an empty number or a value above 0xFFFFFFFF.
std::optional<uint32_t> ParseNumber(std::string_view text);
