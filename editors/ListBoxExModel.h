// The rules of CListBoxEx, the owner-drawn list of the macro manager (macro names) and of the
// recorder (events and pauses): its rows with their item values, its selection and caret, and the
// one in-place edit it may have open. The window mirrors the rows into its list box, places the
// edit box the model asks for and passes the edit's end in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Posted to the list's parent: the right button went down on the list (wParam 0, lParam 0).
constexpr uint32_t kWmListRButton = 0x0400 + 700;
// Posted to the list's parent: an in-place edit ended with text (wParam the row, lParam 0).
constexpr uint32_t kWmListEditDone = 0x0400 + 500;

// A new entry takes a name of at most this many characters, a row edit a number of at most 20.
constexpr size_t kListNewEntryLimit = 24;
constexpr size_t kListRowEditLimit = 20;
// The most of an edit's text that is read when the edit ends.
constexpr size_t kListEditReadLimit = 4096;

// What a row shows before its text; the window draws each with its own picture.
enum class ListRowPicture : uint16_t {
    None = 0,   // no picture: the text starts at the row's left
    Pause,      // a pause between two events
    KeyPress,   // a key going down
    KeyRelease, // a key going up
    Mouse,      // a mouse button event
};

// The low 16 bits of a row's item value name its picture; the high 16 bits are the owner's.
constexpr uint32_t RowValue(uint16_t ownerPart, ListRowPicture picture)
{
    return (static_cast<uint32_t>(ownerPart) << 16) | static_cast<uint16_t>(picture);
}
constexpr ListRowPicture RowPicture(uint32_t value)
{
    return static_cast<ListRowPicture>(value & 0xFFFFu);
}
constexpr uint16_t RowOwnerPart(uint32_t value)
{
    return static_cast<uint16_t>(value >> 16);
}

struct ListRow {
    std::string text;
    uint32_t value = 0;

    bool operator==(const ListRow& other) const { return text == other.text && value == other.value; }
};

enum class ListEditKind {
    NewEntry, // a row appended for a new name; cancelling it removes the row
    RowText,  // the selected row's text, digits only; cancelling it keeps the row as it was
};

// The edit box the window opens over a row, with its whole text selected and the keyboard focus.
struct ListEdit {
    ListEditKind kind = ListEditKind::NewEntry;
    int row = -1;
    size_t limit = kListNewEntryLimit;
    bool digitsOnly = false;
    // The box starts after the row's picture (its width + 5 pixels) instead of 1 pixel in.
    bool afterPicture = false;
    std::string text; // what the box shows first
};

// How an in-place edit ended.
enum class ListEditEnd {
    Enter,     // Enter was released in the edit
    FocusLost, // the edit lost the keyboard focus
    Escape,    // Escape was released in the edit
};

class ListBoxExModel {
public:
    const std::vector<ListRow>& Rows() const { return m_rows; }
    int Count() const { return static_cast<int>(m_rows.size()); }
    const ListRow* RowAt(int row) const;

    // Empties the list; the selection and the caret go and an open edit is dropped with its row.
    void Clear();
    // Appends a row and returns its index.
    int AddRow(std::string_view text, uint32_t value);
    // Removes a row; later rows move up, and the selection follows its row (none when it was this one).
    void DeleteRow(int row);
    void SetRowText(int row, std::string_view text);

    // -1: no row selected. Selecting a row that does not exist selects none.
    int Selection() const { return m_selection; }
    void Select(int row);
    // The row kept in view (LB_SETCARETINDEX); -1 in an empty list.
    int Caret() const { return m_caret; }
    void SetCaret(int row);

    // The open in-place edit, if any.
    const std::optional<ListEdit>& Edit() const { return m_edit; }
    // Appends an empty row with value 0 and opens a name edit over it. False, and nothing changes,
    // while an edit is open: there is one edit at a time.
    bool BeginNewEntry();
    // Opens a digits-only edit over the selected row with the row's text. False while an edit is
    // open or when no row is selected.
    bool BeginEditSelected();
    // The edit ended with text (the edit's content; only its first 4096 characters are read). A
    // non-empty text that was not cancelled by Escape replaces the row's text and keeps its value;
    // with Enter the row also becomes the selection. The result is the row to report to the parent
    // (WM_LIST_EDIT_DONE); nothing when the edit was cancelled: an empty or escaped new entry is
    // removed and an edited row keeps its old text.
    std::optional<int> EndEdit(ListEditEnd how, std::string_view text);

private:
    std::vector<ListRow> m_rows;
    int m_selection = -1;
    int m_caret = -1;
    std::optional<ListEdit> m_edit;
};
