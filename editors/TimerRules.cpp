#include "TimerRules.h"

#include "NameRules.h"
#include "Text.h"

bool TimerCreationAllowed(const TimerLibrary& timers)
{
    return timers.size() <= kTimersBeforeLastCreate;
}

bool TimerEditingAllowed(const TimerLibrary& timers)
{
    return !timers.empty();
}

std::string TimerNameFieldText(std::string_view text)
{
    return std::string(text.substr(0, kTimerNameLimit));
}

std::optional<std::string> TimerNameFromField(std::string_view fieldText)
{
    const std::string_view name = Trim(fieldText);
    if (!RecordNameAccepted(name))
        return std::nullopt;
    return std::string(name);
}

int32_t TimerSecondsFromField(int32_t value)
{
    if (value < kTimerMinSeconds)
        return kTimerMinSeconds;
    if (value > kTimerMaxSeconds)
        return kTimerMaxSeconds;
    return value;
}
