// The decisions of the macro recorder (CMacroRecorderDlg), the manager's basic page: the selected macro
// as a list of events and pauses, recording keys into it from the keyboard capture, and the context
// menu's edits (record before or after an event, insert, edit and delete pauses, delete events,
// insert mouse buttons). Every edit is written into the macro at once; keys recorded during a
// recording reach the macro when it stops.
//
// Pauses are measured between the capture's time stamps of the keys, taken when the hook saw each
// key, so how long a key message waited in the queue does not change the recorded pause.
#pragma once

#include "CapturedKey.h"
#include "KeyboardLayout.h"
#include "Libraries.h"
#include "ListBoxExModel.h"
#include "MacroEditorPage.h"
#include "Menu.h"
#include "Records.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The context menu's commands.
constexpr int kCmdRecordBefore = 1001;
constexpr int kCmdRecordAfter = 1002;
constexpr int kCmdInsertDelay = 1003;
constexpr int kCmdEditDelay = 1004;
constexpr int kCmdDeleteEvent = 1005;
// Mouse button b (0 left, 1 right, 2 middle, 3 side 1, 4 side 2) Down, Up or Click:
// 1020 + 3 b + 0, 1 or 2.
constexpr int kCmdFirstMouseButton = 1020;
constexpr int kCmdLastMouseButton = 1034;

// The pictures of the event list's rows.
constexpr ListRowPicture kRowPicturePause = ListRowPicture::Pause;
constexpr ListRowPicture kRowPicturePress = ListRowPicture::KeyPress;
constexpr ListRowPicture kRowPictureRelease = ListRowPicture::KeyRelease;
constexpr ListRowPicture kRowPictureMouse = ListRowPicture::Mouse;

// A pause is at most this long, measured or typed.
constexpr uint16_t kMaxPauseMs = 65535;

// What the page must show instead of acting: no macro is shown.
enum class RecorderWarning {
    None,
    WarnMacroSet,  // CWarnMacroSet: no set is selected
    WarnMacroName, // CWarnMacroName: a set is selected, but no macro
};

// The list's context menu: the five commands, then a separator and one submenu per mouse button,
// named after it, with "Down", "Up" and "Click".
Menu RecorderContextMenu();

// The rows of the event list for events: per event its key name with " Press" or " Release", and
// after it "%d ms" for a pause that is not 0. The high 16 bits of each row's value are its event's
// index + 1; the low 16 bits its picture (mouse buttons, press, release or pause).
std::vector<ListRow> EventRows(const MacroEvent* events, int count, const KeyboardLayout& layout);

class MacroRecorderModel : public MacroEditorPage {
public:
    // lastKey is the program's last key message; enableManagerControls is the manager's
    // EnableControls, switched off while a recording runs.
    MacroRecorderModel(MacroLibrary& library, LastKeyMessage& lastKey, RecorderCapture& capture,
                       const KeyboardLayout& layout, std::function<void(bool)> enableManagerControls);

    // Shows macro `macro` of set `set`; -1, or a place with no macro, shows an empty list.
    void LoadMacro(int set, int macro) override;
    // Writes the shown events into the shown macro.
    void SaveEvents();

    const ListBoxExModel& List() const { return m_list; }
    const MacroEvent* Events() const { return m_events.data(); }
    int Count() const { return m_count; }
    int InsertionPoint() const { return m_insertion; }
    int CurrentEvent() const { return m_current; }
    bool Recording() const { return m_recording; }
    bool RecordPauses() const { return m_recordPauses; }
    // The list's context menu opens only while no recording runs.
    bool ContextMenuAllowed() const { return !m_recording; }

    // The record-delay switch was clicked and is now on or off. It starts off.
    void SetRecordPauses(bool on) { m_recordPauses = on; }
    // The user selected a row of the event list (-1: none).
    void SelectRow(int row) { m_list.Select(row); }

    // The record button: stops a running recording, or records the whole macro anew.
    RecorderWarning RecordClicked();
    // A key from the capture. Only while recording, and a key message equal to the last one (a held
    // key's repeat) is not recorded.
    void KeyCaptured(const CapturedKey& key);
    // A command of the context menu, on the list's selected row. "Edit Delay" opens an edit of the
    // row's pause in the list (see the list's Edit); its end comes back through EndPauseEdit.
    RecorderWarning Command(int id);
    // The pause edit ended. A number below 1 becomes 1 and one above 65535 becomes 65535, and the
    // row then shows that number; an emptied or escaped edit leaves the pause as it was.
    void EndPauseEdit(ListEditEnd how, std::string_view text);

private:
    MacroRecord* Macro() const;
    RecorderWarning MissingMacroWarning() const;
    // Inserts at the insertion point (the end when -1); false when the macro is full.
    bool InsertEvent(const MacroEvent& event);
    void StartRecording();
    void StopRecording();
    void RebuildList();
    // The event a row shows (an event row or its pause row), -1 for no row.
    int EventOfRow(int row) const;
    bool IsPauseRow(int row) const;

    MacroLibrary& m_library;
    LastKeyMessage& m_lastKey;
    RecorderCapture& m_capture;
    const KeyboardLayout& m_layout;
    std::function<void(bool)> m_enableManagerControls;

    int m_set = -1;
    int m_macro = -1;
    std::array<MacroEvent, kMaxMacroEvents> m_events{};
    int m_count = 0;
    int m_insertion = -1;
    int m_current = -1;
    bool m_recording = false;
    bool m_firstKeySeen = false;
    bool m_recordPauses = false;
    int m_pauseEditEvent = -1;
    int64_t m_lastKeyUs = 0;
    ListBoxExModel m_list;
};
