// The host's profile set behind its lock, shared by the window thread and the read thread.
#pragma once

#include "Records.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

// The host's profile set. The UI thread and the read thread both change it, so every access goes
// through one lock; callers get consistent copies and never wait while holding it.
class GuardedProfileSet {
public:
    GuardedProfileSet();

    ProfileSet Copy() const;
    void Replace(const ProfileSet& set);

    // Runs f(ProfileSet&) under the lock and returns its result. f must not wait or call out.
    template <class F>
    auto With(F&& f)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return f(*m_set);
    }
    template <class F>
    auto With(F&& f) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return f(static_cast<const ProfileSet&>(*m_set));
    }

    // A copy of key keyIndex (0..4) of the current profile; nothing when CurrentProfile is not a
    // slot 1..5 or the index is out of range.
    std::optional<ButtonInfo> CurrentKey(int keyIndex) const;
    int32_t CurrentProfile() const;
    // Mode and MediaOption of the current profile; nothing without a current profile.
    std::optional<KeyboardMode> CurrentMode() const;
    std::optional<int32_t> CurrentMediaOption() const;

private:
    mutable std::mutex m_mutex;
    std::unique_ptr<ProfileSet> m_set;
};
