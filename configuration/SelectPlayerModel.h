// The rules of the media player dialog (CSelectPlayerDlg): one player index, shown on the choice
// button and changed from a menu of the four players. The caller stores the index into the
// profile's MediaOption when the dialog ends with OK, and nothing on cancel.
#pragma once

#include "Menu.h"
#include "Records.h"

#include <cstdint>
#include <string_view>

constexpr int kPlayerCount = 4; // 0 Windows Media Player, 1 iTunes, 2 VLC, 3 Winamp
constexpr int kCmdFirstPlayer = 1001;

// The choice button's menu is this wide.
constexpr int kPlayerMenuWidth = 140;

// The player names in menu order with their command ids 1001..1004.
Menu PlayerMenu();
// The name shown for an index; empty for any index but 0..3.
std::string_view PlayerName(int32_t index);
// The index a chosen menu command stands for: 1002..1004 are players 1..3, any other id player 0.
int32_t PlayerFromCommand(int commandId);

class SelectPlayerModel {
public:
    // Starts from the profile's MediaOption, which may be out of range (-1 shows nothing).
    explicit SelectPlayerModel(int32_t index) : m_index(index) {}

    // A player was chosen from the menu.
    void MenuChosen(int commandId) { m_index = PlayerFromCommand(commandId); }

    // Unchanged unless a player was chosen, so confirming stores back what was there.
    int32_t Index() const { return m_index; }
    std::string_view ChoiceText() const { return PlayerName(m_index); }
    // Whether the choice button draws a text at all.
    bool ChoiceHasText() const { return !ChoiceText().empty(); }

    // OK: the index becomes the profile's MediaOption; no key's assignment changes.
    void StoreInto(Profile& profile) const;

private:
    int32_t m_index;
};
