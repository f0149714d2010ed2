#include "LanguageModule.h"

#include "Log.h"
#include "ProgramTexts.h"

bool LanguageModule::Load(const std::string& programFolder, LANGID languageId)
{
    if (languageId == 0)
        languageId = ::GetUserDefaultLangID();
    const std::string path = programFolder + "lang\\" + LanguageModuleFile(languageId);
    // Strings only: the module's code never runs.
    m_module.Reset(::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!m_module)
        LogDebug("TolkCfg: language module %s not loaded\n", path.c_str());
    return Loaded();
}

std::string LanguageModule::String(UINT id) const
{
    if (!m_module)
        return {};
    char text[1024];
    const int length = ::LoadStringA(m_module.Get(), id, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string();
}
