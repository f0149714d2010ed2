#include "MacroRecorderModel.h"

#include "KeyTable.h"
#include "Text.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr const char* kMouseButtonNames[] = {"Left Button", "Right Button", "Middle Button", "Side Button 1",
                                             "Side Button 2"};
constexpr int kMouseButtonCount = 5;

bool IsMouseButton(uint8_t key)
{
    return key >= kMouseLeft && key <= kMouseSide2;
}

std::string PauseText(long long ms)
{
    return FormatInt(ms) + " ms";
}

// The leading decimal digits of text; none gives 0. Large numbers stop growing once they are past
// any pause, so a long row of digits cannot overflow.
long long LeadingNumber(std::string_view text)
{
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = std::min<long long>(value * 10 + (c - '0'), 1000000000LL);
    }
    return value;
}

// The gap between two capture stamps, to the nearest millisecond, within what a pause can hold.
uint16_t PauseBetween(int64_t earlierUs, int64_t laterUs)
{
    const int64_t us = std::max<int64_t>(laterUs - earlierUs, 0);
    return static_cast<uint16_t>(std::min<int64_t>((us + 500) / 1000, kMaxPauseMs));
}

} // namespace

Menu RecorderContextMenu()
{
    Menu menu;
    menu.items = {CommandItem("Start Record before", kCmdRecordBefore),
                  CommandItem("Start Record after", kCmdRecordAfter),
                  CommandItem("Insert Delay", kCmdInsertDelay),
                  CommandItem("Edit Delay", kCmdEditDelay),
                  CommandItem("Delete", kCmdDeleteEvent),
                  SeparatorItem()};
    for (int b = 0; b < kMouseButtonCount; ++b) {
        const int first = kCmdFirstMouseButton + 3 * b;
        Menu button;
        button.items = {CommandItem("Down", first), CommandItem("Up", first + 1), CommandItem("Click", first + 2)};
        menu.items.push_back(SubmenuItem(MenuText(kMouseButtonNames[b]), std::move(button)));
    }
    return menu;
}

std::vector<ListRow> EventRows(const MacroEvent* events, int count, const KeyboardLayout& layout)
{
    std::vector<ListRow> rows;
    for (int i = 0; i < count; ++i) {
        const MacroEvent& e = events[i];
        const bool press = e.Action == kKeyPress;
        const ListRowPicture picture =
            IsMouseButton(e.Key) ? kRowPictureMouse : (press ? kRowPicturePress : kRowPictureRelease);
        const uint16_t owner = static_cast<uint16_t>(i + 1);
        rows.push_back({UsageName(e.Key, layout) + (press ? " Press" : " Release"), RowValue(owner, picture)});
        if (e.Delay != 0)
            rows.push_back({PauseText(e.Delay), RowValue(owner, kRowPicturePause)});
    }
    return rows;
}

MacroRecorderModel::MacroRecorderModel(MacroLibrary& library, LastKeyMessage& lastKey, RecorderCapture& capture,
                                       const KeyboardLayout& layout, std::function<void(bool)> enableManagerControls)
    : m_library(library), m_lastKey(lastKey), m_capture(capture), m_layout(layout),
      m_enableManagerControls(std::move(enableManagerControls))
{
}

MacroRecord* MacroRecorderModel::Macro() const
{
    return MacroAt(m_library, m_set, m_macro);
}

RecorderWarning MacroRecorderModel::MissingMacroWarning() const
{
    const bool setSelected = m_set >= 0 && static_cast<size_t>(m_set) < m_library.size();
    return setSelected ? RecorderWarning::WarnMacroName : RecorderWarning::WarnMacroSet;
}

void MacroRecorderModel::LoadMacro(int set, int macro)
{
    m_set = set;
    m_macro = macro;
    m_events.fill(MacroEvent{});
    m_count = 0;
    if (const MacroRecord* shown = Macro()) {
        std::memcpy(m_events.data(), shown->Events, sizeof shown->Events);
        m_count = std::clamp<int>(shown->EventCount, 0, kMaxMacroEvents);
    }
    m_current = m_count - 1;
    RebuildList();
}

void MacroRecorderModel::SaveEvents()
{
    MacroRecord* shown = Macro();
    if (!shown)
        return;
    std::memcpy(shown->Events, m_events.data(), sizeof shown->Events);
    shown->EventCount = m_count;
}

void MacroRecorderModel::RebuildList()
{
    m_list.Clear();
    int remembered = -1;
    for (const ListRow& row : EventRows(m_events.data(), m_count, m_layout)) {
        const int index = m_list.AddRow(row.text, row.value);
        if (RowOwnerPart(row.value) == m_current + 1)
            remembered = index; // the event's pause row when it has one
    }
    const int n = m_list.Count();
    if (n == 0)
        return;
    const int r = remembered >= 0 && remembered < n ? remembered : n - 1;
    // Two rows below the event stay in view, unless the event is near either end of the list.
    m_list.SetCaret(r > 3 && r < n - 3 ? r + 2 : r);
}

bool MacroRecorderModel::InsertEvent(const MacroEvent& event)
{
    if (m_count >= kMaxMacroEvents)
        return false;
    const int at = m_insertion == -1 ? m_count : std::clamp(m_insertion, 0, m_count);
    std::copy_backward(m_events.begin() + at, m_events.begin() + m_count, m_events.begin() + m_count + 1);
    m_events[static_cast<size_t>(at)] = event;
    ++m_count;
    if (m_insertion != -1)
        m_insertion = at + 1;
    m_current = at;
    return true;
}

void MacroRecorderModel::StartRecording()
{
    m_recording = true;
    m_capture.StartKeyCapture();
    m_firstKeySeen = false;
    if (m_enableManagerControls)
        m_enableManagerControls(false);
}

void MacroRecorderModel::StopRecording()
{
    m_recording = false;
    m_capture.StopKeyCapture();
    m_lastKeyUs = 0;
    if (m_enableManagerControls)
        m_enableManagerControls(true);
    SaveEvents();
}

RecorderWarning MacroRecorderModel::RecordClicked()
{
    if (!Macro())
        return MissingMacroWarning();
    if (m_recording) {
        StopRecording();
        return RecorderWarning::None;
    }
    m_count = 0;
    m_events.fill(MacroEvent{});
    m_insertion = -1;
    m_current = -1;
    m_list.Clear();
    StartRecording();
    return RecorderWarning::None;
}

void MacroRecorderModel::KeyCaptured(const CapturedKey& key)
{
    if (!m_recording)
        return;
    // A held key repeats its press message; only the first one is a key of the macro.
    if (key.virtualKey == m_lastKey.virtualKey && key.up == m_lastKey.up)
        return;
    const uint8_t code = static_cast<uint8_t>(VirtualKeyToUsage(key.virtualKey, m_layout).value_or(0));

    if (m_firstKeySeen && m_recordPauses) {
        // The pause after an event is the time until the next key.
        const int before = m_insertion == -1 ? m_count - 1 : m_insertion - 1;
        if (before >= 0 && before < m_count)
            m_events[static_cast<size_t>(before)].Delay = PauseBetween(m_lastKeyUs, key.timeUs);
    }
    InsertEvent({code, key.up ? kKeyRelease : kKeyPress, 0});
    m_lastKeyUs = key.timeUs;
    m_firstKeySeen = true;
    if (m_count >= kMaxMacroEvents)
        StopRecording();
    RebuildList();
    m_lastKey = {key.virtualKey, key.up};
}

int MacroRecorderModel::EventOfRow(int row) const
{
    const ListRow* r = m_list.RowAt(row);
    return r ? RowOwnerPart(r->value) - 1 : -1;
}

bool MacroRecorderModel::IsPauseRow(int row) const
{
    const ListRow* r = m_list.RowAt(row);
    return r && RowPicture(r->value) == kRowPicturePause;
}

RecorderWarning MacroRecorderModel::Command(int id)
{
    if (m_recording)
        return RecorderWarning::None;
    const int row = m_list.Selection();
    if (!Macro())
        return MissingMacroWarning();
    const int event = EventOfRow(row);
    const bool onEvent = event >= 0 && event < m_count;
    const bool onPause = onEvent && IsPauseRow(row);

    switch (id) {
    case kCmdRecordBefore:
        m_insertion = onEvent ? event : -1;
        StartRecording();
        return RecorderWarning::None;
    case kCmdRecordAfter:
        m_insertion = onEvent ? event + 1 : -1;
        StartRecording();
        return RecorderWarning::None;
    case kCmdInsertDelay:
        if (onEvent && !onPause && event >= 1 && m_events[static_cast<size_t>(event - 1)].Delay == 0) {
            m_events[static_cast<size_t>(event - 1)].Delay = 1;
            m_current = event - 1;
            RebuildList();
            SaveEvents();
        }
        return RecorderWarning::None;
    case kCmdEditDelay:
        if (onPause && m_list.BeginEditSelected())
            m_pauseEditEvent = event;
        return RecorderWarning::None;
    case kCmdDeleteEvent:
        if (!onEvent)
            return RecorderWarning::None;
        if (onPause) {
            m_events[static_cast<size_t>(event)].Delay = 0;
        } else {
            std::copy(m_events.begin() + event + 1, m_events.begin() + m_count, m_events.begin() + event);
            --m_count;
            m_events[static_cast<size_t>(m_count)] = MacroEvent{};
        }
        m_current = event;
        SaveEvents();
        RebuildList();
        return RecorderWarning::None;
    default: break;
    }
    if (id < kCmdFirstMouseButton || id > kCmdLastMouseButton)
        return RecorderWarning::None;

    const int button = (id - kCmdFirstMouseButton) / 3;
    const int kind = (id - kCmdFirstMouseButton) % 3; // 0 down, 1 up, 2 click
    const uint8_t code = static_cast<uint8_t>(kMouseLeft + button);
    // The new events go before the selected event.
    m_insertion = onEvent ? event : -1;
    if (kind == 0) {
        InsertEvent({code, kKeyPress, 0});
    } else if (kind == 1) {
        InsertEvent({code, kKeyRelease, 0});
    } else if (m_count + 2 <= kMaxMacroEvents) {
        InsertEvent({code, kKeyPress, 0});
        InsertEvent({code, kKeyRelease, 0});
    }
    RebuildList();
    SaveEvents();
    return RecorderWarning::None;
}

void MacroRecorderModel::EndPauseEdit(ListEditEnd how, std::string_view text)
{
    const std::optional<int> row = m_list.EndEdit(how, text);
    const int event = m_pauseEditEvent;
    m_pauseEditEvent = -1;
    if (!row || event < 0 || event >= m_count)
        return;
    const long long typed = LeadingNumber(m_list.RowAt(*row)->text);
    const long long pause = std::clamp<long long>(typed, 1, kMaxPauseMs);
    if (pause != typed)
        m_list.SetRowText(*row, PauseText(pause));
    m_events[static_cast<size_t>(event)].Delay = static_cast<uint16_t>(pause);
    SaveEvents();
}
