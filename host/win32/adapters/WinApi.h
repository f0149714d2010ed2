// The Windows headers as the adapters and their users see them. The system's ANSI/wide switch
// macros that share a name with a method of the host's ports (DesktopWindows::FindWindow, PostMessage,
// SendMessage, SoundPlayer::PlaySound) are removed, so that those methods keep their names in every
// file that includes this one. Code that means the system calls names them with their A suffix.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#undef FindWindow
#undef PostMessage
#undef SendMessage
#undef PlaySound
