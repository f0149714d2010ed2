#include "ProgramTexts.h"

const char* LanguageModuleFile(uint16_t languageId)
{
    // Spanish comes in every sublanguage from 0x040A to 0x500A; the others in the listed ones.
    if ((languageId & 0x3FF) == 0x0A && languageId >= 0x040A && languageId <= 0x500A)
        return "Spanish.dll";
    switch (languageId) {
    case 0x0406: return "Danish.dll";
    case 0x0407:
    case 0x0807:
    case 0x0C07:
    case 0x1007:
    case 0x1407: return "German.dll";
    case 0x040B: return "Finnish.dll";
    case 0x040C:
    case 0x080C:
    case 0x0C0C:
    case 0x100C:
    case 0x140C: return "French.dll";
    case 0x0415: return "Polish.dll";
    case 0x0419: return "Russian.dll";
    case 0x041D: return "Swedish.dll";
    case 0x041F: return "Turkish.dll";
    default: return "Eng.dll";
    }
}

std::string FirmwareVersionText(int32_t version)
{
    if (version < 100)
        return "N/A";
    std::string digits = std::to_string(version);
    digits.insert(1, ".");
    return digits;
}
