#include "EditTimerModel.h"

#include "Text.h"

#include <optional>

EditTimerModel::EditTimerModel(TimerLibrary& timers) : m_timers(timers)
{
    Show();
}

void EditTimerModel::Show()
{
    if (const TimerRecord* timer = TimerAt(m_timers, m_shown)) {
        m_nameText = TimerNameFieldText(FieldText(timer->Name));
        m_caption = std::string(FieldText(timer->Name));
        m_length = timer->Seconds;
    } else {
        // The button names no timer either: a deleted timer's name must not stay on it.
        m_nameText.clear();
        m_caption.clear();
        m_length = kTimerMinSeconds;
    }
}

void EditTimerModel::NameChanged(std::string_view text)
{
    m_nameText = TimerNameFieldText(text);
}

void EditTimerModel::SpinReported(int32_t value, int controlId)
{
    if (controlId == kTimerLengthFieldId)
        m_length = value;
}

Menu EditTimerModel::TimerMenu() const
{
    Menu menu;
    for (size_t i = 0; i < m_timers.size() && i < kMaxTimers; ++i)
        menu.items.push_back(
            CommandItem(MenuText(FieldText(m_timers[i]->Name)), kCmdFirstTimerChoice + static_cast<int>(i)));
    return menu;
}

bool EditTimerModel::MenuChosen(int commandId)
{
    const int index = commandId - kCmdFirstTimerChoice;
    if (index < 0 || index >= static_cast<int>(kMaxTimers))
        return false;
    m_shown = index;
    Show();
    return true;
}

bool EditTimerModel::Apply()
{
    TimerRecord* timer = TimerAt(m_timers, m_shown);
    if (!timer)
        return false;
    const std::optional<std::string> name = TimerNameFromField(m_nameText);
    if (!name)
        return false;
    const int32_t seconds = TimerSecondsFromField(m_length);
    const std::optional<int> owner = FindTimer(m_timers, *name);
    if (!owner) {
        CopyToField(timer->Name, *name);
        timer->Seconds = seconds;
        Show();
        return true;
    }
    if (*owner != m_shown)
        return false;
    // The length field shows what was stored, which a length typed below the minimum is not.
    timer->Seconds = seconds;
    m_length = seconds;
    return true;
}

void EditTimerModel::DeleteConfirmed()
{
    if (m_timers.empty())
        return;
    if (m_shown >= 0 && static_cast<size_t>(m_shown) < m_timers.size())
        m_timers.erase(m_timers.begin() + m_shown);
    const int count = static_cast<int>(m_timers.size());
    if (count == 0)
        m_shown = -1;
    else if (m_shown >= count)
        m_shown = count - 1;
    Show();
}
