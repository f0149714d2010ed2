// Shared pieces of the fuzz targets: a program folder per process and the check that stops a run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class IniDocument;

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

// The most "%d" entries a library section can give: one past its highest key made of at most ten
// digits and below count, since a missing entry below a present one is read as a zeroed record.
size_t MostEntries(const IniDocument& doc, std::string_view section, int32_t count);
