// What the main window's status line says about an apply and about edits that did not land, as
// language-string numbers and the texts made from them.
#pragma once

#include "ConfigDocument.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The language module's text of a string number.
using LanguageText = std::function<std::string(uint32_t id)>;

// The string number of what the status line says after an apply.
uint32_t ApplyOutcomeTextId(ApplyOutcome outcome);

// The status line after an apply: how it went, or, when nothing was saved because a profile's name
// cannot be saved beside the others, which name it is.
std::string ApplyStatusText(ApplyOutcome outcome, const ConfigDocument& document, const LanguageText& text);

// pattern with every "{slot}" replaced by the slot number and every "{key}" by the key number;
// other text, braces included, stays as it is.
std::string FillPlaceholders(std::string_view pattern, int slot, int key);

// The status line after a take-over that dropped an edit: which edit went and why.
std::string DroppedEditText(const DroppedEdit& edit, const LanguageText& text);

// The status line after a take-over: the first edit it dropped; nothing when it kept them all.
std::optional<std::string> TakeOverText(const TakeOver& takeOver, const LanguageText& text);

// The status line after a dialog whose edit did not land; empty when it was stored.
std::string DialogEditText(DialogEdit result, const LanguageText& text);
