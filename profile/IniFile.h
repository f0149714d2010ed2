// Single-operation access to one INI file: every call opens the file, reads or updates one key and
// closes it again, as the private-profile calls do. For many keys of one file, parse it once with
// IniDocument instead.
//
// Threads of one process may write the same file (the host writes config.ini on its window's thread
// and on its read thread): every key written is a read-modify-write of the whole file under the
// process's data file write lock (DataFileWriteLock), so that no write comes between another's read
// and its write and none is lost. Other processes are not held back; each file replacement stays
// atomic for them.
#pragma once

#include "IniDocument.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class IniFile {
public:
    explicit IniFile(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }

    // Creates the file, the section and the key as needed; false when the file cannot be written.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;
    bool WriteInt(std::string_view section, std::string_view key, int32_t value) const;
    bool WriteStruct(std::string_view section, std::string_view key, const void* data, size_t size) const;

    // A missing file reads like an empty one.
    bool ReadStruct(std::string_view section, std::string_view key, void* buffer, size_t size) const;
    int32_t ReadInt(std::string_view section, std::string_view key, int32_t def) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;

    // The whole file parsed (empty when missing), and writing a document back over it.
    IniDocument Load() const;
    bool Save(const IniDocument& doc) const;
    // Load, edit, Save as one step under DataFileWriteLock; nothing is written when edit returns
    // false. edit must not wait for another thread that writes a data file.
    bool Update(const std::function<bool(IniDocument&)>& edit) const;

private:
    std::string m_path;
};
