// Programs and pages started for the user.
#pragma once

#include "Ports.h"

class WinProgramLauncher final : public ProgramLauncher {
public:
    void Run(const std::string& commandLine) override;
    void ShellOpen(const std::string& file, const std::string& parameters) override;
};
