// The block through which the host and the configuration program keep one view of the profile
// set, as each program's core sees it.
#pragma once

#include "LinkNames.h"
#include "Records.h"

#include <type_traits>

static_assert(sizeof(ProfileSet) == kSharedBlockSize, "the shared block holds exactly one ProfileSet");
static_assert(std::is_trivially_copyable_v<ProfileSet>, "the shared block is copied as bytes");

// Whole-block copies of the shared ProfileSet, each under the link's lock.
class SharedBlock {
public:
    virtual ~SharedBlock() = default;
    virtual bool Read(ProfileSet& destination) = 0;
    virtual bool Write(const ProfileSet& source) = 0;
};

// The block of a program that could not create or open one: nothing is shared and every copy
// fails, so an apply request finds nothing new and the program works on its own profile set.
class NullSharedBlock final : public SharedBlock {
public:
    bool Read(ProfileSet&) override { return false; }
    bool Write(const ProfileSet&) override { return false; }
};
