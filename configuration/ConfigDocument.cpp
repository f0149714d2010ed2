#include "ConfigDocument.h"

#include "Log.h"
#include "ProfileStore.h"
#include "Text.h"

#include <utility>

ConfigDocument::ConfigDocument(std::string folder, SharedBlock& block, HostWindow& host)
    : m_folder(std::move(folder)), m_block(&block), m_host(host)
{
    ClearProfileSet(m_committed);
    ClearProfileSet(m_working);
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
        profile.KeyFlags[key - 1] = on ? 0 : 1;
}

void ConfigDocument::SetMode(bool on)
{
    for (Profile& profile : m_working.Profiles)
        profile.Mode = on ? 0 : 1;
}

void ConfigDocument::ResetToDefaults()
{
    SetDefaultProfiles(m_working);
}

ApplyOutcome ConfigDocument::Apply()
{
    if (!SaveProfileSet(m_working, m_folder)) {
        LogDebug("TolkCfg apply: the profile files could not be written\n");
        return ApplyOutcome::FilesNotSaved;
    }
    // Without the block the host would push what it holds, not this copy: it is asked only when
    // the block took the copy.
    const bool written = m_block->Write(m_working);
    m_committed = m_working;
    ApplyOutcome outcome = ApplyOutcome::SavedWithoutHost;
    if (written) {
        switch (m_host.SendApply()) {
        case HostWindow::Answer::NoHost:
            outcome = ApplyOutcome::SavedWithoutHost;
            break;
        case HostWindow::Answer::Answered:
            outcome = ApplyOutcome::Applied;
            break;
        case HostWindow::Answer::NoAnswer:
            outcome = ApplyOutcome::HostDidNotAnswer;
            break;
        }
    }
    if (!SaveMacroLibrary(m_macros, m_folder))
        LogDebug("TolkCfg apply: the macro library could not be written\n");
    return outcome;
}

bool ConfigDocument::TakeOverBlock()
{
    ProfileSet fromHost;
    if (!m_block->Read(fromHost))
        return false;
    m_committed = fromHost;
    m_working = m_committed;
    return true;
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

bool ConfigDocument::Import(const std::string& path)
{
    return ImportProfileFile(m_working, path, m_folder);
}

bool ConfigDocument::Export(const std::string& path)
{
    return ExportProfileFile(m_working, path, m_folder);
}
