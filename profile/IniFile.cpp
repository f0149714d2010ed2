#include "IniFile.h"

#include "FileSystem.h"

IniDocument IniFile::Load() const
{
    std::optional<std::string> bytes = ReadWholeFile(m_path);
    return bytes ? IniDocument::Parse(*bytes) : IniDocument();
}

bool IniFile::Save(const IniDocument& doc) const
{
    return WriteFileAtomic(m_path, doc.Serialize());
}

bool IniFile::Update(const std::function<bool(IniDocument&)>& edit) const
{
    std::lock_guard<std::recursive_mutex> lock(DataFileWriteLock());
    IniDocument doc = Load();
    return edit(doc) && Save(doc);
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) const
{
    return Update([&](IniDocument& doc) { return doc.WriteString(section, key, value); });
}

bool IniFile::WriteInt(std::string_view section, std::string_view key, int32_t value) const
{
    return Update([&](IniDocument& doc) { return doc.WriteInt(section, key, value); });
}

bool IniFile::WriteStruct(std::string_view section, std::string_view key, const void* data, size_t size) const
{
    return Update([&](IniDocument& doc) { return doc.WriteStruct(section, key, data, size); });
}

bool IniFile::ReadStruct(std::string_view section, std::string_view key, void* buffer, size_t size) const
{
    return Load().ReadStruct(section, key, buffer, size);
}

int32_t IniFile::ReadInt(std::string_view section, std::string_view key, int32_t def) const
{
    return Load().ReadInt(section, key, def);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    return Load().ReadString(section, key, def);
}
