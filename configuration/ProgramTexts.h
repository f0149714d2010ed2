// Texts the configuration program derives from numbers: which language module to load for the
// user's language, and how versions are shown.
#pragma once

#include "Version.h"

#include <cstdint>
#include <string>

// The program's own version as it is shown and sent to the support site ("1.28").
constexpr const char kSoftwareVersionText[] = TOLK_SOFTWARE_VERSION_TEXT;

// File name below "lang\" of the module for a Windows language identifier; "Eng.dll" for every
// language without a module of its own.
const char* LanguageModuleFile(uint16_t languageId);

// The firmware version as stored (times 100) as it is shown: "N/A" below 100, otherwise its
// decimal digits with a full stop after the first (128 -> "1.28", 1234 -> "1.234").
std::string FirmwareVersionText(int32_t version);
