// Key assignments made for tests.
#pragma once

#include "Records.h"

#include <cstring>
#include <initializer_list>
#include <memory>

// A shortcut assignment of usage with the given ShortcutFlags set to 1, every other byte zero.
inline std::unique_ptr<ButtonInfo> Shortcut(uint8_t usage, std::initializer_list<int> setFlags)
{
    auto info = std::make_unique<ButtonInfo>();
    std::memset(info.get(), 0, sizeof(ButtonInfo));
    info->FunctionCode = static_cast<uint8_t>(KeyFunction::Shortcut);
    info->ShortcutKey = usage;
    for (int flag : setFlags)
        info->ShortcutFlags[flag] = 1;
    return info;
}
