// The registry and the environment, read for the media players' programs.
#pragma once

#include "Ports.h"

class WinSystemSettings final : public SystemSettings {
public:
    // Opens the key for all access where allowed, else for reading; never creates it. A value of
    // another type than a string, or longer than 260 bytes, gives nothing.
    std::optional<std::string> ReadRegistryString(const std::string& path, const std::string& valueName) override;
    // The text unchanged when it cannot be expanded.
    std::string ExpandEnvironment(const std::string& text) override;
};
