#include "StatusTexts.h"

#include "LanguageStrings.h"
#include "NameTexts.h"

uint32_t ApplyOutcomeTextId(ApplyOutcome outcome)
{
    switch (outcome) {
    case ApplyOutcome::Applied: return IDS_STATUS_APPLIED;
    case ApplyOutcome::SavedWithoutHost: return IDS_STATUS_SAVED_NO_HOST;
    case ApplyOutcome::HostBusy: return IDS_STATUS_HOST_BUSY;
    case ApplyOutcome::HostDidNotAnswer: return IDS_STATUS_HOST_NO_ANSWER;
    case ApplyOutcome::Updating: return IDS_STATUS_UPDATING;
    case ApplyOutcome::MacrosNotSaved: return IDS_STATUS_MACROS_NOT_SAVED;
    case ApplyOutcome::FilesNotSaved: return IDS_STATUS_NOT_SAVED;
    }
    return IDS_STATUS_NOT_SAVED;
}

std::string ApplyStatusText(ApplyOutcome outcome, const ConfigDocument& document, const LanguageText& text)
{
    if (outcome == ApplyOutcome::FilesNotSaved) {
        if (const std::optional<SlotNameProblem> unusable = document.UnusableProfileName())
            return UnusableNameText(*unusable, text);
    }
    return text(ApplyOutcomeTextId(outcome));
}

std::string FillPlaceholders(std::string_view pattern, int slot, int key)
{
    static constexpr std::string_view kSlot = "{slot}";
    static constexpr std::string_view kKey = "{key}";
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        const std::string_view rest = pattern.substr(i);
        if (rest.substr(0, kSlot.size()) == kSlot) {
            out += std::to_string(slot);
            i += kSlot.size();
        } else if (rest.substr(0, kKey.size()) == kKey) {
            out += std::to_string(key);
            i += kKey.size();
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

std::string DroppedEditText(const DroppedEdit& edit, const LanguageText& text)
{
    uint32_t id = IDS_STATUS_DROPPED_SWITCH;
    switch (edit.what) {
    case DroppedEdit::What::Key: id = IDS_STATUS_DROPPED_KEY; break;
    case DroppedEdit::What::GameProfile: id = IDS_STATUS_DROPPED_GAMES; break;
    case DroppedEdit::What::Player: id = IDS_STATUS_DROPPED_PLAYER; break;
    case DroppedEdit::What::Slot: id = IDS_STATUS_DROPPED_SLOT; break;
    case DroppedEdit::What::Mode:
    case DroppedEdit::What::KeySwitch: id = IDS_STATUS_DROPPED_SWITCH; break;
    }
    return FillPlaceholders(text(id), edit.slot, edit.key);
}

std::optional<std::string> TakeOverText(const TakeOver& takeOver, const LanguageText& text)
{
    if (takeOver.dropped.empty())
        return std::nullopt;
    return DroppedEditText(takeOver.dropped.front(), text);
}

std::string DialogEditText(DialogEdit result, const LanguageText& text)
{
    return result == DialogEdit::Dropped ? text(IDS_STATUS_DIALOG_DROPPED) : std::string();
}
