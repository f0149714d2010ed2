#include "SelectPlayerModel.h"

#include "KeyCommands.h"

namespace {

constexpr std::string_view kPlayerNames[kPlayerCount] = {"Windows Media player", "iTunes", "VLC Media Player",
                                                         "Winamp"};

} // namespace

Menu PlayerMenu()
{
    Menu menu{kPlayerMenuWidth, {}};
    for (int i = 0; i < kPlayerCount; ++i)
        menu.items.push_back(CommandItem(MenuText(kPlayerNames[i]), kCmdFirstPlayer + i));
    return menu;
}

std::string_view PlayerName(int32_t index)
{
    if (index < 0 || index >= kPlayerCount)
        return {};
    return kPlayerNames[index];
}

int32_t PlayerFromCommand(int commandId)
{
    const int index = commandId - kCmdFirstPlayer;
    if (index < 1 || index >= kPlayerCount)
        return 0;
    return index;
}

void SelectPlayerModel::StoreInto(Profile& profile) const
{
    StoreSelectedPlayer(profile, m_index);
}
