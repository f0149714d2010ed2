// The advanced macro editor page (CMacroAdjustDlg): the shown macro as timing bars in its timing
// list, adding a bar for a key the user presses next, deleting and zooming. Bar edits stay in the
// timing list until the manager commits them into the macro.
#pragma once

#include "CapturedKey.h"
#include "KeyboardLayout.h"
#include "Libraries.h"
#include "TimingListModel.h"

#include <cstdint>
#include <optional>

// What the add button ("10") led to.
enum class AddBarOutcome {
    WarnNoMacroSet,  // show CWarnMacroSet
    WarnNoMacroName, // show CWarnMacroName
    Refused,         // 256 bars exist already: nothing happens
    // A bar waits for its key: refresh, start the key capture on the page, disable the manager's
    // controls and the page until KeyCaptured takes the key.
    CaptureStarted,
    // AddBar(capture) only: no key could be captured, so no bar was added; the page and the
    // manager stay usable, and the manager's status line says so.
    CaptureFailed,
};

struct CommitOutcome {
    bool written = false;     // a macro was shown and took the bars' events
    bool pauseCapped = false; // a gap over 65535 ms was shortened: the status line says so
};

class MacroAdjustModel {
public:
    MacroAdjustModel(MacroLibrary& library, const KeyboardLayout& layout);

    // Shows the macro at set index and macro index (-1: none) as bars; with no such macro the list is
    // empty. Span, scroll positions and selection stay. A bar waiting for its key is forgotten.
    void LoadMacro(int setIndex, int macroIndex);
    // Rebuilds the shown macro's events from the list's bars; nothing without a shown macro.
    CommitOutcome CommitBars();

    bool MacroShown() const { return m_macro != nullptr; }
    int SetIndex() const { return m_setIndex; }
    int MacroIndex() const { return m_macroIndex; }

    AddBarOutcome AddBar();
    // As AddBar, with the key capture started for the new bar first: when it cannot start, nothing
    // changes (CaptureFailed). On CaptureStarted the capture runs.
    AddBarOutcome AddBar(RecorderCapture& capture);
    bool WaitingForKey() const { return m_waitingBar >= 0; }
    // The first key message after AddBar (press or release alike): the waiting bar takes the key's
    // usage, 0 for a key the key table does not know. True when it did: the window refreshes, stops
    // the capture and enables the manager's controls and the page again. Later messages change
    // nothing.
    bool KeyCaptured(uint32_t virtualKey);

    // The delete button ("11"): true when the selected bar went and the view needs a refresh.
    bool DeleteBar() { return m_list.DeleteSelected(); }

    TimingListModel& List() { return m_list; }
    const TimingListModel& List() const { return m_list; }
    TimingView View() const { return m_list.View(m_layout); }

private:
    // Why the add button adds no bar now; nothing when it does.
    std::optional<AddBarOutcome> AddBarRefusal() const;

    MacroLibrary& m_library;
    const KeyboardLayout& m_layout;
    int m_setIndex = -1;
    int m_macroIndex = -1;
    MacroRecord* m_macro = nullptr;
    int m_waitingBar = -1;
    TimingListModel m_list;
};
