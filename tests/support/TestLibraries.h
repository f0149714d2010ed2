// Macro and timer libraries built in memory for the tests of the store, the key menu and its
// commands.
#pragma once

#include "Libraries.h"
#include "ProfileStore.h"
#include "Records.h"
#include "Text.h"

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

inline std::unique_ptr<MacroRecord> TestMacro(const std::string& name, int loop,
                                              std::initializer_list<MacroEvent> events = {})
{
    auto e = std::make_unique<MacroRecord>();
    std::memset(e.get(), 0, sizeof(MacroRecord));
    CopyToField(e->Name, name);
    e->Loop = loop;
    e->EventCount = static_cast<int32_t>(events.size());
    int i = 0;
    for (const MacroEvent& ev : events)
        e->Events[i++] = ev;
    return e;
}

inline std::unique_ptr<MacroSet> TestSet(const std::string& name)
{
    auto s = std::make_unique<MacroSet>();
    CopyToField(s->Name, name);
    return s;
}

inline std::unique_ptr<TimerRecord> TestTimer(int seconds, const std::string& name)
{
    auto t = std::make_unique<TimerRecord>();
    std::memset(t.get(), 0, sizeof(TimerRecord));
    t->Seconds = seconds;
    CopyToField(t->Name, name);
    return t;
}

// The largest library the editors can make: 51 sets "Set<s>" of 100 macros "S<s>M<m>" each.
inline MacroLibrary FullMacroLibrary()
{
    MacroLibrary lib;
    for (int s = 0; s < 51; ++s) {
        lib.push_back(TestSet("Set" + std::to_string(s)));
        for (int m = 0; m < 100; ++m)
            lib.back()->Elements.push_back(TestMacro("S" + std::to_string(s) + "M" + std::to_string(m), 0));
    }
    return lib;
}

// 51 timers "T<t>" of 10 + t seconds.
inline TimerLibrary FullTimerLibrary()
{
    TimerLibrary timers;
    for (int t = 0; t < 51; ++t)
        timers.push_back(TestTimer(10 + t, "T" + std::to_string(t)));
    return timers;
}

// The default profile of the first slot (every key types a shortcut), choosing the VLC player.
inline Profile TestProfile()
{
    Profile p;
    SetDefaultProfile(p, 0);
    p.MediaOption = 2;
    return p;
}
