// Shared pieces of the fuzz targets: a program folder per process and the check that stops a run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reports what and traps, so libFuzzer saves the input as a crash. Used for broken invariants.
[[noreturn]] void FuzzFail(const char* what);

inline void FuzzRequire(bool ok, const char* what)
{
    if (!ok)
        FuzzFail(what);
}

// A program folder (with its "config" subfolder) made on first use under the temporary folder,
// named after the process id, and removed when the process exits normally. Ends in '/'.
const std::string& FuzzProgramFolder();

// Replaces the file at a store path by the bytes, without flushing to disk: fuzz inputs need speed,
// not durability.
void WriteFuzzFile(const std::string& storePath, const uint8_t* data, size_t size);

// Lines the bytes split into as the INI parser splits them (at '\n'); an empty input has none.
size_t LineCount(std::string_view bytes);
