#include "ConfigFakes.h"
#include "LanguageStrings.h"
#include "NameTexts.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A language whose every text is its number, with the place of the profile number behind it.
std::string Numbered(uint32_t id) { return std::to_string(id) + " {slot}"; }

ProfileTransfer Result(TransferOutcome outcome, int otherSlot = 0, NameProblem problem = NameProblem::None)
{
    ProfileTransfer result;
    result.outcome = outcome;
    result.otherSlot = otherSlot;
    result.problem = problem;
    return result;
}

std::string Id(uint32_t id, int slot = 0) { return std::to_string(id) + " " + std::to_string(slot); }

TEST(NameTexts, EachRefusalSaysItsOwnReasonAndATakenNameNamesTheProfile)
{
    EXPECT_EQ(NameProblemText(NameProblem::None, 0, Numbered), "");
    EXPECT_EQ(NameProblemText(NameProblem::Empty, 0, Numbered), Id(IDS_NAME_EMPTY));
    EXPECT_EQ(NameProblemText(NameProblem::ReservedCharacter, 0, Numbered), Id(IDS_NAME_RESERVED));
    EXPECT_EQ(NameProblemText(NameProblem::DeviceName, 0, Numbered), Id(IDS_NAME_DEVICE));
    EXPECT_EQ(NameProblemText(NameProblem::TrailingDot, 0, Numbered), Id(IDS_NAME_TRAILING_DOT));
    EXPECT_EQ(NameProblemText(NameProblem::TooLong, 0, Numbered), Id(IDS_NAME_TOO_LONG));
    EXPECT_EQ(NameProblemText(NameProblem::Taken, 4, Numbered), Id(IDS_NAME_TAKEN, 4));
}

TEST(NameTexts, ImportAndExportTellEveryOutcome)
{
    EXPECT_EQ(TransferText(Result(TransferOutcome::Done), true, Numbered), Id(IDS_STATUS_IMPORTED));
    EXPECT_EQ(TransferText(Result(TransferOutcome::Done), false, Numbered), Id(IDS_STATUS_EXPORTED));
    EXPECT_EQ(TransferText(Result(TransferOutcome::TitleTaken, 3), true, Numbered), Id(IDS_STATUS_IMPORTED_RENAMED, 3));
    EXPECT_EQ(TransferText(Result(TransferOutcome::TitleTaken, 5), false, Numbered),
              Id(IDS_STATUS_EXPORTED_NAME_KEPT, 5));
    for (bool import : {true, false})
        EXPECT_EQ(TransferText(Result(TransferOutcome::NoCurrentSlot), import, Numbered), Id(IDS_STATUS_NO_SLOT));
    EXPECT_EQ(TransferText(Result(TransferOutcome::NameRefused, 0, NameProblem::DeviceName), true, Numbered),
              Id(IDS_NAME_DEVICE));
    EXPECT_EQ(TransferText(Result(TransferOutcome::NameRefused, 2, NameProblem::Taken), true, Numbered),
              Id(IDS_NAME_TAKEN, 2));
    EXPECT_EQ(TransferText(Result(TransferOutcome::FileNotRead), true, Numbered), Id(IDS_STATUS_IMPORT_NOT_READ));
    EXPECT_EQ(TransferText(Result(TransferOutcome::FileNotWritten), false, Numbered), Id(IDS_STATUS_EXPORT_NOT_WRITTEN));
    EXPECT_EQ(TransferText(Result(TransferOutcome::CopyNotWritten), false, Numbered), Id(IDS_STATUS_EXPORT_COPY_FAILED));
    EXPECT_EQ(TransferText(Result(TransferOutcome::ForbiddenFile, 1), false, Numbered), Id(IDS_STATUS_EXPORT_FORBIDDEN, 1));
    EXPECT_EQ(UnusableNameText(SlotNameProblem{2, NameProblem::Taken}, Numbered), Id(IDS_STATUS_NAME_NOT_SAVED, 2));
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
