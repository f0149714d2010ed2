// What the game profile dialog and the status line say about a profile name that was refused and
// about an import or an export, as texts of the language module.
#pragma once

#include "ProfileStore.h"
#include "StatusTexts.h"

#include <string>
#include <string_view>

// Why a name was refused; otherSlot is the profile that carries the name already (Taken). Empty
// for NameProblem::None.
std::string NameProblemText(NameProblem problem, int otherSlot, const LanguageText& text);

// The status line after an import (import true) or an export: what became of the profile, or why
// nothing happened.
std::string TransferText(const ProfileTransfer& result, bool import, const LanguageText& text);

// The status line after an apply that saved nothing because a slot's name cannot be saved.
std::string UnusableNameText(const SlotNameProblem& unusable, const LanguageText& text);

// What the game profile dialog opened for slot says about the name typed there: why the document
// would refuse it, or an empty text when the dialog may close.
std::string GameProfileNameRefusal(const ConfigDocument& document, int slot, std::string_view typed,
                                   const LanguageText& text);
