#include "ConfigDocument.h"

#include "Log.h"
#include "ProfileStore.h"
#include "ProgramTexts.h"
#include "Text.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>

namespace {

// One part of the profile set that the user edits as a whole, as a byte range of the record, and
// what its loss would be told as.
struct SetPart {
    std::size_t offset;
    std::size_t size;
    DroppedEdit edit;
};

bool SameBytes(const ProfileSet& a, const ProfileSet& b, const SetPart& part)
{
    const auto* x = reinterpret_cast<const unsigned char*>(&a);
    const auto* y = reinterpret_cast<const unsigned char*>(&b);
    return std::memcmp(x + part.offset, y + part.offset, part.size) == 0;
}

void CopyBytes(ProfileSet& to, const ProfileSet& from, const SetPart& part)
{
    std::memcpy(reinterpret_cast<unsigned char*>(&to) + part.offset,
                reinterpret_cast<const unsigned char*>(&from) + part.offset, part.size);
}

// Every part a user can edit: the chosen slot, and per profile its name with its games, its mode,
// its player, and each key's switch and assignment.
std::vector<SetPart> EditableParts(int hostSlot)
{
    using What = DroppedEdit::What;
    std::vector<SetPart> parts;
    parts.push_back({offsetof(ProfileSet, CurrentProfile), sizeof(int32_t), {What::Slot, hostSlot, 0}});
    for (int s = 0; s < kProfileCount; ++s) {
        const std::size_t at = offsetof(ProfileSet, Profiles) + static_cast<std::size_t>(s) * sizeof(Profile);
        const int slot = s + 1;
        parts.push_back({at + offsetof(Profile, Name), offsetof(Profile, Padding0), {What::GameProfile, slot, 0}});
        parts.push_back({at + offsetof(Profile, Mode), sizeof(int32_t), {What::Mode, hostSlot, 0}});
        parts.push_back({at + offsetof(Profile, MediaOption), sizeof(int32_t), {What::Player, slot, 0}});
        for (int k = 0; k < kKeyCount; ++k) {
            parts.push_back({at + offsetof(Profile, KeyFlags) + static_cast<std::size_t>(k),
                             1,
                             {What::KeySwitch, hostSlot, k + 1}});
            parts.push_back({at + offsetof(Profile, Buttons) + static_cast<std::size_t>(k) * sizeof(ButtonInfo),
                             sizeof(ButtonInfo),
                             {What::Key, slot, k + 1}});
        }
    }
    return parts;
}

bool AlreadyListed(const std::vector<DroppedEdit>& dropped, const DroppedEdit& edit)
{
    for (const DroppedEdit& d : dropped) {
        // The mode and the key switches stand in every profile: one loss is told once.
        if (d.what == edit.what && d.slot == edit.slot && d.key == edit.key)
            return true;
    }
    return false;
}

} // namespace

bool ApplyLetsWindowClose(ApplyOutcome outcome)
{
    return outcome == ApplyOutcome::Applied || outcome == ApplyOutcome::SavedWithoutHost;
}

ConfigDocument::ConfigDocument(std::string folder, SharedBlock& block, HostWindow& host)
    : m_folder(std::move(folder)), m_block(&block), m_host(host)
{
    ClearProfileSet(m_committed);
    ClearProfileSet(m_working);
}

ConfigDocument::ConfigDocument(std::string folder, HostWindow& host)
    : m_folder(std::move(folder)), m_block(&m_noBlock), m_host(host)
{
    ClearProfileSet(m_committed);
    ClearProfileSet(m_working);
}

bool ConfigDocument::Attach(HostBlockSource& source)
{
    if (SharedBlock* block = source.OpenHostBlock()) {
        SetBlock(*block, true);
        return true;
    }
    SetBlock(m_noBlock, false);
    return false;
}

void ConfigDocument::Open(HostBlockSource& source)
{
    Open(Attach(source));
}

void ConfigDocument::Open(bool hostPresent)
{
    ClearProfileSet(m_committed);
    m_hostPresent = hostPresent;
    if (!hostPresent || !m_block->Read(m_committed)) {
        // LoadProfileSet fills every slot whose file is missing with its default profile.
        if (!LoadProfileSet(m_committed, m_folder))
            SetDefaultProfiles(m_committed);
    }
    FreeMacroLibrary(m_macros);
    LoadMacroLibrary(m_macros, m_folder);
    m_timers.clear();
    LoadTimerLibrary(m_timers, m_folder);
    m_working = m_committed;
}

Profile* ConfigDocument::CurrentProfile()
{
    const int slot = m_working.CurrentProfile;
    return slot >= 1 && slot <= kProfileCount ? &m_working.Profiles[slot - 1] : nullptr;
}

const Profile* ConfigDocument::CurrentProfile() const
{
    return const_cast<ConfigDocument*>(this)->CurrentProfile();
}

void ConfigDocument::SelectSlot(int slot)
{
    if (slot >= 1 && slot <= kProfileCount)
        m_working.CurrentProfile = slot;
}

void ConfigDocument::SetKeySwitch(int key, bool on)
{
    if (key < 1 || key > kKeyCount)
        return;
    for (Profile& profile : m_working.Profiles)
        profile.KeyFlags[key - 1] = on ? KeySwitch::On : KeySwitch::Off;
}

void ConfigDocument::SetMode(bool on)
{
    for (Profile& profile : m_working.Profiles)
        profile.Mode = on ? KeyboardMode::NumLockOn : KeyboardMode::NumLockOff;
}

void ConfigDocument::ResetToDefaults()
{
    SetDefaultProfiles(m_working);
}

ApplyOutcome ConfigDocument::BeginApply(uint32_t request)
{
    if (!SaveProfileSet(m_working, m_folder)) {
        LogDebug("TolkCfg apply: the profile files could not be written\n");
        return ApplyOutcome::FilesNotSaved;
    }
    // Without the block the host would push what it holds, not this copy: it is asked only when
    // the block took the copy.
    const bool written = m_block->Write(m_working);
    m_committed = m_working;
    if (!written && m_hostPresent)
        LogDebug("TolkCfg apply: the host's block could not be taken; the keyboard was not updated\n");
    // Everything is on disk before the host is asked: a window closed while the answer is awaited
    // loses nothing.
    m_macrosSaved = SaveMacroLibrary(m_macros, m_folder);
    if (!m_macrosSaved)
        LogDebug("TolkCfg apply: the macro library could not be written\n");
    ApplyOutcome outcome = m_hostPresent ? ApplyOutcome::HostBusy : ApplyOutcome::SavedWithoutHost;
    if (written)
        outcome = m_host.SendApply(request) ? ApplyOutcome::Updating : ApplyOutcome::SavedWithoutHost;
    if (outcome == ApplyOutcome::SavedWithoutHost && !m_macrosSaved)
        outcome = ApplyOutcome::MacrosNotSaved;
    return outcome;
}

ApplyOutcome ConfigDocument::BeginApply(HostBlockSource& source, uint32_t request)
{
    if (!m_hostPresent)
        Attach(source);
    return BeginApply(request);
}

ApplyOutcome ConfigDocument::FinishApply(HostWindow::Answer answer)
{
    if (answer == HostWindow::Answer::NoAnswer)
        return ApplyOutcome::HostDidNotAnswer; // the worse news is told
    return m_macrosSaved ? ApplyOutcome::Applied : ApplyOutcome::MacrosNotSaved;
}

bool ConfigDocument::HasUnappliedEdits() const
{
    return std::memcmp(&m_working, &m_committed, sizeof m_working) != 0;
}

KeyboardArrival ConfigDocument::KeyboardArrived(HostBlockSource& source)
{
    KeyboardArrival arrival;
    arrival.firmwareText = FirmwareText();
    // A host started after this program tells about the keyboard before any apply looked for it.
    if (!m_hostPresent)
        Attach(source);
    arrival.takeOver = TakeOverBlock();
    return arrival;
}

std::string ConfigDocument::FirmwareText() const
{
    return FirmwareVersionText(ReadFirmwareVersion(m_folder));
}

std::optional<TakeOver> ConfigDocument::TakeOverBlock()
{
    auto fromHost = std::make_unique<ProfileSet>();
    if (!m_block->Read(*fromHost))
        return std::nullopt;
    // A three-way merge: the committed copy is what both last agreed on.
    auto merged = std::make_unique<ProfileSet>(*fromHost);
    TakeOver result;
    for (const SetPart& part : EditableParts(fromHost->CurrentProfile)) {
        const bool userChanged = !SameBytes(m_working, m_committed, part);
        if (!userChanged)
            continue;
        if (SameBytes(*fromHost, m_committed, part)) {
            CopyBytes(*merged, m_working, part); // only the user changed it: the edit stays
        } else if (!SameBytes(*fromHost, m_working, part) && !AlreadyListed(result.dropped, part.edit)) {
            result.dropped.push_back(part.edit);
            LogDebug("TolkCfg: the host changed what the user had edited (part %d of profile %d, key %d); "
                     "the user's edit was dropped\n",
                     static_cast<int>(part.edit.what), part.edit.slot, part.edit.key);
        }
    }
    m_committed = *fromHost;
    m_working = *merged;
    return result;
}

DialogEdit ConfigDocument::StoreKeyEdit(int slot, int key, const ButtonInfo& openedWith, const ButtonInfo& edited)
{
    if (!IsValidSlot(slot) || key < 1 || key > kKeyCount)
        return DialogEdit::NoSlot;
    ButtonInfo& now = m_working.Profiles[slot - 1].Buttons[key - 1];
    if (std::memcmp(&now, &openedWith, sizeof now) != 0)
        return DialogEdit::Dropped;
    now = edited;
    return DialogEdit::Stored;
}

DialogEdit ConfigDocument::StorePlayerEdit(int slot, int32_t openedWith, int32_t edited)
{
    if (!IsValidSlot(slot))
        return DialogEdit::NoSlot;
    int32_t& now = m_working.Profiles[slot - 1].MediaOption;
    if (now != openedWith)
        return DialogEdit::Dropped;
    now = edited;
    return DialogEdit::Stored;
}

std::optional<KeyEdit> ConfigDocument::BeginKeyEdit(int key) const
{
    const Profile* profile = CurrentProfile();
    if (profile == nullptr || key < 1 || key > kKeyCount)
        return std::nullopt;
    return KeyEdit{m_working.CurrentProfile, key, profile->Buttons[key - 1]};
}

DialogEdit ConfigDocument::StoreKeyEdit(const KeyEdit& edit, const ButtonInfo& edited)
{
    return StoreKeyEdit(edit.slot, edit.key, edit.openedWith, edited);
}

std::optional<PlayerEdit> ConfigDocument::BeginPlayerEdit() const
{
    const Profile* profile = CurrentProfile();
    if (profile == nullptr)
        return std::nullopt;
    return PlayerEdit{m_working.CurrentProfile, profile->MediaOption};
}

DialogEdit ConfigDocument::StorePlayerEdit(const PlayerEdit& edit, int32_t edited)
{
    return StorePlayerEdit(edit.slot, edit.openedWith, edited);
}

ButtonInfo ConfigDocument::AssignmentOf(int key) const
{
    const Profile* profile = CurrentProfile();
    if (profile == nullptr || key < 1 || key > kKeyCount)
        return ButtonInfo{};
    return profile->Buttons[key - 1];
}

void ConfigDocument::SetBlock(SharedBlock& block, bool hostPresent)
{
    m_block = &block;
    m_hostPresent = hostPresent;
}

GameProfileValues ConfigDocument::GameProfile() const
{
    GameProfileValues values;
    if (const Profile* profile = CurrentProfile()) {
        values.name = std::string(FieldText(profile->Name));
        values.games[0] = std::string(FieldText(profile->GameFile0));
        values.games[1] = std::string(FieldText(profile->GameFile1));
        values.games[2] = std::string(FieldText(profile->GameFile2));
    }
    return values;
}

void ConfigDocument::SetGameProfile(const GameProfileValues& values)
{
    Profile* profile = CurrentProfile();
    if (!profile)
        return;
    CopyToField(profile->Name, values.name);
    CopyToField(profile->GameFile0, values.games[0]);
    CopyToField(profile->GameFile1, values.games[1]);
    CopyToField(profile->GameFile2, values.games[2]);
}

NameProblem ConfigDocument::ProfileNameProblemFor(int slot, std::string_view name) const
{
    return ProfileNameProblem(m_working, slot, Trim(name), m_folder);
}

DialogEdit ConfigDocument::StoreGameProfileEdit(int slot, const GameProfileValues& openedWith,
                                                const GameProfileValues& edited)
{
    if (!IsValidSlot(slot))
        return DialogEdit::NoSlot;
    Profile& profile = m_working.Profiles[slot - 1];
    const bool unchanged =
        FieldText(profile.Name) == openedWith.name && FieldText(profile.GameFile0) == openedWith.games[0] &&
        FieldText(profile.GameFile1) == openedWith.games[1] && FieldText(profile.GameFile2) == openedWith.games[2];
    if (!unchanged || ProfileNameProblemFor(slot, edited.name) != NameProblem::None)
        return DialogEdit::Dropped;
    CopyToField(profile.Name, Trim(edited.name));
    CopyToField(profile.GameFile0, edited.games[0]);
    CopyToField(profile.GameFile1, edited.games[1]);
    CopyToField(profile.GameFile2, edited.games[2]);
    return DialogEdit::Stored;
}

std::optional<SlotNameProblem> ConfigDocument::UnusableProfileName() const
{
    return FirstUnusableProfileName(m_working, m_folder);
}

ProfileTransfer ConfigDocument::Import(const std::string& path)
{
    return ImportProfileFile(m_working, path, m_folder);
}

ProfileTransfer ConfigDocument::Export(const std::string& path)
{
    return ExportProfileFile(m_working, path, m_folder);
}
