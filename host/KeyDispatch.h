// What a programmable key does when the keyboard reports it: the key's assignment decides which
// player acts, and on which edge.
#pragma once

#include "Countdown.h"
#include "MacroPlayer.h"
#include "MediaKeys.h"
#include "Records.h"

#include <cstdint>

// The players a reported key can start or stop.
struct KeyPlayers {
    MacroPlayer& macros;
    Countdown& countdown;
    MediaKeys& media;
};

// Runs the function of key keyIndex (0..4), pressed or released, whose assignment is key in a
// profile with the player choice mediaOption:
// - a macro key goes to the macro player on both edges; play/pause pauses on the press and resumes on
//   the release; stop stops on both;
// - every other function acts on the press only: the countdown starts or stops, a media command or a
//   web key runs; the functions the keyboard carries out itself (a shortcut, mute, the volume) and
//   unknown codes do nothing here.
void DispatchKey(const ButtonInfo& key, int keyIndex, bool release, int32_t mediaOption, KeyPlayers players);
