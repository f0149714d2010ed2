#include "MacroAdjustModel.h"
#include "TestLibraries.h"
#include "TimingListModel.h"
#include "TimingSliderRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int32_t kA = 0x04;
constexpr int32_t kB = 0x05;

// Bars of key A, bar i from i * 100 to i * 100 + 50.
std::vector<TimingBar> Staircase(int count)
{
    std::vector<TimingBar> bars;
    for (int i = 0; i < count; ++i)
        bars.push_back({kA, i * 100, i * 100 + 50});
    return bars;
}

TimingView ViewOf(const TimingListModel& list)
{
    return list.View(UsKeyboardLayout());
}

// A row as the user sees it: "[76-380" is a bar from pixel 76 with a start handle running off the
// right edge, "." a row whose bar lies outside the shown time, "" an empty row.
std::string Look(const TimingRow& row)
{
    if (row.bar < 0)
        return "";
    if (!row.barShown)
        return ".";
    return (row.startHandle ? "[" : "") + std::to_string(row.left) + "-" + std::to_string(row.right) +
           (row.endHandle ? "]" : "");
}

TEST(TimingList, TimeAndPixelsMeetAtTheSpansResolution)
{
    EXPECT_EQ(PixelToTime(190, 0, 1000), 500);
    EXPECT_EQ(TimeToPixel(500, 0, 1000), 190);
    EXPECT_EQ(PixelToTime(1, 0, 1000), 2) << "truncated";
    EXPECT_EQ(PixelToTime(380, 2000, 64000), 66000);
    EXPECT_EQ(TimeToPixel(1500, 2000, 1000), -190) << "left of the shown time";
    EXPECT_EQ(TimeToPixel(33000000, 0, 10), 1254000000) << "a long macro at the finest zoom";
}

TEST(TimingList, RowsShowThePartOfEachBarInTheShownTimeWithHandlesOnlyOnVisibleEnds)
{
    TimingListModel list;
    list.SetBars({{kA, 200, 700},
                  {kB, 500, 1800},
                  {kA, 1200, 2500},
                  {kB, 0, 900},
                  {kA, 2000, 2100},
                  {kA, 0, 5000},
                  {kA, 1000, 1000}});
    list.ScrollHorizontal(ScrollRequest::Track, 1000);
    const TimingView view = ViewOf(list);
    std::vector<std::string> looks;
    for (const TimingRow& row : view.rows)
        looks.push_back(Look(row));
    looks.resize(8);
    EXPECT_EQ(looks, (std::vector<std::string>{".", "0-304]", "[76-380", ".", "[380-380", "0-380", "[0-0]", ""}));
    EXPECT_EQ(view.rows[0].label, "A") << "a bar out of sight is still named";
    EXPECT_EQ(view.scale, (std::array<std::string, kTimeScaleMarks>{"1000", "1166", "1332", "1498", "1664", "1830"}));
}

TEST(TimingList, LabelsNameTheKeyMarkTheSelectedBarAndBoxAKeyStillToCome)
{
    TimingListModel list;
    list.SetBars({{kA, 0, 10}, {kMouseLeft, 0, 10}, {kKeyPending, 0, 10}, {0x3A, 0, 10}});
    list.RowClicked(2);
    TimingView view = ViewOf(list);
    EXPECT_EQ(view.rows[1].label, "Left Button");
    EXPECT_EQ(view.rows[3].label, "F1");
    EXPECT_TRUE(view.rows[1].highlighted);
    EXPECT_FALSE(view.rows[0].highlighted || view.rows[2].highlighted || view.rows[3].highlighted);
    EXPECT_TRUE(view.rows[2].keyPending);
    EXPECT_EQ(view.rows[2].label, "");

    list.RowClicked(7);
    EXPECT_EQ(list.Selected(), -1) << "a row without a bar selects nothing";
}

TEST(TimingList, BarsScrollOnlyWhenTheyOutnumberTheRowsAndTimeAsFarAsTheLatestBar)
{
    TimingListModel list;
    list.SetBars(Staircase(19));
    for (ScrollRequest r : {ScrollRequest::LineForward, ScrollRequest::PageForward, ScrollRequest::Track}) {
        list.ScrollVertical(r, 5);
        EXPECT_EQ(list.Top(), 0);
    }

    list.SetBars(Staircase(25));
    list.ScrollVertical(ScrollRequest::Track, 100);
    EXPECT_EQ(list.Top(), 6);
    const TimingView view = ViewOf(list);
    EXPECT_EQ(view.vertical.maximum - view.vertical.page, 6);
    EXPECT_EQ(view.rows[0].bar, 6);
    EXPECT_EQ(view.rows[18].bar, 24);
    list.ScrollVertical(ScrollRequest::LineBack, 0);
    EXPECT_EQ(list.Top(), 5);
    list.ScrollVertical(ScrollRequest::PageBack, 0);
    EXPECT_EQ(list.Top(), 0);
    list.RowClicked(19);
    EXPECT_EQ(list.Selected(), 18);

    // The time range reaches the latest start or end (here 3000), or the span when that is more.
    list.SetBars({{kA, 0, 2500}, {kB, 3000, 200}});
    list.ScrollHorizontal(ScrollRequest::Track, 9000);
    EXPECT_EQ(list.Origin(), 2000);
    list.ScrollHorizontal(ScrollRequest::PageBack, 0);
    list.ScrollHorizontal(ScrollRequest::LineForward, 0);
    EXPECT_EQ(list.Origin(), 1001);
    list.ScrollHorizontal(ScrollRequest::Track, -50);
    EXPECT_EQ(list.Origin(), 0);
    list.SetBars({});
    EXPECT_EQ(ViewOf(list).horizontal.maximum, 1000);
}

TEST(TimingList, ZoomDoublesUpTo64SecondsAndHalvesDownTo10Milliseconds)
{
    TimingListModel out;
    TimingListModel in;
    std::vector<int32_t> outSpans;
    std::vector<int32_t> inSpans;
    for (int i = 0; i < 8; ++i) {
        out.ZoomOut();
        in.ZoomIn();
        outSpans.push_back(out.Span());
        inSpans.push_back(in.Span());
    }
    EXPECT_EQ(outSpans, (std::vector<int32_t>{2000, 4000, 8000, 16000, 32000, 64000, 64000, 64000}));
    EXPECT_EQ(inSpans, (std::vector<int32_t>{500, 250, 125, 62, 31, 15, 10, 10}));
}

TEST(TimingList, NewBarsTakeTheSelectedOrLastBarsTimesAndDeletingSelectsTheNext)
{
    TimingListModel list;
    EXPECT_EQ(list.InsertBar(), 0);
    EXPECT_EQ(list.Bars(), (std::vector<TimingBar>{{kKeyPending, 0, 0}}));

    list.SetBars(Staircase(3));
    EXPECT_EQ(list.InsertBar(), 3);
    list.RowClicked(2);
    EXPECT_EQ(list.InsertBar(), 1);
    EXPECT_EQ(list.Selected(), 1) << "the selection names the new bar";
    EXPECT_EQ(list.Bars(),
              (std::vector<TimingBar>{
                  {kA, 0, 50}, {kKeyPending, 100, 150}, {kA, 100, 150}, {kA, 200, 250}, {kKeyPending, 200, 250}}));

    list.SetBars(Staircase(3));
    EXPECT_TRUE(list.DeleteSelected());
    EXPECT_EQ(list.Bars(), (std::vector<TimingBar>{{kA, 0, 50}, {kA, 200, 250}}));
    EXPECT_TRUE(ViewOf(list).rows[1].highlighted) << "the next bar is selected";
    EXPECT_TRUE(list.DeleteSelected());
    EXPECT_FALSE(list.HasSelection()) << "the last bar went";
    EXPECT_FALSE(list.DeleteSelected());
    EXPECT_EQ(list.Bars().size(), 1u);

    TimingListModel full;
    full.SetBars(Staircase(kMaxTimingBars - 1));
    EXPECT_EQ(full.InsertBar(), kMaxTimingBars - 1);
    EXPECT_FALSE(full.InsertBar()) << "256 bars are the most";
}

// The row slider of a bar from start to end pixel.
TimingSliderRules Slider(int32_t start, int32_t end, bool startHandle = true, bool endHandle = true)
{
    TimingRow row;
    row.bar = 0;
    row.barShown = true;
    row.left = start;
    row.right = end;
    row.startHandle = startHandle;
    row.endHandle = endHandle;
    TimingSliderRules slider;
    slider.Show(row);
    return slider;
}

TEST(TimingList, ArrowsSelectBarsUpToTheEndsAndScrollTheSelectedBarIntoView)
{
    TimingListModel list;
    EXPECT_FALSE(list.SelectByArrow(true)) << "no bar to select";
    list.SetBars(Staircase(25));
    EXPECT_TRUE(list.SelectByArrow(false));
    EXPECT_EQ(list.Selected(), 24) << "Up without a selection takes the last bar";
    EXPECT_EQ(list.Top(), 25 - kTimingRowCount) << "and scrolls down to it";
    EXPECT_TRUE(ViewOf(list).rows[kTimingRowCount - 1].highlighted);
    EXPECT_FALSE(list.SelectByArrow(true)) << "Down stops at the last bar";
    for (int i = 0; i < 30; ++i)
        list.SelectByArrow(false);
    EXPECT_EQ(list.Selected(), 0);
    EXPECT_EQ(list.Top(), 0);
}

TEST(TimingList, LeftAndRightMoveTheSelectedBarOrWithShiftItsReleaseByAHundredthOfTheSpan)
{
    TimingListModel list;
    list.SetBars({{kA, 10, 60}, {kB, 2000, 2500}});
    EXPECT_FALSE(list.NudgeSelected(true, false)) << "nothing selected";
    list.SelectByArrow(true);
    EXPECT_EQ(list.Step(), 10);
    EXPECT_TRUE(list.NudgeSelected(true, false));
    EXPECT_EQ(list.Bars()[0], (TimingBar{kA, 20, 70}));
    EXPECT_TRUE(list.NudgeSelected(false, false));
    EXPECT_TRUE(list.NudgeSelected(false, false));
    EXPECT_EQ(list.Bars()[0], (TimingBar{kA, 0, 50}));
    EXPECT_FALSE(list.NudgeSelected(false, false)) << "a bar never starts before 0";
    for (int i = 0; i < 10; ++i)
        list.NudgeSelected(false, true);
    EXPECT_EQ(list.Bars()[0], (TimingBar{kA, 0, 0})) << "the release stops at the press";
    EXPECT_FALSE(list.NudgeSelected(false, true));
    list.ZoomIn();
    list.ZoomIn();
    list.ZoomIn();
    list.ZoomIn();
    list.ZoomIn();
    list.ZoomIn();
    list.ZoomIn();
    EXPECT_EQ(list.Step(), 1) << "a span of 10 ms moves by 1 ms";

    // The shown time follows a bar moved out of it.
    TimingListModel far;
    far.SetBars({{kB, 2000, 2500}, {kA, 0, 995}});
    far.SelectByArrow(false);
    ASSERT_EQ(far.Selected(), 1);
    far.NudgeSelected(true, true);
    EXPECT_EQ(far.Origin(), 1005 - far.Span()) << "the moved release is at the right edge";
    EXPECT_TRUE(ViewOf(far).rows[1].endHandle);

    // A bar at the largest time keeps its length and stays in range.
    TimingListModel last;
    last.SetBars({{kA, 2147483000, 2147483640}});
    last.SelectByArrow(true);
    last.NudgeSelected(true, false);
    last.NudgeSelected(true, false);
    EXPECT_EQ(last.Bars()[0].end - last.Bars()[0].start, 640);
    EXPECT_GE(last.Bars()[0].start, 2147483000);
}

TEST(TimingList, EachBarReadsAsItsKeyAndTimes)
{
    TimingListModel list;
    list.SetBars({{kA, 0, 120}, {kKeyPending, 5, 5}});
    EXPECT_EQ(list.BarText(0, UsKeyboardLayout()), "A: 0 to 120 ms");
    EXPECT_EQ(list.BarText(1, UsKeyboardLayout()), "new key: 5 to 5 ms");
    EXPECT_EQ(list.BarText(2, UsKeyboardLayout()), "");
    EXPECT_EQ(list.BarText(-1, UsKeyboardLayout()), "");
}

TEST(TimingSlider, EachVisibleEndIsGrabbedWithinFourPixelsAroundIt)
{
    TimingSliderRules slider = Slider(50, 200);
    std::string cursors;
    for (int32_t x : {47, 48, 51, 52, 120, 197, 198, 201, 202})
        cursors += slider.MouseMove(x).cursor == SliderCursor::SizeWestEast ? '<' : '.';
    EXPECT_EQ(cursors, ".<<...<<.");
    EXPECT_FALSE(slider.LeftDown(120).captureMouse) << "the middle of a bar is not a handle";

    TimingSliderRules atEdge = Slider(0, 200);
    EXPECT_TRUE(atEdge.LeftDown(3).captureMouse) << "an end at 0 is grabbed from 0 to 4";
    TimingSliderRules hidden = Slider(0, 200, false, true);
    EXPECT_FALSE(hidden.LeftDown(1).captureMouse) << "a start before the origin has no handle";
}

TEST(TimingSlider, ADraggedEndStaysOnItsSideAndInsideTheRowAndIsReportedWhenDropped)
{
    TimingSliderRules slider = Slider(50, 200);
    EXPECT_TRUE(slider.LeftDown(51).captureMouse);
    EXPECT_TRUE(slider.MouseMove(-30).redraw);
    EXPECT_EQ(slider.Start(), 2);
    slider.MouseMove(250);
    EXPECT_EQ(slider.Start(), 199) << "passing the end stops one pixel before it";
    slider.MouseMove(200);
    EXPECT_EQ(slider.Start(), 200) << "meeting the end is not passing it";
    slider.MouseMove(120);
    const SliderActions up = slider.LeftUp();
    EXPECT_EQ(up.drops, (std::vector<HandleDrop>{{BarEnd::Start, 120}}));
    EXPECT_TRUE(up.releaseMouse);
    EXPECT_EQ(up.cursor, SliderCursor::Arrow);
    EXPECT_TRUE(slider.LeftUp().drops.empty()) << "dropped once";

    slider.LeftDown(199);
    slider.MouseMove(500);
    EXPECT_EQ(slider.End(), 378);
    slider.MouseMove(120);
    EXPECT_EQ(slider.End(), 120) << "meeting the start is not falling below it";
    slider.MouseMove(10);
    EXPECT_EQ(slider.End(), 121) << "falling below the start stops one pixel after it";

    slider.FocusLost();
    EXPECT_TRUE(slider.LeftUp().drops.empty()) << "the drag ended with the focus";
}

TEST(TimingSlider, OverlappingHandlesFollowTheFirstMoveAndANarrowBarStaysVisible)
{
    TimingSliderRules left = Slider(100, 101);
    EXPECT_EQ(left.DrawnRight(), 102) << "drawn two pixels wide";
    EXPECT_EQ(Slider(0, 1, false, true).DrawnRight(), 1) << "widened only with both ends in view";
    left.LeftDown(101);
    EXPECT_EQ(left.Dragging(), TimingSliderRules::Drag::Both);
    left.MouseMove(100);
    EXPECT_EQ(left.Dragging(), TimingSliderRules::Drag::Start) << "left of the end, though on the start";
    left.MouseMove(300);
    EXPECT_EQ(left.End(), 101) << "once chosen, only the start moves";

    TimingSliderRules right = Slider(100, 101);
    right.LeftDown(100);
    right.MouseMove(140);
    EXPECT_EQ(right.End(), 140);
    EXPECT_EQ(right.Start(), 100);

    TimingSliderRules still = Slider(100, 101);
    still.LeftDown(101);
    EXPECT_EQ(still.LeftUp().drops, (std::vector<HandleDrop>{{BarEnd::Start, 100}, {BarEnd::End, 101}}));
}

TEST(TimingSlider, AnEndDroppedAtPixel190OfTheRowsBarAreaLandsAtTheTimeThere)
{
    TimingListModel list;
    list.SetBars(Staircase(30));
    list.RowClicked(1);
    TimingSliderRules slider;
    slider.Show(ViewOf(list).rows[1]);
    ASSERT_EQ(slider.End(), 57);
    slider.LeftDown(57);
    slider.MouseMove(190);
    auto drop = [&](const SliderActions& actions, int row) {
        for (const HandleDrop& d : actions.drops) {
            const std::optional<HandleMove> move = UnpackHandleMoved(PackHandleMoved(d.end, d.x));
            ASSERT_TRUE(move);
            EXPECT_TRUE(list.HandleMoved(move->end, move->x, row));
        }
    };
    drop(slider.LeftUp(), 2);
    EXPECT_EQ(list.Bars()[1], (TimingBar{kA, 100, 500}));

    // Scrolled by three bars and 1500 ms, row 1 is bar 3 and pixel 38 is 1600 ms.
    list.ScrollVertical(ScrollRequest::Track, 3);
    list.ScrollHorizontal(ScrollRequest::Track, 1500);
    drop(SliderActions{SliderCursor::Arrow, false, true, false, {{BarEnd::Start, 38}}}, 1);
    EXPECT_EQ(list.Bars()[3], (TimingBar{kA, 1600, 350}));

    EXPECT_FALSE(UnpackHandleMoved(0x00BE0003u)) << "neither start nor end";
    list.SetBars(Staircase(2));
    EXPECT_FALSE(list.HandleMoved(BarEnd::End, 100, 3)) << "row 3 has no bar";
    EXPECT_EQ(list.Bars(), Staircase(2));
}

struct AdvancedPage {
    MacroLibrary library;
    MacroAdjustModel page{library, UsKeyboardLayout()};

    AdvancedPage()
    {
        library.push_back(TestSet("Shooter"));
        library.back()->Elements.push_back(
            TestMacro("Burst", 0, {{0x04, 0, 100}, {0x05, 0, 50}, {0x04, 1, 200}, {0x05, 1, 0}}));
        library.back()->Elements.push_back(TestMacro("Idle", 0));
        // A press never released sits between A and B: without it they are 131070 ms apart.
        library.back()->Elements.push_back(
            TestMacro("Slow", 0, {{0x04, 0, 10}, {0x04, 1, 65535}, {0x06, 0, 65535}, {0x05, 0, 10}, {0x05, 1, 0}}));
    }
    MacroRecord& Macro(int i) { return *library[0]->Elements[static_cast<size_t>(i)]; }
};

TEST(MacroAdjustPage, ShowsTheChosenMacroAndWritesItBackOnlyWhenCommitted)
{
    AdvancedPage p;
    p.page.LoadMacro(0, 0);
    EXPECT_EQ(p.page.List().Bars(), (std::vector<TimingBar>{{kA, 0, 150}, {kB, 100, 350}}));
    p.page.List().HandleMoved(BarEnd::End, 190, 1);
    EXPECT_EQ(p.Macro(0).Events[2].Delay, 200) << "not yet in the macro";

    const CommitOutcome outcome = p.page.CommitBars();
    EXPECT_TRUE(outcome.written);
    EXPECT_FALSE(outcome.pauseCapped);
    // A 0..500, B 100..350: A press, B press, B release (150 before A's), A release.
    EXPECT_EQ(p.Macro(0).EventCount, 4);
    EXPECT_EQ(p.Macro(0).Events[2].Key, kB);
    EXPECT_EQ(p.Macro(0).Events[2].Delay, 150);

    // Another macro keeps the span and the selection.
    p.page.List().ZoomOut();
    p.page.List().RowClicked(1);
    p.page.LoadMacro(0, 1);
    EXPECT_TRUE(p.page.List().Bars().empty());
    EXPECT_EQ(p.page.List().Span(), 2000);
    EXPECT_EQ(p.page.List().Selected(), 0);

    p.page.LoadMacro(0, -1);
    EXPECT_FALSE(p.page.CommitBars().written);
}

TEST(MacroAdjustPage, CommittingAGapTooLongForAnEventTellsTheWindow)
{
    AdvancedPage p;
    p.page.LoadMacro(0, 2);
    EXPECT_EQ(p.page.List().Bars(), (std::vector<TimingBar>{{kA, 0, 10}, {kB, 131080, 131090}}));
    EXPECT_TRUE(p.page.CommitBars().pauseCapped);
    EXPECT_EQ(p.Macro(2).EventCount, 4);
    EXPECT_EQ(p.Macro(2).Events[1].Delay, 65535);

    p.page.LoadMacro(0, 2);
    EXPECT_FALSE(p.page.CommitBars().pauseCapped) << "once shortened it fits";
}

TEST(MacroAdjustPage, AnAddedBarTakesTheNextKeyPressedAndOnlyThatOne)
{
    AdvancedPage p;
    p.page.LoadMacro(-1, -1);
    EXPECT_EQ(p.page.AddBar(), AddBarOutcome::WarnNoMacroSet);
    p.page.LoadMacro(0, -1);
    EXPECT_EQ(p.page.AddBar(), AddBarOutcome::WarnNoMacroName);
    EXPECT_TRUE(p.page.List().Bars().empty());

    p.page.LoadMacro(0, 0);
    EXPECT_FALSE(p.page.KeyCaptured('Q')) << "no bar is waiting";
    EXPECT_EQ(p.page.AddBar(), AddBarOutcome::CaptureStarted);
    EXPECT_TRUE(p.page.View().rows[2].keyPending);
    EXPECT_TRUE(p.page.KeyCaptured(0x70)); // F1
    EXPECT_FALSE(p.page.WaitingForKey());
    EXPECT_FALSE(p.page.KeyCaptured('Q'));
    EXPECT_EQ(p.page.List().Bars()[2], (TimingBar{0x3A, 100, 350}));
    EXPECT_EQ(p.page.View().rows[2].label, "F1");

    EXPECT_EQ(p.page.AddBar(), AddBarOutcome::CaptureStarted);
    EXPECT_TRUE(p.page.KeyCaptured(0xFF)) << "a key the table does not know";
    EXPECT_EQ(p.page.List().Bars()[3].key, 0);

    p.page.List().SetBars(Staircase(kMaxTimingBars));
    EXPECT_EQ(p.page.AddBar(), AddBarOutcome::Refused);
    EXPECT_FALSE(p.page.WaitingForKey());
}

// The page's key capture, which the system may refuse.
struct Capture : RecorderCapture {
    bool StartKeyCapture() override
    {
        ++starts;
        running = works;
        return works;
    }
    void StopKeyCapture() override { running = false; }
    bool works = true;
    bool running = false;
    int starts = 0;
};

TEST(MacroAdjustPage, AKeyThatCannotBeCapturedAddsNoBarAndLeavesNothingWaiting)
{
    AdvancedPage p;
    Capture capture;
    p.page.LoadMacro(0, 0);
    p.page.List().RowClicked(2); // the second bar
    const std::vector<TimingBar> bars = p.page.List().Bars();

    capture.works = false;
    EXPECT_EQ(p.page.AddBar(capture), AddBarOutcome::CaptureFailed);
    EXPECT_EQ(p.page.List().Bars(), bars) << "no bar waits for a key that cannot come";
    EXPECT_EQ(p.page.List().Selected(), 1);
    EXPECT_FALSE(p.page.WaitingForKey());
    EXPECT_FALSE(p.page.KeyCaptured('Q'));
    EXPECT_EQ(p.page.List().Bars(), bars);

    // Warnings and a full list come before the capture is asked for.
    p.page.LoadMacro(0, -1);
    EXPECT_EQ(p.page.AddBar(capture), AddBarOutcome::WarnNoMacroName);
    p.page.LoadMacro(0, 0);
    p.page.List().SetBars(Staircase(kMaxTimingBars));
    EXPECT_EQ(p.page.AddBar(capture), AddBarOutcome::Refused);
    EXPECT_EQ(capture.starts, 1);

    // Once the capture works again, the add button works as before.
    capture.works = true;
    p.page.LoadMacro(0, 0);
    EXPECT_EQ(p.page.AddBar(capture), AddBarOutcome::CaptureStarted);
    EXPECT_TRUE(capture.running);
    EXPECT_TRUE(p.page.WaitingForKey());
    EXPECT_EQ(p.page.List().Bars().size(), bars.size() + 1);
}

} // namespace
