#include "KeyMenu.h"

#include "KeyCommands.h"
#include "Text.h"

#include <algorithm>

namespace {

constexpr int kMacroMenuWidth = 140;
constexpr int kTimerMenuWidth = 122;
constexpr int kMediaMenuWidth = 122;
constexpr int kWebMenuWidth = 122;

// The name a key would carry after choosing this entry, as the key's field holds it.
template <size_t N>
bool SameStoredName(std::string_view libraryName, const char (&keyField)[N])
{
    const std::string_view stored = libraryName.substr(0, std::min(libraryName.size(), N - 1));
    return EqualNoCase(Trim(stored), Trim(FieldText(keyField)));
}

// A fixed entry is checked when choosing it would store the key's function again.
MenuItem FixedCommand(const char* text, int id, const ButtonInfo& info)
{
    const KeyCommand command = DecodeKeyCommand(id);
    const bool current =
        command.kind == KeyCommandKind::Function && static_cast<uint8_t>(command.function) == info.FunctionCode;
    return CommandItem(text, id, current);
}

MenuItem MacroMenu(const ButtonInfo& info, const MacroLibrary& macros)
{
    const bool playsMacro = info.FunctionCode == static_cast<uint8_t>(KeyFunction::Macro);
    Menu menu{kMacroMenuWidth, {}};
    menu.items.push_back(CommandItem("Create New Macro...", kCmdCreateMacro));
    if (!macros.empty())
        menu.items.push_back(SeparatorItem());
    for (size_t s = 0; s < macros.size() && s < static_cast<size_t>(kMenuMacroSets); ++s) {
        const MacroSet& set = *macros[s];
        const int setIndex = static_cast<int>(s);
        const bool setCurrent = playsMacro && SameStoredName(FieldText(set.Name), info.MacroSetName);
        Menu setMenu{kMacroMenuWidth, {}};
        setMenu.items.push_back(CommandItem("Create New Macro...", *MacroManagerCommandId(setIndex, false)));
        setMenu.items.push_back(CommandItem("Edit Macro...", *MacroManagerCommandId(setIndex, true)));
        setMenu.items.push_back(SeparatorItem());
        for (size_t m = 0; m < set.Elements.size(); ++m) {
            const std::optional<int> id = MacroCommandId(setIndex, static_cast<int>(m));
            if (!id)
                break;
            const std::string_view name = FieldText(set.Elements[m]->Name);
            setMenu.items.push_back(
                CommandItem(MenuText(name), *id, setCurrent && SameStoredName(name, info.MacroName)));
        }
        menu.items.push_back(SubmenuItem(MenuText(FieldText(set.Name)), std::move(setMenu), setCurrent));
    }
    return SubmenuItem("Assign Macro", std::move(menu));
}

MenuItem TimerMenu(const ButtonInfo& info, const TimerLibrary& timers)
{
    const bool runsTimer = info.FunctionCode == static_cast<uint8_t>(KeyFunction::Timer);
    Menu menu{kTimerMenuWidth, {}};
    menu.items.push_back(CommandItem("Create Timer", kCmdCreateTimer));
    menu.items.push_back(CommandItem("Edit/Delete Timer", kCmdEditTimer));
    menu.items.push_back(FixedCommand("Stop Timer", kCmdStopTimer, info));
    if (!timers.empty())
        menu.items.push_back(SeparatorItem());
    for (size_t t = 0; t < timers.size(); ++t) {
        const std::optional<int> id = TimerCommandId(static_cast<int>(t));
        if (!id)
            break;
        const std::string_view name = FieldText(timers[t]->Name);
        menu.items.push_back(CommandItem(MenuText(name), *id, runsTimer && SameStoredName(name, info.TimerName)));
    }
    return SubmenuItem("Assign a timer", std::move(menu));
}

MenuItem MediaMenu(const ButtonInfo& info)
{
    static const char* const kTexts[] = {"Open Player", "Pre Track", "Next Track", "Play/Pause",
                                         "Stop",        "Mute",      "Volume Up",  "Volume Down"};
    Menu menu{kMediaMenuWidth, {}};
    int id = kCmdOpenPlayer;
    for (const char* text : kTexts)
        menu.items.push_back(FixedCommand(text, id++, info));
    menu.items.push_back(CommandItem("Select Player", kCmdSelectPlayer));
    return SubmenuItem("Multimedia", std::move(menu));
}

MenuItem WebMenu(const ButtonInfo& info)
{
    static const char* const kTexts[] = {"WWW Search", "WWW Home",    "WWW Back",     "WWW Forward",
                                         "WWW Stop",   "WWW Refresh", "WWW Favorites"};
    Menu menu{kWebMenuWidth, {}};
    int id = kCmdWwwSearch;
    for (const char* text : kTexts)
        menu.items.push_back(FixedCommand(text, id++, info));
    return SubmenuItem("Internet Explorer", std::move(menu));
}

} // namespace

Menu BuildKeyMenu(const ButtonInfo& info, const MacroLibrary& macros, const TimerLibrary& timers)
{
    Menu root;
    root.items.push_back(MacroMenu(info, macros));
    root.items.push_back(CommandItem("Assign a shortcut", kCmdAssignShortcut,
                                     info.FunctionCode == static_cast<uint8_t>(KeyFunction::Shortcut)));
    root.items.push_back(TimerMenu(info, timers));
    root.items.push_back(MediaMenu(info));
    root.items.push_back(WebMenu(info));
    root.items.push_back(FixedCommand("Button off", kCmdButtonOff, info));
    return root;
}
