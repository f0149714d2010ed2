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

AddBarOutcome MacroAdjustModel::AddBar()
{
    if (m_macro == nullptr) {
        const bool setSelected = m_setIndex >= 0 && static_cast<size_t>(m_setIndex) < m_library.size();
        return setSelected ? AddBarOutcome::WarnNoMacroName : AddBarOutcome::WarnNoMacroSet;
    }
    const std::optional<int> added = m_list.InsertBar();
    if (!added)
        return AddBarOutcome::Refused;
    m_waitingBar = *added;
    return AddBarOutcome::CaptureStarted;
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
