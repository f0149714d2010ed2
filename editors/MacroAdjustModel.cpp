#include "MacroAdjustModel.h"

#include "KeyTable.h"

MacroAdjustModel::MacroAdjustModel(MacroLibrary& library, const KeyboardLayout& layout)
    : m_library(library), m_layout(layout)
{
}

void MacroAdjustModel::LoadMacro(int setIndex, int macroIndex)
{
    m_setIndex = setIndex;
    m_macroIndex = macroIndex;
    m_macro = MacroAt(m_library, setIndex, macroIndex);
    m_waitingBar = -1;
    m_list.SetBars(m_macro != nullptr ? BarsFromMacro(*m_macro) : std::vector<TimingBar>{});
}

CommitOutcome MacroAdjustModel::CommitBars()
{
    CommitOutcome outcome;
    if (m_macro == nullptr)
        return outcome;
    outcome.written = true;
    outcome.pauseCapped = CommitBarsToMacro(m_list.Bars(), *m_macro);
    return outcome;
}

std::optional<AddBarOutcome> MacroAdjustModel::AddBarRefusal() const
{
    if (m_macro == nullptr) {
        const bool setSelected = m_setIndex >= 0 && static_cast<size_t>(m_setIndex) < m_library.size();
        return setSelected ? AddBarOutcome::WarnNoMacroName : AddBarOutcome::WarnNoMacroSet;
    }
    if (m_list.Bars().size() >= static_cast<size_t>(kMaxTimingBars))
        return AddBarOutcome::Refused;
    return std::nullopt;
}

AddBarOutcome MacroAdjustModel::AddBar()
{
    if (const std::optional<AddBarOutcome> refusal = AddBarRefusal())
        return *refusal;
    const std::optional<int> added = m_list.InsertBar();
    if (!added)
        return AddBarOutcome::Refused;
    m_waitingBar = *added;
    return AddBarOutcome::CaptureStarted;
}

AddBarOutcome MacroAdjustModel::AddBar(RecorderCapture& capture)
{
    if (const std::optional<AddBarOutcome> refusal = AddBarRefusal())
        return *refusal;
    // Started before the bar is added: a bar waiting for a key that cannot come would leave the
    // manager without a usable button.
    if (!capture.StartKeyCapture())
        return AddBarOutcome::CaptureFailed;
    const AddBarOutcome outcome = AddBar();
    if (outcome != AddBarOutcome::CaptureStarted)
        capture.StopKeyCapture();
    return outcome;
}

bool MacroAdjustModel::KeyCaptured(uint32_t virtualKey)
{
    if (m_waitingBar < 0)
        return false;
    const uint32_t usage = VirtualKeyToUsage(virtualKey, m_layout).value_or(0);
    m_list.SetKey(m_waitingBar, static_cast<int32_t>(usage));
    m_waitingBar = -1;
    return true;
}
