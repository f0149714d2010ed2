#include "NameTexts.h"

#include "LanguageStrings.h"

std::string NameProblemText(NameProblem problem, int otherSlot, const LanguageText& text)
{
    uint32_t id = 0;
    switch (problem) {
    case NameProblem::None: return std::string();
    case NameProblem::Empty: id = IDS_NAME_EMPTY; break;
    case NameProblem::ReservedCharacter: id = IDS_NAME_RESERVED; break;
    case NameProblem::DeviceName: id = IDS_NAME_DEVICE; break;
    case NameProblem::TrailingDot: id = IDS_NAME_TRAILING_DOT; break;
    case NameProblem::TooLong: id = IDS_NAME_TOO_LONG; break;
    case NameProblem::Taken: id = IDS_NAME_TAKEN; break;
    }
    return FillPlaceholders(text(id), otherSlot, 0);
}

std::string TransferText(const ProfileTransfer& result, bool import, const LanguageText& text)
{
    uint32_t id = 0;
    switch (result.outcome) {
    case TransferOutcome::Done: id = import ? IDS_STATUS_IMPORTED : IDS_STATUS_EXPORTED; break;
    case TransferOutcome::TitleTaken: id = import ? IDS_STATUS_IMPORTED_RENAMED : IDS_STATUS_EXPORTED_NAME_KEPT; break;
    case TransferOutcome::NoCurrentSlot: id = IDS_STATUS_NO_SLOT; break;
    case TransferOutcome::NameRefused: return NameProblemText(result.problem, result.otherSlot, text);
    case TransferOutcome::FileNotRead: id = IDS_STATUS_IMPORT_NOT_READ; break;
    case TransferOutcome::FileNotWritten: id = IDS_STATUS_EXPORT_NOT_WRITTEN; break;
    case TransferOutcome::CopyNotWritten: id = IDS_STATUS_EXPORT_COPY_FAILED; break;
    case TransferOutcome::ForbiddenFile: id = IDS_STATUS_EXPORT_FORBIDDEN; break;
    }
    return FillPlaceholders(text(id), result.otherSlot, 0);
}

std::string UnusableNameText(const SlotNameProblem& unusable, const LanguageText& text)
{
    return FillPlaceholders(text(IDS_STATUS_NAME_NOT_SAVED), unusable.slot, 0);
}

std::string GameProfileNameRefusal(const ConfigDocument& document, int slot, std::string_view typed,
                                   const LanguageText& text)
{
    return NameProblemText(document.ProfileNameProblemFor(slot, typed),
                           SlotNamed(document.Working(), typed, slot).value_or(0), text);
}
