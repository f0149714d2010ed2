#include "Fakes.h"
#include "KeyTable.h"
#include "MacroPlayer.h"
#include "MacroRecorderModel.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Found by argument lookup, so beside the record's own namespace; for this file only.
static bool operator==(const MacroEvent& a, const MacroEvent& b)
{
    return a.Key == b.Key && a.Action == b.Action && a.Delay == b.Delay;
}

static std::ostream& operator<<(std::ostream& out, const MacroEvent& e)
{
    return out << "{" << int(e.Key) << "," << int(e.Action) << "," << e.Delay << "}";
}

namespace {

constexpr uint8_t kA = 0x04, kB = 0x05, kC = 0x06, kX = 0x1B;
constexpr uint32_t kVkA = 0x41, kVkB = 0x42, kVkX = 0x58;

// A key capture that tells whether the hook runs.
struct FakeCapture : RecorderCapture {
    bool StartKeyCapture() override
    {
        active = true;
        ++starts;
        return true;
    }
    void StopKeyCapture() override
    {
        active = false;
        ++stops;
    }
    bool active = false;
    int starts = 0;
    int stops = 0;
};

using Events = std::vector<MacroEvent>;

struct RecorderTest : ::testing::Test {
    MacroLibrary library;
    LastKeyMessage lastKey;
    FakeCapture capture;
    std::vector<bool> managerControls;
    MacroRecorderModel recorder{library, lastKey, capture, UsKeyboardLayout(),
                                [this](bool on) { managerControls.push_back(on); }};

    // Set "S" holding macro "M" with events; the recorder shows it.
    void Show(const Events& events)
    {
        auto set = std::make_unique<MacroSet>();
        CopyToField(set->Name, "S");
        auto macro = std::make_unique<MacroRecord>();
        std::memset(macro.get(), 0, sizeof(MacroRecord));
        CopyToField(macro->Name, "M");
        for (size_t i = 0; i < events.size(); ++i)
            macro->Events[i] = events[i];
        macro->EventCount = static_cast<int>(events.size());
        set->Elements.push_back(std::move(macro));
        library.push_back(std::move(set));
        recorder.LoadMacro(0, 0);
    }
    // count presses of A without pauses.
    void ShowPresses(int count) { Show(Events(static_cast<size_t>(count), MacroEvent{kA, 0, 0})); }
    const MacroRecord& Stored() const { return *MacroAt(library, 0, 0); }
    Events StoredEvents() const { return Events(Stored().Events, Stored().Events + Stored().EventCount); }
    Events Shown() const { return Events(recorder.Events(), recorder.Events() + recorder.Count()); }
    std::vector<std::string> RowTexts() const
    {
        std::vector<std::string> texts;
        for (const ListRow& row : recorder.List().Rows())
            texts.push_back(row.text);
        return texts;
    }
    // The row of event index i (its pause row when pause is set).
    int RowOf(int event, bool pause = false) const
    {
        const auto& rows = recorder.List().Rows();
        for (size_t r = 0; r < rows.size(); ++r)
            if (RowOwnerPart(rows[r].value) == event + 1 && (RowPicture(rows[r].value) == kRowPicturePause) == pause)
                return static_cast<int>(r);
        ADD_FAILURE() << "no row for event " << event;
        return -1;
    }
    void Key(uint32_t vk, bool up, int64_t ms) { recorder.KeyCaptured({vk, up, ms * 1000}); }
    // Records vk down and up from the record button, 10 ms apart, and stops.
    void RecordTap(uint32_t vk)
    {
        ASSERT_EQ(recorder.RecordClicked(), RecorderWarning::None);
        Key(vk, false, 0);
        Key(vk, true, 10);
        recorder.RecordClicked();
    }
};

using Texts = std::vector<std::string>;

} // namespace

TEST_F(RecorderTest, RowsShowEachEventAndEachPauseWithTheirPictures)
{
    Show({{kA, 0, 120}, {kA, 1, 0}, {kMouseLeft, 0, 5}, {kMouseSide2, 1, 0}});
    EXPECT_EQ(RowTexts(),
              (Texts{"A Press", "120 ms", "A Release", "Left Button Press", "5 ms", "Side Button 2 Release"}));
    const std::vector<uint32_t> values = {RowValue(1, ListRowPicture::KeyPress),   RowValue(1, ListRowPicture::Pause),
                                          RowValue(2, ListRowPicture::KeyRelease), RowValue(3, ListRowPicture::Mouse),
                                          RowValue(3, ListRowPicture::Pause),      RowValue(4, ListRowPicture::Mouse)};
    ASSERT_EQ(recorder.List().Count(), 6);
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(recorder.List().Rows()[i].value, values[i]) << "row " << i;
    EXPECT_EQ(recorder.List().Selection(), -1);
    EXPECT_EQ(recorder.List().Caret(), 5);
    EXPECT_EQ(recorder.CurrentEvent(), 3);
}

TEST_F(RecorderTest, TheRebuiltListKeepsTwoRowsBelowTheCurrentEventInView)
{
    ShowPresses(10);
    EXPECT_EQ(recorder.List().Caret(), 9);
    recorder.SelectRow(4);
    recorder.Command(kCmdDeleteEvent); // 9 rows; current event 4
    EXPECT_EQ(recorder.List().Caret(), 6);
    recorder.SelectRow(5);
    recorder.Command(kCmdDeleteEvent); // 8 rows; current event 5, too near the end
    EXPECT_EQ(recorder.List().Caret(), 5);
    recorder.SelectRow(3);
    recorder.Command(kCmdDeleteEvent); // 7 rows; current event 3, too near the start
    EXPECT_EQ(recorder.List().Caret(), 3);
}

TEST_F(RecorderTest, WithoutAMacroTheRecorderWarnsAndDoesNothing)
{
    recorder.LoadMacro(-1, -1);
    EXPECT_EQ(recorder.RecordClicked(), RecorderWarning::WarnMacroSet);
    EXPECT_EQ(recorder.Command(kCmdRecordAfter), RecorderWarning::WarnMacroSet);
    Show({});
    recorder.LoadMacro(0, -1);
    EXPECT_EQ(recorder.RecordClicked(), RecorderWarning::WarnMacroName);
    EXPECT_EQ(recorder.Command(kCmdFirstMouseButton), RecorderWarning::WarnMacroName);
    EXPECT_FALSE(recorder.Recording());
    EXPECT_EQ(capture.starts, 0);
    EXPECT_EQ(recorder.Count(), 0);
}

TEST_F(RecorderTest, TheRecordButtonRecordsTheWholeMacroAnewAndStoresItWhenStopped)
{
    Show({{kC, 0, 40}, {kC, 1, 0}});
    ASSERT_EQ(recorder.RecordClicked(), RecorderWarning::None);
    EXPECT_TRUE(recorder.Recording());
    EXPECT_TRUE(capture.active);
    EXPECT_FALSE(recorder.ContextMenuAllowed());
    EXPECT_EQ(managerControls, (std::vector<bool>{false}));
    EXPECT_EQ(recorder.Count(), 0);
    EXPECT_TRUE(RowTexts().empty());

    Key(kVkB, false, 1000);
    Key(kVkB, true, 1050);
    // Keys reach the macro only when the recording stops.
    EXPECT_EQ(StoredEvents(), (Events{{kC, 0, 40}, {kC, 1, 0}}));
    EXPECT_EQ(RowTexts(), (Texts{"B Press", "B Release"}));

    recorder.RecordClicked();
    EXPECT_FALSE(recorder.Recording());
    EXPECT_FALSE(capture.active);
    EXPECT_EQ(managerControls, (std::vector<bool>{false, true}));
    // The record-delay switch starts off: no pauses.
    EXPECT_EQ(StoredEvents(), (Events{{kB, 0, 0}, {kB, 1, 0}}));
    // Keys after the stop are not recorded.
    Key(kVkA, false, 2000);
    EXPECT_EQ(recorder.Count(), 2);
}

TEST_F(RecorderTest, PausesAreTheTimesBetweenTheKeysStamps)
{
    Show({});
    recorder.SetRecordPauses(true);
    recorder.RecordClicked();
    Key(kVkA, false, 5000);
    Key(kVkA, true, 5120);
    Key(kVkB, false, 5420);
    EXPECT_EQ(Shown(), (Events{{kA, 0, 120}, {kA, 1, 300}, {kB, 0, 0}}));
    EXPECT_EQ(RowTexts(), (Texts{"A Press", "120 ms", "A Release", "300 ms", "B Press"}));
    recorder.RecordClicked();
    EXPECT_EQ(StoredEvents(), (Events{{kA, 0, 120}, {kA, 1, 300}, {kB, 0, 0}}));
}

TEST_F(RecorderTest, APauseIsTheStampsGapToTheNearestMillisecondUpTo65535)
{
    Show({});
    recorder.SetRecordPauses(true);
    recorder.RecordClicked();
    // However late each key is handled, only the hook's stamps count.
    recorder.KeyCaptured({kVkA, false, 1'000'000});
    recorder.KeyCaptured({kVkA, true, 1'037'000});
    recorder.KeyCaptured({kVkB, false, 1'073'600});
    recorder.KeyCaptured({kVkB, true, 1'073'600 + 70'000'000});
    recorder.KeyCaptured({kVkA, false, 1'073'600 + 70'000'000 - 5}); // a stamp out of order
    EXPECT_EQ(Shown(), (Events{{kA, 0, 37}, {kA, 1, 37}, {kB, 0, 65535}, {kB, 1, 0}, {kA, 0, 0}}));
}

TEST_F(RecorderTest, AHeldKeyRecordsOnePressAndAPressAfterItsReleaseRecordsAgain)
{
    Show({});
    recorder.SetRecordPauses(true);
    recorder.RecordClicked();
    Key(kVkA, false, 0);
    for (int t = 500; t < 700; t += 33)
        Key(kVkA, false, t); // the keyboard's repeats
    Key(kVkA, true, 700);
    Key(kVkA, false, 800);
    EXPECT_EQ(Shown(), (Events{{kA, 0, 700}, {kA, 1, 100}, {kA, 0, 0}}));
}

TEST_F(RecorderTest, TheLastKeyMessageOfAnEarlierRecordingIsIgnoredAtTheNextStart)
{
    Show({});
    RecordTap(kVkX); // ends with X released
    EXPECT_EQ(lastKey.virtualKey, kVkX);
    EXPECT_TRUE(lastKey.up);

    // The message is the program's: another recorder page sees it too.
    MacroRecorderModel other(library, lastKey, capture, UsKeyboardLayout(), nullptr);
    other.LoadMacro(0, 0);
    other.RecordClicked();
    other.KeyCaptured({kVkX, true, 0});
    other.KeyCaptured({kVkX, false, 10});
    other.RecordClicked();
    EXPECT_EQ(StoredEvents(), (Events{{kX, 0, 0}}));
}

TEST_F(RecorderTest, RecordingAfterEvent2Of5PlacesTheKeysBetweenEvents2And3)
{
    Show({{kC, 0, 11}, {kC, 1, 12}, {kC, 0, 13}, {kC, 1, 14}, {kC, 0, 0}});
    recorder.SetRecordPauses(true);
    recorder.SelectRow(RowOf(1));
    ASSERT_EQ(recorder.Command(kCmdRecordAfter), RecorderWarning::None);
    EXPECT_TRUE(recorder.Recording());
    EXPECT_EQ(recorder.InsertionPoint(), 2);
    Key(kVkX, false, 100);
    Key(kVkX, true, 150);
    recorder.RecordClicked();
    EXPECT_EQ(StoredEvents(),
              (Events{{kC, 0, 11}, {kC, 1, 12}, {kX, 0, 50}, {kX, 1, 0}, {kC, 0, 13}, {kC, 1, 14}, {kC, 0, 0}}));
}

TEST_F(RecorderTest, RecordingBeforeAnEventOrAfterTheLastOrWithoutSelection)
{
    Show({{kC, 0, 0}, {kC, 1, 0}});
    recorder.SelectRow(RowOf(0));
    recorder.Command(kCmdRecordBefore);
    Key(kVkA, false, 0);
    recorder.RecordClicked();
    EXPECT_EQ(StoredEvents(), (Events{{kA, 0, 0}, {kC, 0, 0}, {kC, 1, 0}}));

    recorder.SelectRow(RowOf(2));
    recorder.Command(kCmdRecordAfter);
    EXPECT_EQ(recorder.InsertionPoint(), 3);
    Key(kVkA, true, 0);
    recorder.RecordClicked();
    EXPECT_EQ(StoredEvents(), (Events{{kA, 0, 0}, {kC, 0, 0}, {kC, 1, 0}, {kA, 1, 0}}));

    recorder.SelectRow(-1);
    recorder.Command(kCmdRecordBefore);
    EXPECT_EQ(recorder.InsertionPoint(), -1);
    Key(kVkB, false, 0);
    recorder.RecordClicked();
    EXPECT_EQ(StoredEvents().back(), (MacroEvent{kB, 0, 0}));
    EXPECT_EQ(StoredEvents().size(), 5u);
}

TEST_F(RecorderTest, RecordingInto511EventsRecordsOneKeyAndStopsByItself)
{
    ShowPresses(511);
    recorder.Command(kCmdRecordAfter); // no selection: at the end
    Key(kVkB, false, 0);
    EXPECT_FALSE(recorder.Recording());
    EXPECT_FALSE(capture.active);
    EXPECT_EQ(managerControls, (std::vector<bool>{false, true}));
    EXPECT_EQ(Stored().EventCount, 512);
    EXPECT_EQ(Stored().Events[511], (MacroEvent{kB, 0, 0}));
    Key(kVkB, true, 10);
    EXPECT_EQ(recorder.Count(), 512);
}

TEST_F(RecorderTest, EditDelayClampsToOneAnd65535AndAnEmptyFieldKeepsThePause)
{
    Show({{kA, 0, 120}, {kA, 1, 0}});
    const int pauseRow = RowOf(0, true);
    auto edit = [&](ListEditEnd how, const char* text) {
        recorder.SelectRow(pauseRow);
        ASSERT_EQ(recorder.Command(kCmdEditDelay), RecorderWarning::None);
        ASSERT_TRUE(recorder.List().Edit());
        EXPECT_EQ(recorder.List().Edit()->row, pauseRow);
        recorder.EndPauseEdit(how, text);
        EXPECT_FALSE(recorder.List().Edit());
    };

    edit(ListEditEnd::Enter, "0");
    EXPECT_EQ(Stored().Events[0].Delay, 1);
    EXPECT_EQ(recorder.List().RowAt(pauseRow)->text, "1 ms");

    edit(ListEditEnd::FocusLost, "70000");
    EXPECT_EQ(Stored().Events[0].Delay, 65535);
    EXPECT_EQ(recorder.List().RowAt(pauseRow)->text, "65535 ms");

    edit(ListEditEnd::Enter, "250");
    EXPECT_EQ(Stored().Events[0].Delay, 250);
    EXPECT_EQ(recorder.List().RowAt(pauseRow)->text, "250");

    edit(ListEditEnd::Enter, "");
    EXPECT_EQ(Stored().Events[0].Delay, 250);
    edit(ListEditEnd::Escape, "9");
    EXPECT_EQ(Stored().Events[0].Delay, 250);
    EXPECT_EQ(recorder.List().RowAt(pauseRow)->text, "250");
}

TEST_F(RecorderTest, EditDelayOnAnEventRowOpensNothing)
{
    Show({{kA, 0, 120}, {kA, 1, 0}});
    recorder.SelectRow(RowOf(1));
    recorder.Command(kCmdEditDelay);
    EXPECT_FALSE(recorder.List().Edit());
}

TEST_F(RecorderTest, InsertDelayAddsOneMillisecondBeforeAnEventThatFollowsNoPause)
{
    Show({{kA, 0, 0}, {kA, 1, 7}, {kB, 0, 0}});
    recorder.SelectRow(RowOf(1));
    recorder.Command(kCmdInsertDelay);
    EXPECT_EQ(StoredEvents(), (Events{{kA, 0, 1}, {kA, 1, 7}, {kB, 0, 0}}));
    EXPECT_EQ(RowTexts(), (Texts{"A Press", "1 ms", "A Release", "7 ms", "B Press"}));

    // The first event, a pause row and an event after a pause: nothing.
    for (int row : {RowOf(0), RowOf(1, true), RowOf(2)}) {
        recorder.SelectRow(row);
        recorder.Command(kCmdInsertDelay);
    }
    EXPECT_EQ(StoredEvents(), (Events{{kA, 0, 1}, {kA, 1, 7}, {kB, 0, 0}}));
}

TEST_F(RecorderTest, DeleteOnAPauseRowKeepsTheEventAndOnAnEventRowRemovesIt)
{
    Show({{kA, 0, 30}, {kA, 1, 0}, {kB, 0, 0}});
    recorder.SelectRow(RowOf(0, true));
    recorder.Command(kCmdDeleteEvent);
    EXPECT_EQ(StoredEvents(), (Events{{kA, 0, 0}, {kA, 1, 0}, {kB, 0, 0}}));
    EXPECT_EQ(RowTexts(), (Texts{"A Press", "A Release", "B Press"}));

    recorder.SelectRow(RowOf(1));
    recorder.Command(kCmdDeleteEvent);
    EXPECT_EQ(StoredEvents(), (Events{{kA, 0, 0}, {kB, 0, 0}}));
    EXPECT_EQ(Stored().Events[2], (MacroEvent{0, 0, 0}));

    recorder.SelectRow(-1);
    recorder.Command(kCmdDeleteEvent);
    EXPECT_EQ(Stored().EventCount, 2);
}

TEST_F(RecorderTest, MouseButtonsGoBeforeTheSelectedEventOrAtTheEnd)
{
    Show({{kA, 0, 0}, {kA, 1, 0}});
    recorder.SelectRow(RowOf(1));
    recorder.Command(kCmdFirstMouseButton + 3 * 1 + 2); // right button click
    EXPECT_EQ(StoredEvents(), (Events{{kA, 0, 0}, {kMouseRight, 0, 0}, {kMouseRight, 1, 0}, {kA, 1, 0}}));

    recorder.SelectRow(-1);
    recorder.Command(kCmdFirstMouseButton + 3 * 4 + 0); // side button 2 down
    recorder.Command(kCmdFirstMouseButton + 3 * 2 + 1); // middle button up
    EXPECT_EQ(StoredEvents().size(), 6u);
    EXPECT_EQ(StoredEvents()[4], (MacroEvent{kMouseSide2, 0, 0}));
    EXPECT_EQ(StoredEvents()[5], (MacroEvent{kMouseMiddle, 1, 0}));
    EXPECT_EQ(RowTexts()[5], "Middle Button Release");
}

TEST_F(RecorderTest, AClickNeedsTwoFreeSlots)
{
    ShowPresses(511);
    recorder.Command(kCmdFirstMouseButton + 2); // left click
    EXPECT_EQ(Stored().EventCount, 511);
    recorder.Command(kCmdFirstMouseButton); // left down still fits
    EXPECT_EQ(Stored().EventCount, 512);
    recorder.Command(kCmdFirstMouseButton + 1);
    EXPECT_EQ(Stored().EventCount, 512);
}

TEST_F(RecorderTest, NoMenuCommandActsWhileRecording)
{
    Show({{kA, 0, 30}});
    recorder.RecordClicked();
    recorder.SelectRow(0);
    recorder.Command(kCmdFirstMouseButton);
    recorder.Command(kCmdRecordAfter);
    EXPECT_EQ(recorder.Count(), 0);
    EXPECT_EQ(capture.starts, 1);
}

TEST(RecorderMenu, OffersTheFiveCommandsAndEachMouseButton)
{
    const std::vector<MenuItem> menu = RecorderContextMenu().items;
    ASSERT_EQ(menu.size(), 11u);
    EXPECT_EQ(menu[0].text, "Start Record before");
    EXPECT_EQ(menu[0].id, 1001);
    EXPECT_EQ(menu[1].text, "Start Record after");
    EXPECT_EQ(menu[4].text, "Delete");
    EXPECT_EQ(menu[4].id, 1005);
    EXPECT_EQ(menu[5].type, MenuItemType::Separator);
    EXPECT_EQ(menu[9].type, MenuItemType::Submenu);
    EXPECT_EQ(menu[9].text, "Side Button 1");
    ASSERT_EQ(menu[9].submenu.items.size(), 3u);
    EXPECT_EQ(menu[9].submenu.items[0].text, "Down");
    EXPECT_EQ(menu[9].submenu.items[0].id, 1029);
    EXPECT_EQ(menu[9].submenu.items[2].text, "Click");
    EXPECT_EQ(menu[9].submenu.items[2].id, 1031);
}

// The capture sees every key on the desktop, also the keys another program sends: a macro the host
// plays while the recorder listens comes back as the same macro, with the pauses of the play.
TEST(RecorderFeedback, AMacroPlayedWhileRecordingIsRecordedAsItPlayed)
{
    struct FeedbackSink : RecordingInputSink {
        FeedbackSink(FakeClock& c, FakeCapture& cap) : RecordingInputSink(c), clock(c), capture(cap) {}
        void SendKey(uint8_t vk, uint8_t scan, uint32_t flags) override
        {
            RecordingInputSink::SendKey(vk, scan, flags);
            if (capture.active && recorder)
                recorder->KeyCaptured({vk, (flags & kKeyUp) != 0, clock.NowUs()});
        }
        FakeClock& clock;
        FakeCapture& capture;
        MacroRecorderModel* recorder = nullptr;
    };

    FakeClock clock;
    FakeCapture capture;
    FeedbackSink sink(clock, capture);
    MacroPlayer player(clock, sink, UsKeyboardLayout());

    MacroLibrary library;
    auto set = std::make_unique<MacroSet>();
    CopyToField(set->Name, "S");
    auto macro = std::make_unique<MacroRecord>();
    std::memset(macro.get(), 0, sizeof(MacroRecord));
    set->Elements.push_back(std::move(macro));
    library.push_back(std::move(set));
    LastKeyMessage lastKey;
    MacroRecorderModel recorder(library, lastKey, capture, UsKeyboardLayout(), nullptr);
    sink.recorder = &recorder;
    recorder.LoadMacro(0, 0);
    recorder.SetRecordPauses(true);

    const Events played = {{kA, 0, 100},        {kA, 1, 250},        {kB, 0, 450}, {kB, 1, 40},
                           {kMouseLeft, 0, 20}, {kMouseLeft, 1, 37}, {kC, 0, 37},  {kC, 1, 0}};
    ButtonInfo key;
    std::memset(&key, 0, sizeof key);
    key.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    for (size_t i = 0; i < played.size(); ++i)
        key.MacroEvents[i] = played[i];
    key.MacroEventCount = static_cast<uint16_t>(played.size());

    ASSERT_EQ(recorder.RecordClicked(), RecorderWarning::None);
    player.Start(0, key);
    player.RunPending();
    recorder.RecordClicked();

    EXPECT_EQ(sink.Events().size(), played.size());
    // The mouse buttons never reach a keyboard hook: their time joins the pause before C.
    const MacroRecord& recorded = *MacroAt(library, 0, 0);
    EXPECT_EQ(Events(recorded.Events, recorded.Events + recorded.EventCount),
              (Events{{kA, 0, 100}, {kA, 1, 250}, {kB, 0, 450}, {kB, 1, 97}, {kC, 0, 37}, {kC, 1, 0}}));
}
