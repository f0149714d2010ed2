#include "TimingSliderRules.h"

#include <algorithm>

void TimingSliderRules::Show(const TimingRow& row)
{
    m_shown = row.barShown;
    m_left = row.left;
    m_right = row.right;
    m_startHandle = row.startHandle;
    m_endHandle = row.endHandle;
    m_drag = Drag::None;
}

int32_t TimingSliderRules::DrawnRight() const
{
    if (m_startHandle && m_endHandle && m_right - m_left <= 1)
        return m_left + 2;
    return m_right;
}

bool TimingSliderRules::InGrabZone(int32_t position, int32_t x)
{
    const int32_t from = position == 0 ? 0 : position - 2;
    const int32_t to = position == 0 ? 4 : position + 2;
    return x >= from && x < to;
}

SliderActions TimingSliderRules::MouseMove(int32_t x)
{
    SliderActions actions;
    if (m_drag == Drag::None) {
        actions.cursor = OverStart(x) || OverEnd(x) ? SliderCursor::SizeWestEast : SliderCursor::Arrow;
        return actions;
    }
    if (m_drag == Drag::Both)
        m_drag = x < m_right ? Drag::Start : Drag::End;
    if (m_drag == Drag::Start) {
        m_left = std::max(x, kMinDraggedStart);
        if (m_left > m_right)
            m_left = m_right - 1;
    } else {
        m_right = std::min(x, kMaxDraggedEnd);
        if (m_right < m_left)
            m_right = m_left + 1;
    }
    actions.cursor = SliderCursor::SizeWestEast;
    actions.redraw = true;
    return actions;
}

SliderActions TimingSliderRules::LeftDown(int32_t x)
{
    SliderActions actions;
    const bool start = OverStart(x);
    const bool end = OverEnd(x);
    if (!start && !end)
        return actions;
    m_drag = start && end ? Drag::Both : (start ? Drag::Start : Drag::End);
    actions.cursor = SliderCursor::SizeWestEast;
    actions.captureMouse = true;
    return actions;
}

SliderActions TimingSliderRules::LeftUp()
{
    SliderActions actions;
    if (m_drag == Drag::None)
        return actions;
    // Both ends are still held when the pointer never moved after the press: both are dropped
    // where they are.
    if (m_drag == Drag::Start || m_drag == Drag::Both)
        actions.drops.push_back({BarEnd::Start, m_left});
    if (m_drag == Drag::End || m_drag == Drag::Both)
        actions.drops.push_back({BarEnd::End, m_right});
    m_drag = Drag::None;
    actions.cursor = SliderCursor::Arrow;
    actions.releaseMouse = true;
    return actions;
}

SliderActions TimingSliderRules::FocusLost()
{
    SliderActions actions;
    m_drag = Drag::None;
    actions.cursor = SliderCursor::Arrow;
    return actions;
}
