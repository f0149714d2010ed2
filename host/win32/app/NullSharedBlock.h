// The shared block of a host that could not create one: nothing is shared, every copy fails, so an
// apply request finds nothing new and the host works on its own profile set.
#pragma once

#include "Ports.h"

class NullSharedBlock final : public SharedBlock {
public:
    bool Read(ProfileSet&) override { return false; }
    bool Write(const ProfileSet&) override { return false; }
};
