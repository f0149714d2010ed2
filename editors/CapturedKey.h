// The keyboard capture as the editors see it: the window starts and stops a low-level keyboard
// hook, and every key the hook sees arrives as a CapturedKey. The hook stamps each key with a
// high-resolution time when it sees it, so the gaps between keys are the user's, not those of the
// message queue that carried the keys to the page.
#pragma once

#include <cstdint>

// A key pressed or released anywhere on the desktop (WM_KBDHOOK_KEY: wParam the virtual-key code,
// lParam 0x80 for a release).
struct CapturedKey {
    uint32_t virtualKey = 0;
    bool up = false;
    int64_t timeUs = 0; // when the hook saw the key, on a monotonic microsecond clock
};

// The last key message the recorder took in. It outlives every recording and every manager run (the
// program holds one), so a held key's repeats are recognised even across two recordings.
struct LastKeyMessage {
    uint32_t virtualKey = 0;
    bool up = false;
};

// The recorder's view of the keyboard capture (the program's is framework/KeyCapture.h).
class RecorderCapture {
public:
    virtual ~RecorderCapture() = default;
    // True when the hook is set; without it the recording runs but no key arrives.
    virtual bool StartKeyCapture() = 0;
    virtual void StopKeyCapture() = 0;
};
