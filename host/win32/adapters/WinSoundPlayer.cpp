#include "WinSoundPlayer.h"

#include "WinApi.h"

void WinSoundPlayer::PlaySound(const std::string& path, uint32_t flags)
{
    PlaySoundA(path.empty() ? nullptr : path.c_str(), nullptr, flags);
}
