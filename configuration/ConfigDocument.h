// The configuration program's data: the committed copy of the profile set (what was last applied or
// taken over from the host) and the working copy every window edits, the macro and timer
// libraries, and the road of an edit to the profile files, the host and the keyboard.
#pragma once

#include "Libraries.h"
#include "ProfileStore.h"
#include "Records.h"
#include "SharedBlock.h"

#include <optional>
#include <string>
#include <vector>

// The running host as the configuration program reaches it: its window, found by title.
class HostWindow {
public:
    enum class Answer {
        Answered, // the host took the block over (and pushes it to the keyboard)
        NoAnswer  // the host did not answer within the time limit (hung, or busy for too long)
    };
    virtual ~HostWindow() = default;
    // Sends the apply request numbered request and returns at once, without waiting for the host:
    // false when no host window runs (nothing was sent). The host's answer, or NoAnswer once the
    // time limit passed, comes back later with the same number (see ApplyRun::HostAnswered).
    virtual bool SendApply(uint32_t request) = 0;
};

// Where the running host's shared block is found. The configuration program may start before the
// host does; it looks for the block when it starts, at an apply and when the host tells that the
// keyboard arrived.
class HostBlockSource {
public:
    virtual ~HostBlockSource() = default;
    // The running host's block, opened now; nullptr when no host runs or its block cannot be
    // opened. The block lives until the next call.
    virtual SharedBlock* OpenHostBlock() = 0;
};

// How an apply went, in what the status line tells the user.
enum class ApplyOutcome {
    Applied,          // files saved and the host took the set over (or was asked to)
    SavedWithoutHost, // files saved; no host runs, it reads them at its next start
    HostBusy,         // files saved, but the host's block could not be taken: the keyboard was not updated
    HostDidNotAnswer, // files saved and the block written, but the host did not answer
    Updating,         // files saved and the block written; the host was asked and its answer is awaited
    MacrosNotSaved,   // the profiles went their whole way, but the macro library could not be written
    FilesNotSaved     // a profile file or config.ini could not be written: nothing was handed on
};

// True when the apply left nothing to retry, so OK may close the window: everything was saved and
// either the host took it or no host runs. Never while the host's answer is awaited. On any other outcome the window stays open with the
// outcome on the status line, and the user can retry or choose Cancel.
bool ApplyLetsWindowClose(ApplyOutcome outcome);

// A user's unapplied edit that a take-over from the host dropped because the host changed the
// same thing; the host's data won.
struct DroppedEdit {
    enum class What {
        Slot,       // the chosen slot: the host chose another
        Mode,       // the keyboard mode
        KeySwitch,  // the on/off switch of key `key`
        Key,        // the assignment of key `key` in profile `slot`
        Player,     // the media player of profile `slot`
        GameProfile // the name and games of profile `slot`
    };
    What what;
    int slot; // 1..5: the profile concerned (for Slot and Mode the host's current slot)
    int key;  // 1..5 for Key and KeySwitch, otherwise 0
};

// What a take-over from the host did to the working copy.
struct TakeOver {
    std::vector<DroppedEdit> dropped; // empty when every unapplied edit was kept
};

// Where an edit made in a dialog went. A dialog is opened for one profile slot (and key); while it
// is open the host may change the block, and the document takes that over.
enum class DialogEdit {
    Stored,  // into the slot (and key) the dialog was opened for
    Dropped, // the host changed the same thing while the dialog was open: the host's data stays
    NoSlot   // the dialog was opened for no slot 1..5 (or no key 1..5): nothing changed
};

// A dialog's edit of one key: the slot and key it was opened for and what the key held then.
struct KeyEdit {
    int slot; // 1..5
    int key;  // 1..5
    ButtonInfo openedWith;
};

// A dialog's edit of a profile's media player: the slot it was opened for and the player then.
struct PlayerEdit {
    int slot; // 1..5
    int32_t openedWith;
};

// What changes when the host tells that the keyboard arrived.
struct KeyboardArrival {
    // The firmware version the host found on the keyboard, as the window's title area shows it.
    std::string firmwareText;
    // The host's block taken over; nothing when it could not be read.
    std::optional<TakeOver> takeOver;
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
    // Without a host's block until Open or Attach finds one.
    ConfigDocument(std::string folder, HostWindow& host);

    // Start: the committed copy from the shared block when hostPresent and the block can be read,
    // otherwise from the profile files; the libraries from their files; the working copy equal to
    // the committed copy.
    void Open(bool hostPresent);
    // Start as above, with the host's block when source finds one (see Attach).
    void Open(HostBlockSource& source);
    // Uses the running host's block when source finds one, and none otherwise; true when found.
    bool Attach(HostBlockSource& source);

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
    // The mode button checked (KeyboardMode::NumLockOn) or not (NumLockOff), in all five profiles of
    // the working copy.
    void SetMode(bool on);
    // The five default profiles into the working copy (the caller applies at once).
    void ResetToDefaults();

    // The first half of an apply, which never waits for the host: saves the working copy to
    // "config.ini" and the profile files, writes it into the shared block, makes it the committed
    // copy, saves the macro library, and sends the host the apply request numbered request (only
    // when the block took the copy). Updating when the host was asked: its answer goes to
    // FinishApply. Otherwise how the apply ended. When the files cannot be written nothing else
    // happens and the committed copy stays as it was.
    ApplyOutcome BeginApply(uint32_t request);
    // As BeginApply, after looking for the block of a host that started after this program and has
    // not told about itself yet.
    ApplyOutcome BeginApply(HostBlockSource& source, uint32_t request);
    // The second half: how the apply that BeginApply left Updating went, given the host's answer.
    ApplyOutcome FinishApply(HostWindow::Answer answer);
    // True when the working copy holds edits that no apply has handed on yet.
    bool HasUnappliedEdits() const;

    // The host changed the block (profile switch, mode, key switches, a reset's defaults) or
    // re-read the keyboard: the committed copy becomes the block's content, and the working copy
    // takes over every part the host changed since the committed copy while keeping the user's
    // unapplied edits of the other parts. Where both changed the same part the host's data wins and
    // the edit is listed as dropped. Nothing, with nothing changed, when the block cannot be read.
    std::optional<TakeOver> TakeOverBlock();
    // The host found the keyboard: the firmware version it wrote is read again, the block of a host
    // that started after this program is looked for, and the block is taken over.
    KeyboardArrival KeyboardArrived(HostBlockSource& source);
    // The firmware version in the program folder's config.ini, as the window's title area shows it.
    std::string FirmwareText() const;

    // An edit of key 1..5 of slot 1..5 made in a dialog opened when the key held openedWith: stored
    // when the working copy's key still holds openedWith, otherwise dropped (see DialogEdit).
    DialogEdit StoreKeyEdit(int slot, int key, const ButtonInfo& openedWith, const ButtonInfo& edited);
    // The same for the media player of slot 1..5.
    DialogEdit StorePlayerEdit(int slot, int32_t openedWith, int32_t edited);
    // The edit a dialog opened now for key 1..5 of the current slot makes; nothing when no slot is
    // current or the key is out of range (the dialog does not open).
    std::optional<KeyEdit> BeginKeyEdit(int key) const;
    DialogEdit StoreKeyEdit(const KeyEdit& edit, const ButtonInfo& edited);
    // The edit a dialog opened now for the current slot's player makes; nothing without a slot.
    std::optional<PlayerEdit> BeginPlayerEdit() const;
    DialogEdit StorePlayerEdit(const PlayerEdit& edit, int32_t edited);
    // What key 1..5 of the current slot holds; an empty assignment without a slot or such a key.
    ButtonInfo AssignmentOf(int key) const;
    // The block of a host that started after this program did.
    void SetBlock(SharedBlock& block, bool hostPresent);

    // The current profile's name and games; empty when no slot is current.
    GameProfileValues GameProfile() const;
    // Stores the four texts into the current profile, each cut to its field and terminated. The
    // name is not checked: the game profile dialog's edits go through StoreGameProfileEdit.
    void SetGameProfile(const GameProfileValues& values);
    // Why the profile of slot 1..5 of the working copy cannot take name (as typed; it is kept
    // without outer blanks): a name that cannot name its file in the config folder, or another
    // slot's name. None when it can.
    NameProblem ProfileNameProblemFor(int slot, std::string_view name) const;
    // An edit of the game profile dialog opened for slot 1..5 when its profile held openedWith:
    // stored into that slot (the name without outer blanks, every text cut to its field) when the
    // slot still holds openedWith and the name can be taken; otherwise dropped, with nothing
    // changed.
    DialogEdit StoreGameProfileEdit(int slot, const GameProfileValues& openedWith, const GameProfileValues& edited);
    // The first slot of the working copy whose name an apply could not save under (Apply then
    // saves nothing and says FilesNotSaved); nothing when all five can be saved.
    std::optional<SlotNameProblem> UnusableProfileName() const;

    // A profile file into the current slot of the working copy (named after the file's title).
    ProfileTransfer Import(const std::string& path);
    // The current profile of the working copy to a profile file.
    ProfileTransfer Export(const std::string& path);

    MacroLibrary& Macros() { return m_macros; }
    TimerLibrary& Timers() { return m_timers; }

private:
    std::string m_folder;
    // The block in use while no host's block is.
    NullSharedBlock m_noBlock;
    SharedBlock* m_block;
    HostWindow& m_host;
    bool m_hostPresent = false;
    ProfileSet m_committed{};
    ProfileSet m_working{};
    // Whether the macro library was saved by the apply whose host's answer is awaited.
    bool m_macrosSaved = true;
    MacroLibrary m_macros;
    TimerLibrary m_timers;
};
