#include "TimingListModel.h"

#include "KeyTable.h"
#include "Log.h"

#include <algorithm>
#include <limits>

namespace {

int32_t ToInt32(int64_t value)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

int32_t TimeToPixel(int32_t t, int32_t origin, int32_t span)
{
    if (span <= 0)
        return 0;
    return ToInt32((static_cast<int64_t>(t) - origin) * kBarAreaWidth / span);
}

int32_t PixelToTime(int32_t x, int32_t origin, int32_t span)
{
    return ToInt32(static_cast<int64_t>(x) * span / kBarAreaWidth + origin);
}

uint32_t PackHandleMoved(BarEnd end, int32_t x)
{
    return static_cast<uint32_t>(end) | (static_cast<uint32_t>(static_cast<uint16_t>(x)) << 16);
}

std::optional<HandleMove> UnpackHandleMoved(uint32_t wParam)
{
    const uint32_t which = wParam & 0xFFFFu;
    if (which != static_cast<uint32_t>(BarEnd::Start) && which != static_cast<uint32_t>(BarEnd::End))
        return std::nullopt;
    return HandleMove{static_cast<BarEnd>(which), static_cast<int32_t>(wParam >> 16)};
}

bool TimingRow::operator==(const TimingRow& other) const
{
    return bar == other.bar && barShown == other.barShown && left == other.left && right == other.right &&
           startHandle == other.startHandle && endHandle == other.endHandle && label == other.label &&
           keyPending == other.keyPending && highlighted == other.highlighted;
}

int32_t ScrollTo(const ScrollRange& range, ScrollRequest request, int32_t thumb)
{
    int64_t position = range.position;
    switch (request) {
    case ScrollRequest::LineBack: position -= 1; break;
    case ScrollRequest::LineForward: position += 1; break;
    case ScrollRequest::PageBack: position -= range.page; break;
    case ScrollRequest::PageForward: position += range.page; break;
    case ScrollRequest::Track: position = thumb; break;
    case ScrollRequest::Other: break;
    }
    const int64_t last = static_cast<int64_t>(range.maximum) - range.page;
    position = std::min(position, last);
    position = std::max(position, static_cast<int64_t>(range.minimum));
    return ToInt32(position);
}

bool TimingListModel::HasSelection() const
{
    return m_selected >= 0 && static_cast<size_t>(m_selected) < m_bars.size();
}

ScrollRange TimingListModel::VerticalRange() const
{
    const int count = static_cast<int>(m_bars.size());
    // Up to 18 bars the range is one page, so the bar cannot move.
    return {0, count > kTimingRowCount - 1 ? count : kTimingRowCount, kTimingRowCount, m_top};
}

ScrollRange TimingListModel::HorizontalRange() const
{
    int32_t latest = m_span;
    for (const TimingBar& b : m_bars)
        latest = std::max({latest, b.start, b.end});
    return {0, latest, m_span, m_origin};
}

TimingView TimingListModel::View(const KeyboardLayout& layout) const
{
    TimingView view;
    const int64_t shownEnd = static_cast<int64_t>(m_origin) + m_span;
    for (int r = 0; r < kTimingRowCount; ++r) {
        const int64_t b = static_cast<int64_t>(m_top) + r;
        if (b < 0 || b >= static_cast<int64_t>(m_bars.size()))
            continue;
        TimingRow& row = view.rows[static_cast<size_t>(r)];
        const TimingBar& bar = m_bars[static_cast<size_t>(b)];
        row.bar = static_cast<int>(b);
        if (bar.end >= m_origin && shownEnd >= bar.start) {
            row.barShown = true;
            row.startHandle = bar.start >= m_origin;
            row.endHandle = bar.end <= shownEnd;
            row.left = row.startHandle ? TimeToPixel(bar.start, m_origin, m_span) : 0;
            row.right = row.endHandle ? TimeToPixel(bar.end, m_origin, m_span) : kBarAreaWidth;
        }
        if (bar.key == kKeyPending)
            row.keyPending = true;
        else
            row.label = UsageName(static_cast<uint32_t>(bar.key), layout);
        row.highlighted = row.bar == m_selected;
    }
    view.vertical = VerticalRange();
    view.horizontal = HorizontalRange();
    for (int k = 0; k < kTimeScaleMarks; ++k)
        view.scale[static_cast<size_t>(k)] = std::to_string(m_origin + k * (m_span / kTimeScaleMarks));
    return view;
}

int TimingListModel::BarOfRow(int row) const
{
    if (row < 1 || row > kTimingRowCount)
        return -1;
    const int64_t b = static_cast<int64_t>(m_top) + row - 1;
    if (b < 0 || b >= static_cast<int64_t>(m_bars.size()))
        return -1;
    return static_cast<int>(b);
}

bool TimingListModel::HandleMoved(BarEnd end, int32_t x, int row)
{
    LogDebug("timing editor: a handle of row %d was dragged\n", row);
    const int b = BarOfRow(row);
    if (b < 0)
        return false;
    const int32_t t = PixelToTime(x, m_origin, m_span);
    TimingBar& bar = m_bars[static_cast<size_t>(b)];
    (end == BarEnd::Start ? bar.start : bar.end) = t;
    return true;
}

void TimingListModel::RowClicked(int row)
{
    if (row < 1 || row > kTimingRowCount)
        return;
    m_selected = BarOfRow(row);
}

std::optional<int> TimingListModel::InsertBar()
{
    if (m_bars.size() >= static_cast<size_t>(kMaxTimingBars))
        return std::nullopt;
    if (HasSelection()) {
        const TimingBar& at = m_bars[static_cast<size_t>(m_selected)];
        m_bars.insert(m_bars.begin() + m_selected, TimingBar{kKeyPending, at.start, at.end});
        return m_selected;
    }
    TimingBar added{kKeyPending, 0, 0};
    if (!m_bars.empty()) {
        added.start = m_bars.back().start;
        added.end = m_bars.back().end;
    }
    m_bars.push_back(added);
    return static_cast<int>(m_bars.size()) - 1;
}

void TimingListModel::SetKey(int bar, int32_t key)
{
    if (bar >= 0 && static_cast<size_t>(bar) < m_bars.size())
        m_bars[static_cast<size_t>(bar)].key = key;
}

bool TimingListModel::DeleteSelected()
{
    if (!HasSelection())
        return false;
    m_bars.erase(m_bars.begin() + m_selected);
    return true;
}

void TimingListModel::ZoomOut()
{
    if (m_span * 2 <= kMaxSpan)
        m_span *= 2;
}

void TimingListModel::ZoomIn()
{
    m_span = std::max(m_span / 2, kMinSpan);
}

void TimingListModel::ScrollHorizontal(ScrollRequest request, int32_t thumb)
{
    m_origin = ScrollTo(HorizontalRange(), request, thumb);
}

void TimingListModel::ScrollVertical(ScrollRequest request, int32_t thumb)
{
    m_top = ScrollTo(VerticalRange(), request, thumb);
}

void TimingListModel::ShowSelected()
{
    if (!HasSelection())
        return;
    if (m_selected < m_top)
        m_top = m_selected;
    else if (m_selected > m_top + kTimingRowCount - 1)
        m_top = m_selected - (kTimingRowCount - 1);
    m_top = ScrollTo(VerticalRange(), ScrollRequest::Track, m_top);
}

void TimingListModel::ShowTime(int32_t t)
{
    int64_t origin = m_origin;
    if (t < origin)
        origin = t;
    else if (t > origin + m_span)
        origin = static_cast<int64_t>(t) - m_span;
    m_origin = ScrollTo(HorizontalRange(), ScrollRequest::Track, ToInt32(origin));
}

bool TimingListModel::SelectByArrow(bool forward)
{
    if (m_bars.empty())
        return false;
    const int last = static_cast<int>(m_bars.size()) - 1;
    const int before = HasSelection() ? m_selected : -1;
    if (before < 0)
        m_selected = forward ? 0 : last;
    else
        m_selected = std::clamp(before + (forward ? 1 : -1), 0, last);
    ShowSelected();
    return m_selected != before;
}

bool TimingListModel::NudgeSelected(bool later, bool releaseOnly)
{
    if (!HasSelection())
        return false;
    TimingBar& bar = m_bars[static_cast<size_t>(m_selected)];
    const TimingBar before = bar;
    const int64_t step = later ? Step() : -static_cast<int64_t>(Step());
    const int64_t largest = std::numeric_limits<int32_t>::max();
    if (releaseOnly) {
        bar.end = ToInt32(std::clamp<int64_t>(static_cast<int64_t>(bar.end) + step, bar.start, largest));
    } else {
        // The whole bar keeps its length: it stops at 0, and where its release would pass the
        // largest time.
        const int64_t length = static_cast<int64_t>(bar.end) - bar.start;
        const int64_t start = std::clamp<int64_t>(static_cast<int64_t>(bar.start) + step, 0,
                                                  std::max<int64_t>(0, largest - std::max<int64_t>(0, length)));
        bar.start = ToInt32(start);
        bar.end = ToInt32(start + length);
    }
    if (bar == before)
        return false;
    ShowSelected();
    ShowTime(releaseOnly || later ? bar.end : bar.start);
    return true;
}

std::string TimingListModel::BarText(int bar, const KeyboardLayout& layout) const
{
    if (bar < 0 || static_cast<size_t>(bar) >= m_bars.size())
        return {};
    const TimingBar& b = m_bars[static_cast<size_t>(bar)];
    const std::string key = b.key == kKeyPending ? "new key" : UsageName(static_cast<uint32_t>(b.key), layout);
    return key + ": " + std::to_string(b.start) + " to " + std::to_string(b.end) + " ms";
}
