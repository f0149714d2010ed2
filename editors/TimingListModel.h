// The timing area of the advanced macro editor (CTimingList): its own copy of the bars, the time
// span shown across a row, the horizontal and vertical scroll positions and the selected bar, and
// what its 19 rows and two scroll bars show. The window applies View() after every change it is
// told about (every action below that returns, or is documented to need, a refresh).
#pragma once

#include "KeyboardLayout.h"
#include "TimingBars.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Slider to timing list when a dragged bar end is dropped: wParam low word 1 (start) or 2 (end),
// high word the new pixel position; lParam the row id 1..19.
constexpr uint32_t WM_TIMING_HANDLE_MOVED = 1280;
// Label to timing list on a left button press: wParam 0, lParam the row id 1..19.
constexpr uint32_t WM_TIMING_ROW_CLICK = 1282;

constexpr int kTimingRowCount = 19;
// Pixels of a row's bar area, which shows Span() milliseconds.
constexpr int32_t kBarAreaWidth = 380;
constexpr int32_t kDefaultSpan = 1000;
constexpr int32_t kMinSpan = 10;
constexpr int32_t kMaxSpan = 64000;
// The time scale above the rows has this many numbers, a sixth of the span apart.
constexpr int kTimeScaleMarks = 6;

// Pixel of time t in a row's bar area, and time at pixel x; integer arithmetic that truncates, so
// a time survives the way to a pixel and back only to the span's resolution.
int32_t TimeToPixel(int32_t t, int32_t origin, int32_t span);
int32_t PixelToTime(int32_t x, int32_t origin, int32_t span);

enum class BarEnd { Start = 1, End = 2 };

// The packed wParam of WM_TIMING_HANDLE_MOVED, and back; nothing for an unknown end.
uint32_t PackHandleMoved(BarEnd end, int32_t x);
struct HandleMove {
    BarEnd end;
    int32_t x;
};
std::optional<HandleMove> UnpackHandleMoved(uint32_t wParam);

// What one row shows: part of a bar, its grab handles and the label with the key's name.
struct TimingRow {
    int bar = -1;          // index of the row's bar; -1: an empty row
    bool barShown = false; // some of the bar lies in the shown time
    int32_t left = 0;      // pixels of the drawn bar in the row's bar area
    int32_t right = 0;
    bool startHandle = false; // the start lies in the shown time and can be dragged
    bool endHandle = false;
    std::string label;        // the key's name
    bool keyPending = false;  // the label shows a white box instead of a name
    bool highlighted = false; // the label of the selected bar

    bool operator==(const TimingRow& other) const;
};

struct ScrollRange {
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t page = 0;
    int32_t position = 0;
};

struct TimingView {
    std::array<TimingRow, kTimingRowCount> rows;
    ScrollRange vertical;   // in bars: position is the top row's bar
    ScrollRange horizontal; // in milliseconds: position is the time at the left edge
    std::array<std::string, kTimeScaleMarks> scale;
};

enum class ScrollRequest { LineBack, LineForward, PageBack, PageForward, Track, Other };

// The position a scroll bar moves to: a line is 1, a page the range's page, tracking goes to the
// thumb; the result is kept within minimum..maximum - page.
int32_t ScrollTo(const ScrollRange& range, ScrollRequest request, int32_t thumb);

class TimingListModel {
public:
    // The bars shown from now on; span, scroll positions and selection stay as they were.
    void SetBars(std::vector<TimingBar> bars) { m_bars = std::move(bars); }
    const std::vector<TimingBar>& Bars() const { return m_bars; }

    int32_t Span() const { return m_span; }
    int32_t Origin() const { return m_origin; }
    int Top() const { return m_top; }
    // The selected bar, or -1; an index at or beyond the bar count selects nothing.
    int Selected() const { return m_selected; }
    bool HasSelection() const;

    TimingView View(const KeyboardLayout& layout) const;

    // A dragged end of row 1..19's bar was dropped at pixel x: it takes the time there. The row
    // already shows it, so no refresh is needed. False when the row has no bar.
    bool HandleMoved(BarEnd end, int32_t x, int row);
    // A label of row 1..19 was clicked: its bar is selected, or nothing when the row has none.
    void RowClicked(int row);

    // A new bar waiting for its key: at the selected bar's place with its times (the selection then
    // names the new bar), else after the last bar with its times, else at 0..0. Nothing when 256
    // bars exist already. The result is the new bar's index.
    std::optional<int> InsertBar();
    void SetKey(int bar, int32_t key);
    // Removes the selected bar; later bars move up and the selection index stays, so it names the
    // next bar, or nothing after the last. False without a selection.
    bool DeleteSelected();

    // Zoom out doubles the span up to 64000 ms (a span that would exceed it stays); zoom in halves
    // it down to 10 ms. Both need the time scale and the rows redrawn.
    void ZoomOut();
    void ZoomIn();

    void ScrollHorizontal(ScrollRequest request, int32_t thumb);
    void ScrollVertical(ScrollRequest request, int32_t thumb);

    // The keyboard in the timing area. Up and Down select the previous or the next bar (from no
    // selection: the first or the last), stopping at the ends, and scroll the rows to show it.
    // False when the selection stays as it was.
    bool SelectByArrow(bool forward);
    // Left and Right move the selected bar one Step() earlier or later, never before 0; with
    // releaseOnly only its release moves, never before its press. The shown time follows the moved
    // end. False without a selection or when nothing could move.
    bool NudgeSelected(bool later, bool releaseOnly);
    // One keyboard step: a hundredth of the shown span, at least 1 ms.
    int32_t Step() const { return std::max<int32_t>(1, m_span / 100); }
    // What a bar reads as to assistive technology: "A: 0 to 120 ms", "new key: ..." while it waits
    // for its key; empty for no such bar.
    std::string BarText(int bar, const KeyboardLayout& layout) const;

private:
    ScrollRange VerticalRange() const;
    ScrollRange HorizontalRange() const;
    // The bar of row 1..19, or -1.
    int BarOfRow(int row) const;
    // Scrolls the rows to show the selected bar, and the time span to show time t.
    void ShowSelected();
    void ShowTime(int32_t t);

    std::vector<TimingBar> m_bars;
    int32_t m_span = kDefaultSpan;
    int32_t m_origin = 0;
    int m_top = 0;
    int m_selected = -1;
};
