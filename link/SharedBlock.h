// The block through which the host and the configuration program keep one view of the profile
// set, as each program's core sees it.
#pragma once

#include "LinkNames.h"
#include "Records.h"

#include <type_traits>

static_assert(sizeof(ProfileSet) == kSharedBlockSize, "the shared block holds exactly one ProfileSet");
static_assert(std::is_trivially_copyable_v<ProfileSet>, "the shared block is copied as bytes");

// Makes a profile set that came from outside the program (the other program's block) safe to use,
// in place: a CurrentProfile outside 1..5 becomes -1 (no slot), a Mode other than 0 and 1 becomes
// -1 (unknown), every text field ends inside its field, and every macro event count is at most 512.
// Everything else in the record is taken as it is; every byte value of it is safe to use.
void MakeProfileSetSafe(ProfileSet& set);

// Whole-block copies of the shared ProfileSet, each under the link's lock.
class SharedBlock {
public:
    virtual ~SharedBlock() = default;
    // The block's content, made safe by MakeProfileSetSafe: every read of either program goes
    // through here. False, with destination unspecified, when the block could not be copied.
    bool Read(ProfileSet& destination);
    virtual bool Write(const ProfileSet& source) = 0;
    // The block's bytes exactly as they stand, unchecked: only for tools that show them.
    virtual bool ReadRaw(ProfileSet& destination) = 0;
};

// The block of a program that could not create or open one: nothing is shared and every copy
// fails, so an apply request finds nothing new and the program works on its own profile set.
class NullSharedBlock final : public SharedBlock {
public:
    bool Write(const ProfileSet&) override { return false; }
    bool ReadRaw(ProfileSet&) override { return false; }
};
