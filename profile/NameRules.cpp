#include "NameRules.h"

#include "Text.h"

#include <cstring>

namespace {

constexpr std::string_view kFolderPart = "config\\";
constexpr std::string_view kExtension = ".rkp";
// The index section of the macro library (see Libraries.cpp).
constexpr std::string_view kIndexSection = "Main";

bool IsControl(char c)
{
    return static_cast<unsigned char>(c) < 0x20;
}

bool HasControl(std::string_view name)
{
    for (char c : name)
        if (IsControl(c))
            return true;
    return false;
}

// The device names Windows keeps, in folded form. The digits include the superscripts one to
// three of the ANSI code page, which Windows treats as digits of COM and LPT too.
bool IsDeviceBase(std::string_view base)
{
    static const char* const kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$", "clock$"};
    const std::string folded = FoldedKey(base);
    for (const char* device : kDevices)
        if (folded == device)
            return true;
    if (folded.size() == 4 && (folded.compare(0, 3, "com") == 0 || folded.compare(0, 3, "lpt") == 0)) {
        const unsigned char digit = static_cast<unsigned char>(folded[3]);
        return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
    }
    return false;
}

} // namespace

NameProblem ProfileFileNameProblem(std::string_view name, std::string_view folder)
{
    if (Trim(name).empty())
        return NameProblem::Empty;
    for (char c : name)
        if (IsControl(c) || std::strchr("\\/:*?\"<>|", c) != nullptr)
            return NameProblem::ReservedCharacter;
    // Windows takes the part before the first dot, without its trailing blanks, as the device.
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    if (IsDeviceBase(base))
        return NameProblem::DeviceName;
    if (name.back() == '.')
        return NameProblem::TrailingDot;
    // The path limit keeps every name well inside the record's field (at most 222 of 249 characters).
    const std::size_t path = folder.size() + kFolderPart.size() + name.size() + kExtension.size() + kTempSuffixRoom;
    static_assert(kMaxPathLength - kFolderPart.size() - kExtension.size() - kTempSuffixRoom < sizeof(Profile::Name),
                  "a name that fits the path fits the field");
    if (path > kMaxPathLength)
        return NameProblem::TooLong;
    return NameProblem::None;
}

bool SameProfileName(std::string_view a, std::string_view b)
{
    return EqualNoCase(Trim(a), Trim(b));
}

std::optional<int> SlotNamed(const ProfileSet& set, std::string_view name, int exceptSlot)
{
    for (int slot = 1; slot <= kProfileCount; ++slot)
        if (slot != exceptSlot && SameProfileName(FieldText(set.Profiles[slot - 1].Name), name))
            return slot;
    return std::nullopt;
}

NameProblem ProfileNameProblem(const ProfileSet& set, int slot, std::string_view name, std::string_view folder)
{
    const NameProblem problem = ProfileFileNameProblem(Trim(name), folder);
    if (problem != NameProblem::None)
        return problem;
    return SlotNamed(set, name, slot) ? NameProblem::Taken : NameProblem::None;
}

std::optional<SlotNameProblem> FirstUnusableProfileName(const ProfileSet& set, std::string_view folder)
{
    for (int slot = 1; slot <= kProfileCount; ++slot) {
        const std::string_view name = FieldText(set.Profiles[slot - 1].Name);
        const NameProblem problem = ProfileFileNameProblem(Trim(name), folder);
        if (problem != NameProblem::None)
            return SlotNameProblem{slot, problem};
        for (int earlier = 1; earlier < slot; ++earlier)
            if (SameProfileName(FieldText(set.Profiles[earlier - 1].Name), name))
                return SlotNameProblem{slot, NameProblem::Taken};
    }
    return std::nullopt;
}

bool MacroSetNameStorable(std::string_view name)
{
    if (name.empty())
        return true; // kept in the lines before the first section, where this engine finds it again
    if (name != Trim(name) || EqualNoCase(name, kIndexSection))
        return false;
    if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return false;
    // A value read back loses one pair of enclosing quotes, and the set would miss its section.
    const char first = name.front();
    return !(name.size() >= 2 && (first == '"' || first == '\'') && name.back() == first);
}

bool MacroSetNameAccepted(std::string_view name)
{
    return !name.empty() && MacroSetNameStorable(name) && !HasControl(name) &&
           name.find(']') == std::string_view::npos && name.front() != '[' && name.front() != ';';
}

bool RecordNameAccepted(std::string_view name)
{
    return !Trim(name).empty() && !HasControl(name);
}
