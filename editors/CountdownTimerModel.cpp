#include "CountdownTimerModel.h"

CountdownTimerModel::CountdownTimerModel(const TimerLibrary& timers) : m_timers(timers) {}

void CountdownTimerModel::NameChanged(std::string_view text)
{
    m_nameText = TimerNameFieldText(text);
}

void CountdownTimerModel::SpinReported(int32_t value, int controlId)
{
    if (controlId == kTimerLengthFieldId)
        m_length = value;
}

bool CountdownTimerModel::Ok()
{
    if (!TimerCreationAllowed(m_timers))
        return false;
    const std::optional<std::string> name = TimerNameFromField(m_nameText);
    if (!name || FindTimer(m_timers, *name))
        return false;
    m_name = *name;
    m_seconds = TimerSecondsFromField(m_length);
    return true;
}
