// What a bar row of the timing area (CTimingSlider) does with the mouse: which end of its bar a
// press grabs, where a drag puts that end, what is reported when it is dropped and how the bar is
// drawn. Positions are pixels of the row's own 380-pixel bar area. The window keeps a
// TimingSliderRules per row, feeds it the mouse and applies the actions it returns.
#pragma once

#include "TimingListModel.h"

#include <cstdint>
#include <vector>

enum class SliderCursor { Unchanged, Arrow, SizeWestEast };

// A dropped end: the window posts WM_TIMING_HANDLE_MOVED with PackHandleMoved(end, x).
struct HandleDrop {
    BarEnd end;
    int32_t x;

    bool operator==(const HandleDrop& other) const { return end == other.end && x == other.x; }
};

struct SliderActions {
    SliderCursor cursor = SliderCursor::Unchanged;
    bool captureMouse = false;
    bool releaseMouse = false;
    bool redraw = false;
    std::vector<HandleDrop> drops; // in this order
};

// The leftmost pixel the start can be dragged to and the rightmost for the end.
constexpr int32_t kMinDraggedStart = 2;
constexpr int32_t kMaxDraggedEnd = kBarAreaWidth - 2;

class TimingSliderRules {
public:
    enum class Drag { None, Start, End, Both };

    // The row's bar as the timing list shows it now; a drag in progress ends.
    void Show(const TimingRow& row);

    // Left and right pixels to paint, or nothing to paint when !BarShown(). A bar at most one pixel
    // wide whose ends are both visible is painted two pixels wide, so that it can still be seen.
    bool BarShown() const { return m_shown; }
    int32_t DrawnLeft() const { return m_left; }
    int32_t DrawnRight() const;
    int32_t Start() const { return m_left; }
    int32_t End() const { return m_right; }
    Drag Dragging() const { return m_drag; }

    // The pointer moved to x. Over a handle's grab zone the pointer is the sizing cursor. While
    // dragging both ends (their zones overlap) the direction chooses: left of the end drags the start,
    // else the end. The start stays at 2 or more and, when it passes the end, one pixel before it;
    // the end stays at 378 or less and, when it falls below the start, one pixel after it.
    SliderActions MouseMove(int32_t x);
    // A press in a grab zone starts dragging that end, or both when the zones overlap.
    SliderActions LeftDown(int32_t x);
    // A release ends the drag and reports where each dragged end was dropped.
    SliderActions LeftUp();
    // Losing the focus ends a drag without a report.
    SliderActions FocusLost();

    // Each visible end is grabbed within 4 pixels around it: from position - 2 up to, not including,
    // position + 2; an end at 0 from 0 up to 4.
    static bool InGrabZone(int32_t position, int32_t x);

private:
    bool OverStart(int32_t x) const { return m_shown && m_startHandle && InGrabZone(m_left, x); }
    bool OverEnd(int32_t x) const { return m_shown && m_endHandle && InGrabZone(m_right, x); }

    bool m_shown = false;
    int32_t m_left = 0;
    int32_t m_right = 0;
    bool m_startHandle = false;
    bool m_endHandle = false;
    Drag m_drag = Drag::None;
};
