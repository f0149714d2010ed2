// LoadTimerLibrary on arbitrary bytes as config\Timer.ini. Invariants:
// - no more timers than the Timer section's Count allows and than one past the highest timer
//   index the file holds;
// - FindTimer finds each timer at or before its own index; TimerAt gives each timer at its place
//   and nothing outside the library;
// - loading again appends an identical copy.

#include "FuzzSupport.h"

#include "IniDocument.h"
#include "Libraries.h"
#include "Text.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& folder = FuzzProgramFolder();
    WriteFuzzFile(TimerLibraryPath(folder), data, size);
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniDocument doc = IniDocument::Parse(bytes);

    TimerLibrary list;
    LoadTimerLibrary(list, folder);
    size_t timers = list.size();
    FuzzRequire(timers <= MostEntries(doc, "Timer", doc.ReadInt("Timer", "Count", -1)),
                "no more timers than the Count and highest index allow");

    for (size_t i = 0; i < timers; ++i) {
        FuzzRequire(list[i] != nullptr, "every timer is present");
        FuzzRequire(TimerAt(list, static_cast<int>(i)) == list[i].get(), "TimerAt gives the timer at its place");
        std::optional<int> found = FindTimer(list, FieldText(list[i]->Name));
        FuzzRequire(found && static_cast<size_t>(*found) <= i, "a timer is found at or before its index");
    }
    FuzzRequire(TimerAt(list, -1) == nullptr && TimerAt(list, static_cast<int>(timers)) == nullptr,
                "TimerAt gives nothing outside the library");

    LoadTimerLibrary(list, folder);
    FuzzRequire(list.size() == 2 * timers, "loading again appends as many timers");
    for (size_t i = 0; i < timers; ++i)
        FuzzRequire(std::memcmp(list[i].get(), list[timers + i].get(), sizeof(TimerRecord)) == 0,
                    "loading again appends the same timers");
    return 0;
}
