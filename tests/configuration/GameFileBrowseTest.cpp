#include "GameFileBrowse.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(FileDialogFilter, BarsBecomeZerosAndTheListEndsWithAnEmptyPart)
{
    EXPECT_EQ(FileDialogFilter("exe file(*.exe)|*.EXE|"), "exe file(*.exe)\0*.EXE\0\0"s);
    EXPECT_EQ(FileDialogFilter("Profiles|*.rkp|All files|*.*|"), "Profiles\0*.rkp\0All files\0*.*\0\0"s);
    EXPECT_EQ(FileDialogFilter("Profiles|*.rkp"), "Profiles\0*.rkp\0\0"s) << "a missing last bar is supplied";
    EXPECT_EQ(FileDialogFilter(""), "\0\0"s);
}

TEST(GameFileQuestion, OffersProgramFilesFromTheDesktop)
{
    const GameFileQuestion question = GameFileQuestionFor("C:\\Users\\Player\\Desktop");
    EXPECT_EQ(question.filter, "exe file(*.exe)\0*.EXE\0\0"s);
    EXPECT_EQ(question.defaultExtension, "exe");
    EXPECT_EQ(question.initialFile, "C:\\Users\\Player\\Desktop\\.exe");
    EXPECT_EQ(GameFileQuestionFor("").initialFile, "\\.exe") << "an unknown desktop still gives a file name";
}

} // namespace
