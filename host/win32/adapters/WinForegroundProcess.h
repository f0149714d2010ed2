// The program in front: the program file of the process that owns the foreground window.
#pragma once

#include "Ports.h"

#include <cstdint>

class WinForegroundProcess final : public ForegroundProcess {
public:
    // Nothing also when no name can be read: a made-up name could match a game.
    std::optional<std::string> ModuleBaseName() override;
};

// The file name of process pid's program from its full image path (QueryFullProcessImageNameA on a
// handle with PROCESS_QUERY_LIMITED_INFORMATION). Works across bitness and for most elevated
// processes; nothing where the process cannot be opened even so.
std::optional<std::string> ProcessImageFileName(uint32_t pid);

// The base name of the first module of process pid (EnumProcessModules, GetModuleBaseNameA). Needs
// PROCESS_VM_READ, and fails for a process of other bitness than the caller's (ERROR_PARTIAL_COPY).
std::optional<std::string> ProcessFirstModuleName(uint32_t pid);
