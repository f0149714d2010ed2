// Sounds through the system's PlaySound.
#pragma once

#include "Ports.h"

class WinSoundPlayer final : public SoundPlayer {
public:
    void PlaySound(const std::string& path, uint32_t flags) override;
};
