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

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) const
{
    IniDocument doc = Load();
    return doc.WriteString(section, key, value) && Save(doc);
}

bool IniFile::WriteInt(std::string_view section, std::string_view key, int32_t value) const
{
    IniDocument doc = Load();
    return doc.WriteInt(section, key, value) && Save(doc);
}

bool IniFile::WriteStruct(std::string_view section, std::string_view key, const void* data, size_t size) const
{
    IniDocument doc = Load();
    return doc.WriteStruct(section, key, data, size) && Save(doc);
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
