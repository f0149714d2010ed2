// An apply in two halves: the click saves and asks the host, the host's answer (or the time limit)
// ends it, and the window answers clicks and closes meanwhile.
#include "ApplyRun.h"
#include "ConfigFakes.h"
#include "IniFile.h"
#include "LanguageStrings.h"
#include "ProfileStore.h"
#include "StatusTexts.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Answer = HostWindow::Answer;

int CurrentInConfigIni(const std::string& folder)
{
    return IniFile(ConfigIniPath(folder)).ReadInt("Setting", "CurrentProfile", -1);
}

class ApplyRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaultProfiles(*block.content);
        block.content->CurrentProfile = 1;
        source.running = &block;
        doc.Open(source);
    }

    TempFolder dir;
    RecordingSharedBlock block;
    RecordingHostWindow host;
    RecordingHostBlockSource source;
    ConfigDocument doc{dir.Path(), host};
    ApplyRun run{doc};
};

TEST_F(ApplyRunTest, WithAHost_TheClickSavesEverythingAndShowsUpdatingUntilTheAnswer)
{
    doc.SelectSlot(3);
    const ApplyStep clicked = run.Request(ApplyRequest::Apply, source);
    EXPECT_EQ(clicked.status, ApplyOutcome::Updating);
    EXPECT_FALSE(clicked.close);
    EXPECT_TRUE(run.Waiting());
    EXPECT_EQ(CurrentInConfigIni(dir.Path()), 3);
    EXPECT_EQ(block.content->CurrentProfile, 3);
    EXPECT_TRUE(std::filesystem::exists(NativePath(MacroLibraryPath(dir.Path()))));
    ASSERT_EQ(host.requests.size(), 1u);
    EXPECT_EQ(host.requests[0], run.AwaitedRequest());
    EXPECT_FALSE(ApplyLetsWindowClose(ApplyOutcome::Updating));
    EXPECT_EQ(ApplyOutcomeTextId(ApplyOutcome::Updating), static_cast<uint32_t>(IDS_STATUS_UPDATING));

    EXPECT_FALSE(run.HostAnswered(run.AwaitedRequest() + 1, Answer::Answered, source).status)
        << "an answer to another request";
    EXPECT_TRUE(run.Waiting());
    const ApplyStep answered = run.HostAnswered(run.AwaitedRequest(), Answer::Answered, source);
    EXPECT_EQ(answered.status, ApplyOutcome::Applied);
    EXPECT_FALSE(answered.close) << "Apply never closes";
    EXPECT_FALSE(run.Waiting());
    EXPECT_FALSE(run.HostAnswered(run.AwaitedRequest(), Answer::Answered, source).status) << "told twice";
}

TEST_F(ApplyRunTest, TheTimeLimit_TellsTheHostDidNotAnswerAndItsLateAnswerIsIgnored)
{
    run.Request(ApplyRequest::Ok, source);
    const uint32_t sent = run.AwaitedRequest();
    const ApplyStep limit = run.HostAnswered(sent, Answer::NoAnswer, source);
    EXPECT_EQ(limit.status, ApplyOutcome::HostDidNotAnswer);
    EXPECT_FALSE(limit.close) << "OK stays open to retry";
    EXPECT_EQ(run.LastOutcome(), ApplyOutcome::HostDidNotAnswer);

    const ApplyStep late = run.HostAnswered(sent, Answer::Answered, source);
    EXPECT_FALSE(late.status);
    EXPECT_FALSE(late.close);
    EXPECT_EQ(run.LastOutcome(), ApplyOutcome::HostDidNotAnswer);
}

TEST_F(ApplyRunTest, WithoutAHost_TheOutcomeComesAtOnceAndOkCloses)
{
    host.answer = std::nullopt; // the block exists but no host window answers to the title
    const ApplyStep applied = run.Request(ApplyRequest::Apply, source);
    EXPECT_EQ(applied.status, ApplyOutcome::SavedWithoutHost);
    EXPECT_FALSE(applied.close);
    EXPECT_FALSE(run.Waiting());
    const ApplyStep ok = run.Request(ApplyRequest::Ok, source);
    EXPECT_EQ(ok.status, ApplyOutcome::SavedWithoutHost);
    EXPECT_TRUE(ok.close);
    EXPECT_FALSE(run.Request(ApplyRequest::Ok, source).status) << "nothing after the window closed";
}

TEST_F(ApplyRunTest, ClicksWhileWaiting_StartNoSecondApplyAndAnOkClosesAfterASuccessfulAnswer)
{
    run.Request(ApplyRequest::Apply, source);
    for (ApplyRequest again : {ApplyRequest::Apply, ApplyRequest::Ok, ApplyRequest::Apply}) {
        const ApplyStep step = run.Request(again, source);
        EXPECT_FALSE(step.status);
        EXPECT_FALSE(step.close);
    }
    EXPECT_EQ(host.calls, 1);
    EXPECT_EQ(block.writes, 1);

    const ApplyStep answered = run.HostAnswered(run.AwaitedRequest(), Answer::Answered, source);
    EXPECT_EQ(answered.status, ApplyOutcome::Applied);
    EXPECT_TRUE(answered.close) << "the OK, kept over the Applys, closes: nothing was edited meanwhile";
    EXPECT_EQ(host.calls, 1) << "nothing new to apply";
}

TEST_F(ApplyRunTest, ARememberedApplyWithNothingEditedMeanwhile_EndsWithTheAnswer)
{
    run.Request(ApplyRequest::Apply, source);
    run.Request(ApplyRequest::Apply, source);
    const ApplyStep answered = run.HostAnswered(run.AwaitedRequest(), Answer::NoAnswer, source);
    EXPECT_EQ(answered.status, ApplyOutcome::HostDidNotAnswer);
    EXPECT_FALSE(answered.close);
    EXPECT_FALSE(run.Waiting());
    EXPECT_EQ(host.calls, 1);
}

TEST_F(ApplyRunTest, AnEditAndAClickWhileWaiting_RunAsANewApplyAfterTheAnswer)
{
    run.Request(ApplyRequest::Ok, source);
    const uint32_t first = run.AwaitedRequest();
    doc.SelectSlot(4); // the window answers clicks while the host works
    run.Request(ApplyRequest::Apply, source);
    EXPECT_EQ(block.content->CurrentProfile, 1) << "no second apply before the answer";

    const ApplyStep again = run.HostAnswered(first, Answer::Answered, source);
    EXPECT_EQ(again.status, ApplyOutcome::Updating);
    EXPECT_FALSE(again.close) << "the OK stands for the edit made after it too";
    EXPECT_EQ(host.calls, 2);
    EXPECT_NE(run.AwaitedRequest(), first);
    EXPECT_EQ(block.content->CurrentProfile, 4);
    EXPECT_EQ(CurrentInConfigIni(dir.Path()), 4);

    EXPECT_FALSE(run.HostAnswered(first, Answer::Answered, source).status);
    const ApplyStep answered = run.HostAnswered(run.AwaitedRequest(), Answer::Answered, source);
    EXPECT_EQ(answered.status, ApplyOutcome::Applied);
    EXPECT_TRUE(answered.close);
}

TEST_F(ApplyRunTest, ClosingWhileWaiting_LosesNothingAndDropsTheAnswer)
{
    doc.SelectSlot(5);
    run.Request(ApplyRequest::Apply, source);
    run.Request(ApplyRequest::Ok, source);
    run.Close();
    EXPECT_FALSE(run.Waiting());
    EXPECT_EQ(CurrentInConfigIni(dir.Path()), 5);
    EXPECT_EQ(block.content->CurrentProfile, 5) << "the host pushes what the block holds";
    EXPECT_TRUE(std::filesystem::exists(NativePath(MacroLibraryPath(dir.Path()))));

    const ApplyStep late = run.HostAnswered(run.AwaitedRequest(), Answer::Answered, source);
    EXPECT_FALSE(late.status);
    EXPECT_FALSE(late.close);
    EXPECT_FALSE(run.Request(ApplyRequest::Apply, source).status);
    EXPECT_EQ(host.calls, 1);
}

TEST_F(ApplyRunTest, MacrosNotSaved_IsToldWhenTheHostAnswersAndKeepsTheWindowOpen)
{
    std::filesystem::create_directories(NativePath(MacroLibraryPath(dir.Path())));
    EXPECT_EQ(run.Request(ApplyRequest::Ok, source).status, ApplyOutcome::Updating);
    const ApplyStep answered = run.HostAnswered(run.AwaitedRequest(), Answer::Answered, source);
    EXPECT_EQ(answered.status, ApplyOutcome::MacrosNotSaved);
    EXPECT_FALSE(answered.close);

    host.answer = std::nullopt;
    const ApplyStep withoutHost = run.Request(ApplyRequest::Ok, source);
    EXPECT_EQ(withoutHost.status, ApplyOutcome::MacrosNotSaved);
    EXPECT_FALSE(withoutHost.close);
}

} // namespace
