#include "GuardedProfileSet.h"

#include "ProfileStore.h"

GuardedProfileSet::GuardedProfileSet() : m_set(std::make_unique<ProfileSet>())
{
    ClearProfileSet(*m_set);
}

ProfileSet GuardedProfileSet::Copy() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return *m_set;
}

void GuardedProfileSet::Replace(const ProfileSet& set)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    *m_set = set;
}

std::optional<ButtonInfo> GuardedProfileSet::CurrentKey(int keyIndex) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!IsValidSlot(m_set->CurrentProfile) || keyIndex < 0 || keyIndex >= kKeyCount)
        return std::nullopt;
    return m_set->Profiles[m_set->CurrentProfile - 1].Buttons[keyIndex];
}

int32_t GuardedProfileSet::CurrentProfile() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_set->CurrentProfile;
}

std::optional<KeyboardMode> GuardedProfileSet::CurrentMode() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!IsValidSlot(m_set->CurrentProfile))
        return std::nullopt;
    return m_set->Profiles[m_set->CurrentProfile - 1].Mode;
}

std::optional<int32_t> GuardedProfileSet::CurrentMediaOption() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!IsValidSlot(m_set->CurrentProfile))
        return std::nullopt;
    return m_set->Profiles[m_set->CurrentProfile - 1].MediaOption;
}
