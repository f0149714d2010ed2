#include "ProgramTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ProgramTexts, LanguageModuleFollowsTheUsersLanguage)
{
    const struct {
        uint16_t id;
        const char* file;
    } table[] = {
        {0x0406, "Danish.dll"},
        {0x0407, "German.dll"},
        {0x0807, "German.dll"},
        {0x0C07, "German.dll"},
        {0x1007, "German.dll"},
        {0x1407, "German.dll"},
        {0x0409, "Eng.dll"},
        {0x040A, "Spanish.dll"},
        {0x0C0A, "Spanish.dll"},
        {0x040B, "Finnish.dll"},
        {0x040C, "French.dll"},
        {0x080C, "French.dll"},
        {0x0C0C, "French.dll"},
        {0x100C, "French.dll"},
        {0x140C, "French.dll"},
        {0x0415, "Polish.dll"},
        {0x0419, "Russian.dll"},
        {0x041D, "Swedish.dll"},
        {0x041F, "Turkish.dll"},
        // Everything else falls back to English: other languages, and sublanguages without a module.
        {0x0410, "Eng.dll"},
        {0x0809, "Eng.dll"},
        {0x1807, "Eng.dll"},
        {0x180C, "Eng.dll"},
        {0x000A, "Eng.dll"},
        {0x050A, "Eng.dll"},
        {0x540A, "Eng.dll"},
        {0x0000, "Eng.dll"},
        {0xFFFF, "Eng.dll"},
    };
    for (const auto& row : table)
        EXPECT_STREQ(LanguageModuleFile(row.id), row.file) << std::hex << row.id;
    for (uint16_t id = 0x080A; id <= 0x500A; id += 0x0400)
        EXPECT_STREQ(LanguageModuleFile(id), "Spanish.dll") << std::hex << id;
}

TEST(ProgramTexts, FirmwareVersionShowsAFullStopAfterTheFirstDigitFrom100On)
{
    EXPECT_EQ(FirmwareVersionText(99), "N/A");
    EXPECT_EQ(FirmwareVersionText(0), "N/A");
    EXPECT_EQ(FirmwareVersionText(-128), "N/A");
    EXPECT_EQ(FirmwareVersionText(100), "1.00");
    EXPECT_EQ(FirmwareVersionText(105), "1.05");
    EXPECT_EQ(FirmwareVersionText(128), "1.28");
    EXPECT_EQ(FirmwareVersionText(1234), "1.234");
}

} // namespace
