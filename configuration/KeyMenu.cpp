#include "KeyMenu.h"

#include "KeyCommands.h"
#include "Text.h"

#include <algorithm>

namespace {

constexpr int kMacroMenuWidth = 140;
constexpr int kTimerMenuWidth = 122;
constexpr int kMediaMenuWidth = 122;
constexpr int kWebMenuWidth = 122;

MenuItem Command(std::string text, int id, bool current = false)
{
    MenuItem item;
    item.text = std::move(text);
    item.commandId = id;
    item.current = current;
    return item;
}

MenuItem Separator()
{
    MenuItem item;
    item.separator = true;
    return item;
}

MenuItem Submenu(std::string text, int width)
{
    MenuItem item;
    item.text = std::move(text);
    item.submenu = true;
    item.width = width;
    return item;
}

// The name a key would carry after choosing this entry, as the key's field holds it.
template <size_t N> bool SameStoredName(std::string_view libraryName, const char (&keyField)[N])
{
    const std::string_view stored = libraryName.substr(0, std::min(libraryName.size(), N - 1));
    return EqualNoCase(Trim(stored), Trim(FieldText(keyField)));
}

// A fixed entry is current when choosing it would store the key's function again.
MenuItem FixedCommand(const char* text, int id, const ButtonInfo& info)
{
    const KeyCommand command = DecodeKeyCommand(id);
    const bool current = command.kind == KeyCommandKind::Function &&
                         static_cast<uint8_t>(command.function) == info.FunctionCode;
    return Command(text, id, current);
}

MenuItem MacroMenu(const ButtonInfo& info, const MacroLibrary& macros)
{
    const bool playsMacro = info.FunctionCode == static_cast<uint8_t>(KeyFunction::Macro);
    MenuItem menu = Submenu("Assign Macro", kMacroMenuWidth);
    menu.children.push_back(Command("Create New Macro...", kCmdCreateMacro));
    if (!macros.empty())
        menu.children.push_back(Separator());
    for (size_t s = 0; s < macros.size() && s < static_cast<size_t>(kMenuMacroSets); ++s) {
        const CSubList& set = *macros[s];
        const int setIndex = static_cast<int>(s);
        MenuItem setMenu = Submenu(MenuText(FieldText(set.Name)), kMacroMenuWidth);
        setMenu.current = playsMacro && SameStoredName(FieldText(set.Name), info.MacroSetName);
        setMenu.children.push_back(Command("Create New Macro...", *MacroManagerCommandId(setIndex, false)));
        setMenu.children.push_back(Command("Edit Macro...", *MacroManagerCommandId(setIndex, true)));
        setMenu.children.push_back(Separator());
        for (size_t m = 0; m < set.Elements.size(); ++m) {
            const std::optional<int> id = MacroCommandId(setIndex, static_cast<int>(m));
            if (!id)
                break;
            const std::string_view name = FieldText(set.Elements[m]->Name);
            setMenu.children.push_back(
                Command(MenuText(name), *id, setMenu.current && SameStoredName(name, info.MacroName)));
        }
        menu.children.push_back(std::move(setMenu));
    }
    return menu;
}

MenuItem TimerMenu(const ButtonInfo& info, const TimerLibrary& timers)
{
    const bool runsTimer = info.FunctionCode == static_cast<uint8_t>(KeyFunction::Timer);
    MenuItem menu = Submenu("Assign a timer", kTimerMenuWidth);
    menu.children.push_back(Command("Create Timer", kCmdCreateTimer));
    menu.children.push_back(Command("Edit/Delete Timer", kCmdEditTimer));
    menu.children.push_back(FixedCommand("Stop Timer", kCmdStopTimer, info));
    if (!timers.empty())
        menu.children.push_back(Separator());
    for (size_t t = 0; t < timers.size(); ++t) {
        const std::optional<int> id = TimerCommandId(static_cast<int>(t));
        if (!id)
            break;
        const std::string_view name = FieldText(timers[t]->Name);
        menu.children.push_back(Command(MenuText(name), *id, runsTimer && SameStoredName(name, info.TimerName)));
    }
    return menu;
}

MenuItem MediaMenu(const ButtonInfo& info)
{
    static const char* const kTexts[] = {"Open Player", "Pre Track", "Next Track",  "Play/Pause",
                                         "Stop",        "Mute",      "Volume Up",   "Volume Down"};
    MenuItem menu = Submenu("Multimedia", kMediaMenuWidth);
    int id = kCmdOpenPlayer;
    for (const char* text : kTexts)
        menu.children.push_back(FixedCommand(text, id++, info));
    menu.children.push_back(Command("Select Player", kCmdSelectPlayer));
    return menu;
}

MenuItem WebMenu(const ButtonInfo& info)
{
    static const char* const kTexts[] = {"WWW Search", "WWW Home",    "WWW Back",     "WWW Forward",
                                         "WWW Stop",   "WWW Refresh", "WWW Favorites"};
    MenuItem menu = Submenu("Internet Explorer", kWebMenuWidth);
    int id = kCmdWwwSearch;
    for (const char* text : kTexts)
        menu.children.push_back(FixedCommand(text, id++, info));
    return menu;
}

} // namespace

MenuEntry MenuEntryOf(const MenuItem& item)
{
    MenuEntry entry;
    entry.text = item.text;
    entry.kind = item.separator ? MenuItemKind::Separator
                 : item.submenu ? MenuItemKind::Submenu
                                : MenuItemKindOf(item.commandId, false);
    entry.current = item.current;
    entry.trademark = item.trademark;
    return entry;
}

MenuItem BuildKeyMenu(const ButtonInfo& info, const MacroLibrary& macros, const TimerLibrary& timers)
{
    MenuItem root;
    root.submenu = true;
    root.children.push_back(MacroMenu(info, macros));
    root.children.push_back(Command("Assign a shortcut", kCmdAssignShortcut,
                                    info.FunctionCode == static_cast<uint8_t>(KeyFunction::Shortcut)));
    root.children.push_back(TimerMenu(info, timers));
    root.children.push_back(MediaMenu(info));
    root.children.push_back(WebMenu(info));
    root.children.push_back(FixedCommand("Button off", kCmdButtonOff, info));
    return root;
}
