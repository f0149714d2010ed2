// The simulated keyboard behind a named pipe: one KeyboardModel shared by every client, each client
// served on its own thread, until a client sends "quit".
#pragma once

#include <string>

// Serves on pipeName (\\.\pipe\...). Returns the program's exit code: 0 after "quit", 1 when the
// pipe cannot be created (another simulator already serves that name, say).
int ServeKeyboard(const std::string& pipeName);
