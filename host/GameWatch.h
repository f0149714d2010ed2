// Game-profile switching: the profile that lists the program in front as one of its games becomes
// the current profile. The check keeps no state; leaving the game keeps the profile it selected.
#pragma once

#include "HostState.h"
#include "Ports.h"
#include "Records.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The file name of a stored game path: the text after its last '\' or '/', or after the drive of
// a drive-relative path ("C:game.exe"); the path is trimmed first.
std::string_view GameFileName(std::string_view storedPath);

// The lowest profile (1..5) that lists a game whose file name equals baseName without regard to
// case, or nothing. The on-screen display program ("OSD.exe") never selects a profile.
std::optional<int> FindGameProfile(const std::string& baseName, const ProfileSet& set);

// One check of the foreground program (kGameWatchTimerId, UI thread): calls setCurrentProfile(p)
// when it runs a game of profile p and p is not already the current profile.
void CheckForegroundGame(ForegroundProcess& foreground, const GuardedProfileSet& profiles,
                         const std::function<void(int)>& setCurrentProfile);
