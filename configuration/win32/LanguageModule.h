// The language module: a resource-only library of the program's texts, chosen by the user's
// language. Without one every text is empty and the program runs on.
#pragma once

#include "UniqueHandle.h"

#include <string>

#include <windows.h>

class LanguageModule {
public:
    // Loads folder + "lang\" + the module of languageId (the user's default when 0).
    bool Load(const std::string& programFolder, LANGID languageId = 0);
    // The string of that number; empty when there is no module or no such string.
    std::string String(UINT id) const;
    bool Loaded() const { return static_cast<bool>(m_module); }

private:
    UniqueModule m_module;
};
