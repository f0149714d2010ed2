// The configuration program's data: the committed copy of the profile set (what was last applied or
// taken over from the host) and the working copy every window edits, the macro and timer
// libraries, and the road of an edit to the profile files, the host and the keyboard.
#pragma once

#include "Libraries.h"
#include "Records.h"
#include "SharedBlock.h"

#include <string>

// The running host as the configuration program reaches it: its window, found by title.
class HostWindow {
public:
    enum class Answer {
        NoHost,   // no window titled "ZentorTolkHid": nothing was sent
        Answered, // the host took the block over and pushed it to the keyboard
        NoAnswer  // the host did not answer in time (hung, or the push never ended)
    };
    virtual ~HostWindow() = default;
    // Sends the apply request and waits for the host's answer, within a generous limit.
    virtual Answer SendApply() = 0;
};

// How an apply went, in what the status line tells the user.
enum class ApplyOutcome {
    Applied,           // files saved and the host took the set over (or was asked to)
    SavedWithoutHost,  // files saved; no host runs, it reads them at its next start
    HostDidNotAnswer,  // files saved and the block written, but the host did not answer
    FilesNotSaved      // a data file could not be written: nothing was handed on
};

// The four texts of the game profile dialog.
struct GameProfileValues {
    std::string name;
    std::string games[kGameFileCount];
};

class ConfigDocument {
public:
    // folder: the program folder the data files live below. block: the host's shared block, or a
    // NullSharedBlock when the host does not run (SetBlock changes it later).
    ConfigDocument(std::string folder, SharedBlock& block, HostWindow& host);

    // Start: the committed copy from the shared block when hostPresent and the block can be read,
    // otherwise from the profile files; the libraries from their files; the working copy equal to
    // the committed copy.
    void Open(bool hostPresent);

    const ProfileSet& Working() const { return m_working; }
    const ProfileSet& Committed() const { return m_committed; }
    // The profile of the working copy's current slot, or nullptr when no slot 1..5 is current.
    Profile* CurrentProfile();
    const Profile* CurrentProfile() const;
    bool HostPresent() const { return m_hostPresent; }
    const std::string& Folder() const { return m_folder; }

    // Makes slot 1..5 current in the working copy; other values are ignored.
    void SelectSlot(int slot);
    // Key switch of key 1..5 on (KeyFlags 0) or off (1), in all five profiles of the working copy.
    void SetKeySwitch(int key, bool on);
    // The keyboard mode on (Mode 0) or off (1), in all five profiles of the working copy.
    void SetMode(bool on);
    // The five default profiles into the working copy (the caller applies at once).
    void ResetToDefaults();

    // Saves the working copy to "config.ini" and the profile files, writes it into the shared
    // block, makes it the committed copy, asks the host to push it to the keyboard (only when the
    // block took it) and saves the macro library. When the files cannot be written nothing else
    // happens and the committed copy stays as it was.
    ApplyOutcome Apply();

    // The host changed the block (profile switch, mode) or re-read the keyboard: the committed
    // copy and the working copy become the block's content; unapplied edits are lost. False, with
    // nothing changed, when the block cannot be read.
    bool TakeOverBlock();
    // The block of a host that started after this program did.
    void SetBlock(SharedBlock& block, bool hostPresent);

    // The current profile's name and games; empty when no slot is current.
    GameProfileValues GameProfile() const;
    // Stores the four texts into the current profile, each cut to its field and terminated.
    void SetGameProfile(const GameProfileValues& values);

    // A profile file into the current slot of the working copy (named after the file's title).
    bool Import(const std::string& path);
    // The current profile of the working copy to a profile file.
    bool Export(const std::string& path);

    MacroLibrary& Macros() { return m_macros; }
    TimerLibrary& Timers() { return m_timers; }

private:
    std::string m_folder;
    SharedBlock* m_block;
    HostWindow& m_host;
    bool m_hostPresent = false;
    ProfileSet m_committed{};
    ProfileSet m_working{};
    MacroLibrary m_macros;
    TimerLibrary m_timers;
};
