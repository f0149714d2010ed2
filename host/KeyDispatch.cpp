#include "KeyDispatch.h"

void DispatchKey(const ButtonInfo& key, int keyIndex, bool release, int32_t mediaOption, KeyPlayers players)
{
    const uint8_t code = key.FunctionCode;
    switch (static_cast<KeyFunction>(code)) {
    case KeyFunction::Macro: players.macros.MacroKey(keyIndex, release, key); return;
    case KeyFunction::MacroPlayPause: players.macros.PauseResume(); return;
    case KeyFunction::MacroStop: players.macros.StopMacro(); return;
    default: break;
    }
    if (release)
        return;
    if (code == static_cast<uint8_t>(KeyFunction::Timer))
        players.countdown.StartCountdown(key.TimerSeconds);
    else if (code == static_cast<uint8_t>(KeyFunction::StopTimer))
        players.countdown.StopCountdown();
    else if (code >= static_cast<uint8_t>(KeyFunction::OpenPlayer) &&
             code <= static_cast<uint8_t>(KeyFunction::VolumeDown))
        players.media.MediaCommand(code, mediaOption);
    else if (code >= static_cast<uint8_t>(KeyFunction::WwwSearch) &&
             code <= static_cast<uint8_t>(KeyFunction::WwwFavorites))
        players.media.WebKey(code);
}
