#include "KeyAssignmentModel.h"

#include "KeyCommands.h"
#include "KeyTable.h"

KeyAssignmentModel::KeyAssignmentModel(uint8_t key, const Flags& flags, const KeyboardLayout& layout)
    : m_layout(layout), m_key(key), m_flags(flags)
{
}

void KeyAssignmentModel::KeyCaptured(uint32_t virtualKey)
{
    const std::optional<uint32_t> usage = VirtualKeyToUsage(virtualKey, m_layout);
    // Every usage of the table fits the key byte (the largest is the mouse button 0xF4).
    m_key = usage ? static_cast<uint8_t>(*usage) : 0;
}

void KeyAssignmentModel::ToggleClicked(int index, bool checked)
{
    if (index < kFlagPlain || index > kFlagAlt)
        return;
    m_flags[static_cast<size_t>(index)] = checked ? 1 : 0;
    if (index == kFlagPlain) {
        for (int i = kFlagShift; i <= kFlagAlt; ++i)
            m_flags[static_cast<size_t>(i)] = 0;
    } else {
        m_flags[kFlagPlain] = 0;
    }
}

bool KeyAssignmentModel::Checked(int index) const
{
    if (index < kFlagPlain || index > kFlagAlt)
        return false;
    return m_flags[static_cast<size_t>(index)] != 0;
}

std::string KeyAssignmentModel::KeyName() const
{
    return UsageName(m_key, m_layout);
}

void KeyAssignmentModel::StoreInto(ButtonInfo& info) const
{
    StoreShortcut(info, m_key, m_flags);
}
