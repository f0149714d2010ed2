// The program in front: the first module of the process that owns the foreground window.
#pragma once

#include "Ports.h"

class WinForegroundProcess final : public ForegroundProcess {
public:
    // Nothing also when the module's name cannot be read: a made-up name could match a game.
    std::optional<std::string> ModuleBaseName() override;
};
