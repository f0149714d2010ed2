#include "ConfigFakes.h"
#include "LanguageStrings.h"
#include "NameTexts.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A language whose every text is its number, with the place of the profile number behind it.
std::string Numbered(uint32_t id)
{
    return std::to_string(id) + " {slot}";
}

std::string Id(uint32_t id, int slot = 0)
{
    return std::to_string(id) + " " + std::to_string(slot);
}

TEST(NameTexts, TheGameProfileDialogIsToldWhyTheDocumentRefusesATypedName)
{
    TempFolder dir;
    RecordingSharedBlock block;
    SetDefaultProfiles(*block.content);
    CopyToField(block.content->Profiles[2].Name, "Race");
    RecordingHostWindow host;
    ConfigDocument doc(dir.Path(), block, host);
    doc.Open(true);
    EXPECT_EQ(GameProfileNameRefusal(doc, 1, " RACE ", Numbered), Id(IDS_NAME_TAKEN, 3));
    EXPECT_EQ(GameProfileNameRefusal(doc, 1, "", Numbered), Id(IDS_NAME_EMPTY));
    EXPECT_EQ(GameProfileNameRefusal(doc, 3, "race", Numbered), "") << "its own name";
    EXPECT_EQ(GameProfileNameRefusal(doc, 1, "Rally", Numbered), "");
}

} // namespace
