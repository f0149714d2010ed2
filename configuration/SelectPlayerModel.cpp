#include "SelectPlayerModel.h"

#include "KeyCommands.h"

const std::array<PlayerMenuItem, kPlayerCount>& PlayerMenu()
{
    static const std::array<PlayerMenuItem, kPlayerCount> kMenu = {{
        {kPlayerMenuFirstId, "Windows Media player"},
        {kPlayerMenuFirstId + 1, "iTunes"},
        {kPlayerMenuFirstId + 2, "VLC Media Player"},
        {kPlayerMenuFirstId + 3, "Winamp"},
    }};
    return kMenu;
}

std::string_view PlayerName(int32_t index)
{
    if (index < 0 || index >= kPlayerCount)
        return {};
    return PlayerMenu()[static_cast<size_t>(index)].text;
}

int32_t PlayerFromCommand(int commandId)
{
    const int index = commandId - kPlayerMenuFirstId;
    if (index < 1 || index >= kPlayerCount)
        return 0;
    return index;
}

void SelectPlayerModel::StoreInto(Profile& profile) const { StoreSelectedPlayer(profile, m_index); }
