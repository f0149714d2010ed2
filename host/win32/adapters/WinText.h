// Text the system's calls hand back in fixed buffers.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

// The text a system call wrote into buffer, which it may have left unterminated: up to the first
// zero, and never past count or the buffer.
inline std::string BoundedText(const char* buffer, size_t bufferSize, size_t count)
{
    const size_t limit = count < bufferSize ? count : bufferSize;
    const void* zero = std::memchr(buffer, 0, limit);
    return std::string(buffer, zero ? static_cast<const char*>(zero) - buffer : limit);
}

// The system's calls take no pointer for "any" or "none".
inline const char* NullIfEmpty(const std::string& text)
{
    return text.empty() ? nullptr : text.c_str();
}
