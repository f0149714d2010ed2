// The decisions of the macro manager (CMacroManagerDlg): which macro set and macro are shown, creating
// and deleting sets and macros in the in-memory library, and which editor page is visible. The
// window runs the dialogs the model asks for, mirrors the macro list and the captions, and passes
// the user's choices in.
//
// The manager never touches the macro file. When it ends, the caller saves the library (OK) or
// reads it again from the file (any other end), so every change made here, including the editors',
// lasts only when the user leaves with OK.
//
// The advanced page keeps its edits apart from the macro until they are committed. They are
// committed before the editors are ever shown another macro or set, and on OK, so leaving the page
// by choosing another macro loses nothing.
#pragma once

#include "Libraries.h"
#include "ListBoxExModel.h"
#include "MacroEditorPage.h"
#include "Menu.h"
#include "Records.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A new set is created only while at most 50 exist, so the library holds at most 51 sets.
constexpr size_t kSetsBeforeLastCreate = 50;
constexpr size_t kMaxMacroSets = kSetsBeforeLastCreate + 1;
// A set holds at most 100 macros.
constexpr size_t kMaxMacrosPerSet = 100;
// Set and macro names are typed into fields of 24 characters.
constexpr size_t kMacroNameLimit = 24;
// The set the top "Create New Macro..." of the key menu opens, when it exists.
constexpr std::string_view kDefaultMacroSetName = "ZENTOR Tolk";

// The set menu's command ids: 2000 + the set's index, a separator, add and delete.
constexpr int kCmdFirstSet = 2000;
constexpr int kCmdAddSet = 2998;
constexpr int kCmdDeleteSet = 2999;

// What the window must show or ask after an action.
enum class ManagerDialog {
    None,
    WarnMacroSet,        // CWarnMacroSet: no set is selected
    WarnMacroName,       // CWarnMacroName: a set is selected, but no macro
    NoSelectMacroDelete, // CNoSelectMacroDelete: delete with no macro selected
    DeleteMacroWarn,     // CDeleteMacroWarn: confirm; OK goes to DeleteMacroConfirmed
    DeleteMacroSet,      // CDeleteMacroSet: confirm; OK goes to DeleteSetConfirmed
    CreateMacroSet,      // CCreateMacroSetDlg: its OK goes to SetNameEntered
    NewMacroEntry,       // the macro list opened a new-entry edit (see the list's Edit)
};

enum class MacroPage { Basic, Advanced };

// The text a name field holds: at most 24 characters.
std::string MacroNameFieldText(std::string_view text);
// The name a new set gets from the name dialog: trimmed at both ends; nothing when that leaves it
// empty or names no set the library file can hold (MacroSetNameAccepted: "Main", control
// characters, "]", a leading "[" or ";", enclosing quotes), and then the dialog's OK and Enter do
// not close it.
std::optional<std::string> SetNameFromField(std::string_view fieldText);

class MacroManagerModel {
public:
    // basic and advanced are the two editor pages; the basic page is visible first.
    MacroManagerModel(MacroLibrary& library, MacroEditorPage& basic, MacroEditorPage& advanced);

    // The manager opens for a key's menu command. set is the set that command names as the key menu
    // decodes it (DecodeKeyCommand): -1 for the top "Create New Macro...", which opens the set
    // named "ZENTOR Tolk" when there is one. key is the edited key's assignment: when it plays a
    // macro of the opened set, that macro is selected.
    void Start(int set, const ButtonInfo& key);

    int SelectedSet() const { return m_set; }
    int SelectedMacro() const { return m_macro; }
    // The set button's caption: the selected set's name, empty when none is selected.
    const std::string& SetCaption() const { return m_caption; }
    // The macro list: one row per macro of the selected set, without pictures.
    const ListBoxExModel& MacroList() const { return m_list; }
    MacroPage VisiblePage() const { return m_page; }
    // The switch button is pressed while the basic page is visible.
    bool SwitchPressed() const { return m_page == MacroPage::Basic; }
    // "SWITCH TO ADVANCED EDIT" or "SWITCH TO BASIC EDIT".
    std::string SwitchLabel() const;
    bool ControlsEnabled() const { return m_enabled; }

    // The editors capture keys: the buttons and the list are disabled and every action below is
    // refused until they are enabled again.
    void EnableControls(bool enable) { m_enabled = enable; }

    // The set menu: every set in library order, the set of the key's macro checked, then a
    // separator, "[+]Add Macro Set" and "[x]Delete Macro Set". The window sets its width.
    Menu SetMenu() const;
    // A set menu item was chosen.
    ManagerDialog SetMenuChosen(int id);
    // The name dialog ended with OK and this name. A new set of the name, trimmed, is appended and
    // selected when at most 50 sets exist and no set has that name (blanks around it and letter
    // case aside); otherwise nothing changes. The dialog is modal, so the library holds as many
    // sets as when its menu item was chosen.
    bool SetNameEntered(std::string_view name);
    // The deletion of the selected set was confirmed: the set and its macros go, and the set now at
    // its place is selected, or the new last one, or none.
    void DeleteSetConfirmed();

    // The add button: opens a new entry in the macro list while it has fewer than 100 rows.
    ManagerDialog AddMacroClicked();
    // The macro list reported a finished edit of row (WM_LIST_EDIT_DONE). A name that another row
    // has (letter case aside), or that is empty or holds a control character, removes the row
    // again; otherwise a new empty macro of that name is appended to the selected set.
    void MacroEntryDone(int row);
    // The list's edit ended; for the window's convenience this ends the list's edit and handles
    // its report.
    void EndMacroEntry(ListEditEnd how, std::string_view text);

    // The delete button asks for confirmation, or says that no macro is selected.
    ManagerDialog DeleteMacroClicked();
    void DeleteMacroConfirmed();

    // The list's selection changed to row (-1: none).
    void MacroSelectionChanged(int row);

    // The switch button was clicked and is now pressed or not: pressed shows the basic page, whose
    // leaving the advanced page commits its edits; not pressed shows the advanced page.
    void SwitchClicked(bool pressed);

    // OK: the advanced page's edits are committed; the manager then ends with OK. False, and the
    // manager stays open, while the controls are disabled.
    bool Ok();
    // Cancel or close: nothing is committed. False while the controls are disabled.
    bool Cancel() const { return m_enabled; }

private:
    // The advanced page's pending edits reach the macro before anything could drop them.
    void CommitPendingEdits();
    // Shows set s (an index that names no set shows none) and selects its first macro or the key's.
    void SelectSet(int s);
    void ReloadEditors();
    bool IsSet(int s) const;
    int MacroCount() const;

    MacroLibrary& m_library;
    MacroEditorPage& m_basic;
    MacroEditorPage& m_advanced;
    ButtonInfo m_key{};
    int m_set = -1;
    int m_macro = -1;
    std::string m_caption;
    ListBoxExModel m_list;
    MacroPage m_page = MacroPage::Basic;
    bool m_enabled = true;
};
