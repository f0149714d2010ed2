#include "MacroManagerModel.h"

#include "NameRules.h"
#include "Text.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return EqualNoCase(Trim(a), Trim(b));
}

} // namespace

// A macro name as stored: what fits the field, without leading and trailing blanks. Keys find their
// macro by the trimmed name without regard to case, so two names differing only so could not be
// told apart.
std::string MacroNameFieldText(std::string_view text)
{
    return std::string(Trim(text.substr(0, kMacroNameLimit)));
}

std::optional<std::string> SetNameFromField(std::string_view fieldText)
{
    const std::string_view name = Trim(fieldText.substr(0, kMacroNameLimit));
    if (!MacroSetNameAccepted(name))
        return std::nullopt;
    return std::string(name);
}

MacroManagerModel::MacroManagerModel(MacroLibrary& library, MacroEditorPage& basic, MacroEditorPage& advanced)
    : m_library(library), m_basic(basic), m_advanced(advanced)
{
}

void MacroManagerModel::Start(int set, const ButtonInfo& key)
{
    m_key = key;
    m_set = -1;
    m_macro = -1;
    if (set == -1) {
        if (const auto found = FindMacroSet(m_library, kDefaultMacroSetName))
            set = *found;
    }
    SelectSet(set);
}

std::string MacroManagerModel::SwitchLabel() const
{
    return m_page == MacroPage::Basic ? "SWITCH TO ADVANCED EDIT" : "SWITCH TO BASIC EDIT";
}

bool MacroManagerModel::IsSet(int s) const
{
    return s >= 0 && static_cast<size_t>(s) < m_library.size();
}

int MacroManagerModel::MacroCount() const
{
    return IsSet(m_set) ? static_cast<int>(m_library[static_cast<size_t>(m_set)]->Elements.size()) : 0;
}

void MacroManagerModel::CommitPendingEdits()
{
    if (m_page == MacroPage::Advanced)
        m_advanced.CommitBars();
}

void MacroManagerModel::ReloadEditors()
{
    m_basic.LoadMacro(m_set, m_macro);
    m_advanced.LoadMacro(m_set, m_macro);
}

void MacroManagerModel::SelectSet(int s)
{
    m_list.Clear();
    m_set = IsSet(s) ? s : -1;
    m_macro = -1;
    m_caption.clear();
    if (m_set != -1) {
        const MacroSet& set = *m_library[static_cast<size_t>(m_set)];
        m_caption = std::string(FieldText(set.Name));
        const bool keysSet = m_key.FunctionCode == static_cast<uint8_t>(KeyFunction::Macro) &&
                             SameName(FieldText(set.Name), FieldText(m_key.MacroSetName));
        for (const auto& macro : set.Elements) {
            const int row = m_list.AddRow(FieldText(macro->Name), 0);
            if (m_macro == -1 && keysSet && SameName(FieldText(macro->Name), FieldText(m_key.MacroName)))
                m_macro = row;
        }
        if (m_macro == -1 && !set.Elements.empty())
            m_macro = 0;
    }
    m_list.Select(m_macro);
    ReloadEditors();
}

Menu MacroManagerModel::SetMenu() const
{
    std::optional<int> marked;
    if (m_key.FunctionCode == static_cast<uint8_t>(KeyFunction::Macro))
        marked = FindAssignedMacro(m_library, m_key).set;
    Menu menu;
    for (size_t i = 0; i < m_library.size(); ++i) {
        const int index = static_cast<int>(i);
        if (kCmdFirstSet + index >= kCmdAddSet)
            break; // 2000..2997 are all the ids a set can have
        menu.items.push_back(
            CommandItem(MenuText(FieldText(m_library[i]->Name)), kCmdFirstSet + index, marked == index));
    }
    menu.items.push_back(SeparatorItem());
    menu.items.push_back(CommandItem("[+]Add Macro Set", kCmdAddSet));
    menu.items.push_back(CommandItem("[x]Delete Macro Set", kCmdDeleteSet));
    return menu;
}

ManagerDialog MacroManagerModel::SetMenuChosen(int id)
{
    if (!m_enabled)
        return ManagerDialog::None;
    if (id == kCmdAddSet)
        return ManagerDialog::CreateMacroSet;
    if (id == kCmdDeleteSet)
        return ManagerDialog::DeleteMacroSet;
    const int set = id - kCmdFirstSet;
    if (id >= kCmdFirstSet && id < kCmdAddSet && IsSet(set)) {
        CommitPendingEdits();
        SelectSet(set);
    }
    return ManagerDialog::None;
}

bool MacroManagerModel::SetNameEntered(std::string_view name)
{
    const std::optional<std::string> trimmed = SetNameFromField(name);
    if (!m_enabled || !trimmed || m_library.size() > kSetsBeforeLastCreate || FindMacroSet(m_library, *trimmed))
        return false;
    CommitPendingEdits();
    auto set = std::make_unique<MacroSet>();
    CopyToField(set->Name, *trimmed);
    m_library.push_back(std::move(set));
    SelectSet(static_cast<int>(m_library.size()) - 1);
    return true;
}

void MacroManagerModel::DeleteSetConfirmed()
{
    if (!m_enabled)
        return;
    CommitPendingEdits();
    if (IsSet(m_set))
        m_library.erase(m_library.begin() + m_set);
    if (m_library.empty())
        m_set = -1;
    else if (m_set >= static_cast<int>(m_library.size()))
        m_set = static_cast<int>(m_library.size()) - 1;
    SelectSet(m_set);
}

ManagerDialog MacroManagerModel::AddMacroClicked()
{
    if (!m_enabled || m_list.Count() >= static_cast<int>(kMaxMacrosPerSet))
        return ManagerDialog::None;
    if (m_set == -1)
        return ManagerDialog::WarnMacroSet;
    if (!m_list.BeginNewEntry())
        return ManagerDialog::None;
    return ManagerDialog::NewMacroEntry;
}

void MacroManagerModel::MacroEntryDone(int row)
{
    const ListRow* entry = m_list.RowAt(row);
    if (!entry)
        return;
    const std::string name = MacroNameFieldText(entry->text);
    bool refused = !RecordNameAccepted(name) || !IsSet(m_set) || MacroCount() >= static_cast<int>(kMaxMacrosPerSet);
    for (int other = 0; other < m_list.Count() && !refused; ++other)
        refused = other != row && SameName(m_list.Rows()[static_cast<size_t>(other)].text, name);

    CommitPendingEdits();
    if (refused) {
        m_list.DeleteRow(row);
        m_macro = std::min(m_macro, m_list.Count() - 1);
        // Enter had selected the refused row; the list marks the macro the editors show again.
        m_list.Select(m_macro);
    } else {
        m_list.SetRowText(row, name);
        auto macro = std::make_unique<MacroRecord>();
        std::memset(macro.get(), 0, sizeof(MacroRecord));
        CopyToField(macro->Name, name);
        m_library[static_cast<size_t>(m_set)]->Elements.push_back(std::move(macro));
        m_macro = m_list.Selection();
    }
    ReloadEditors();
}

void MacroManagerModel::EndMacroEntry(ListEditEnd how, std::string_view text)
{
    if (const std::optional<int> row = m_list.EndEdit(how, text))
        MacroEntryDone(*row);
}

ManagerDialog MacroManagerModel::DeleteMacroClicked()
{
    if (!m_enabled)
        return ManagerDialog::None;
    return m_list.Selection() == -1 ? ManagerDialog::NoSelectMacroDelete : ManagerDialog::DeleteMacroWarn;
}

void MacroManagerModel::DeleteMacroConfirmed()
{
    const int row = m_list.Selection();
    if (!m_enabled || row == -1 || row >= MacroCount())
        return;
    CommitPendingEdits();
    auto& macros = m_library[static_cast<size_t>(m_set)]->Elements;
    macros.erase(macros.begin() + row);
    m_list.DeleteRow(row);
    const int count = m_list.Count();
    if (count == 0)
        m_macro = -1;
    else if (m_macro >= count)
        m_macro = count - 1;
    // The editors show the macro now at that place; the list marks it as well.
    m_list.Select(m_macro);
    ReloadEditors();
}

void MacroManagerModel::MacroSelectionChanged(int row)
{
    if (!m_enabled)
        return;
    CommitPendingEdits();
    m_list.Select(row);
    m_macro = m_list.Selection();
    ReloadEditors();
}

void MacroManagerModel::SwitchClicked(bool pressed)
{
    if (!m_enabled)
        return;
    if (pressed) {
        CommitPendingEdits();
        m_page = MacroPage::Basic;
    } else {
        m_page = MacroPage::Advanced;
    }
    ReloadEditors();
}

bool MacroManagerModel::Ok()
{
    if (!m_enabled)
        return false;
    CommitPendingEdits();
    return true;
}
