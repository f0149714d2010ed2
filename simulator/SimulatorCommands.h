// The simulator's command interface, by which tests and the demo act as the keyboard: one line of
// text in, the reply text out. Every line of a reply ends with '\n'; the last line is "ok" on
// success or "error: <reason>" otherwise, and an error changes nothing and queues no event.
//
//   press K, release K   K = 1..5: the programmable key's event
//   mode 0|1             the Mode switch: stores the mode and queues its event
//   arrive, remove       the keyboard's presence and its event
//   reset                default memory and the reset event
//   osd-hide             the event that hides the on-screen display
//   event N              any raw event word
//   firmware N           the version the keyboard reports (0..65535); no event
//   state                the keyboard's memory (KeyboardModel::StateLines), then "ok"
//   log                  one line per control call received (KeyboardModel::CallLogLines), then "ok"
//   quit                 "ok"; the caller then ends the simulator
// Numbers are decimal or hexadecimal after "0x". Words are separated by blanks.
#pragma once

#include "KeyboardModel.h"
#include "Text.h" // ParseNumber, for the numbers of the commands

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A longer line is refused whole; no command comes near it.
constexpr size_t kMaxSimulatorCommandLength = 256;

// Runs line on kb. quit becomes true for "quit" and is left as it was otherwise.
std::string RunSimulatorCommand(KeyboardModel& kb, const std::string& line, bool& quit);

// True when the reply's last line is "ok".
bool IsOkReply(std::string_view reply);
