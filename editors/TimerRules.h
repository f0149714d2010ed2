// What the countdown timer dialogs hold a timer to: its name, its length and how many timers the
// library may hold. The key menu asks the same questions before it opens a dialog.
#pragma once

#include "Libraries.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The timer name field takes at most this many characters.
constexpr size_t kTimerNameLimit = 25;
// The length field's range, in seconds, and the length a new timer starts with.
constexpr int32_t kTimerMinSeconds = 10;
constexpr int32_t kTimerMaxSeconds = 999;
constexpr int32_t kNewTimerSeconds = 30;
// The control id of the length field in both timer dialogs: its reports carry this id.
constexpr int kTimerLengthFieldId = 1;
// A timer can be created while at most this many exist, so the library holds at most one more.
constexpr size_t kTimersBeforeLastCreate = 50;
constexpr size_t kMaxTimers = kTimersBeforeLastCreate + 1;

// "Create Timer" opens its dialog only while at most 50 timers exist.
bool TimerCreationAllowed(const TimerLibrary& timers);
// "Edit/Delete Timer" opens its dialog only when there is a timer to edit.
bool TimerEditingAllowed(const TimerLibrary& timers);

// What the name field holds after text was put into it: the first 25 characters.
std::string TimerNameFieldText(std::string_view text);
// The name a timer gets from the name field: trimmed at both ends; nothing when that leaves it empty
// or it holds a control character.
std::optional<std::string> TimerNameFromField(std::string_view fieldText);
// The length a timer gets from the length field. A length typed without Enter is held only to the
// maximum while typing, so it is brought into the whole range when a dialog takes it.
int32_t TimerSecondsFromField(int32_t value);
