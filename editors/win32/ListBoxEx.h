// CListBoxEx: the owner-drawn list of the macro manager (macro names) and of the recorder (events
// and pauses). Each row has a text and an item value whose low 16 bits name what the row shows
// before its text (ListRowPicture), which the list draws with one of the program's row bitmaps
// (IDB_ROW_*). The list draws its rows in its owner's colours and opens one in-place edit at a
// time over a row. Its rules are ListBoxExModel's; the system list box holds no
// data, only the number of rows, and this window draws each row from the model and places the
// edit the model asks for.
//
// Reports to the parent window: WM_LIST_RBUTTON when the right button goes down on the list, and
// WM_LIST_EDIT_DONE (wParam the row) when an edit ended with a text that the row now shows.
#pragma once

#include "DpiScale.h"

#include "ListBoxExModel.h"
#include "UniqueHandle.h"
#include "Wnd.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

constexpr UINT WM_LIST_RBUTTON = kWmListRButton;
constexpr UINT WM_LIST_EDIT_DONE = kWmListEditDone;

class CListBoxEx : public BaseWindow<CListBoxEx> {
public:
    // The menu key and Shift+F10 on the list report WM_LIST_RBUTTON with wParam 1: the menu opens
    // at the selected row.
    bool PreTranslateMessage(MSG& message) override;
    // The screen rectangle of the selected row (of the list's top row when none is selected).
    RECT SelectedRowRect() const;
    // The list's name to assistive technology; its rows are its children, named with their text.
    void SetAccessName(const std::string& name) { m_accessName = name; }
    static MessageSpan MessageEntries();

    // Called once an in-place edit has ended, however it ended (an end by Escape or with an empty
    // text posts nothing to the parent), with the text the edit held. An owner that keeps its own
    // copy of the rows follows the list with it. It runs from the list's own messages, never from
    // inside another window's handler.
    using EditEndedHandler = std::function<void(ListEditEnd how, const std::string& text)>;

    CListBoxEx();
    ~CListBoxEx() override;

    // The list box at rect of parent with control id id.
    bool Create(const RECT& rect, HWND parent, UINT id);

    // Background of the rows and of the empty part, the selected row's fill and the text colour.
    void SetColors(COLORREF background, COLORREF selection, COLORREF text);
    void SetEditEndedHandler(EditEndedHandler handler) { m_editEnded = std::move(handler); }

    const ListBoxExModel& Model() const { return m_model; }
    int Count() const { return m_model.Count(); }
    // The selected row as the list box has it (the user's clicks included); -1 when none.
    int Selection() const;
    int AddRow(const std::string& text, uint32_t value);
    void DeleteRow(int row);
    void Clear();
    void Select(int row);
    // Shows exactly the rows and selection of model. An open edit is dropped without a report.
    void ShowRows(const ListBoxExModel& model);

    // In-place editing (ListBoxExModel): false when an edit is open already or, for a row edit,
    // no row is selected.
    bool BeginNewEntry();
    bool BeginEditSelected();
    bool IsEditing() const { return m_model.Edit().has_value(); }
    // Ends an open edit now as how would (the edit-ended handler runs before this returns); nothing
    // when no edit is open. For an owner about to show other rows.
    void EndOpenEdit(ListEditEnd how) { EndEdit(how); }
    // The edit box while an edit is open, else null.
    HWND EditWindow() const { return m_editBox.GetSafeHwnd(); }
    // The row under the pointer, -1 when the pointer is not over a row.
    int HotRow() const { return m_hotRow; }

private:
    // The edit box over a row: tells the list when Enter or Escape is released in it and when it
    // loses the keyboard focus.
    class CInPlaceEdit : public BaseWindow<CInPlaceEdit> {
    public:
        static MessageSpan MessageEntries();
        explicit CInPlaceEdit(CListBoxEx& list) : m_list(list) {}
        bool PreTranslateMessage(MSG& message) override;
        // A new box forgets a key that went down in the one before.
        void Opened() { m_pressed = 0; }

    private:
        void OnKeyUp(UINT key, UINT repeatCount, UINT flags);
        void OnChar(UINT character, UINT repeatCount, UINT flags);
        void OnKillFocus(HWND newFocus);

        CListBoxEx& m_list;
        UINT m_pressed = 0; // Return or Escape, pressed in the edit and not yet released
    };

    void OnMeasureItem(MEASUREITEMSTRUCT& item);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    HBRUSH OnCtlColor(HDC dc, HWND control);
    void OnMouseMove(UINT keys, POINT point);
    void OnMouseLeave();
    void OnMouseWheel(UINT keys, int delta, POINT screenPoint);
    void OnRButtonDown(UINT keys, POINT point);
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
    LRESULT OnSkinAccess(WPARAM, LPARAM access);
    LRESULT OnSkinAccessRows(WPARAM, LPARAM);
    LRESULT OnSkinAccessRow(WPARAM row, LPARAM text);
    void OnDestroy();
    LRESULT OnEndAfterFocusLoss(WPARAM serial, LPARAM);

    // Mirrors the model's rows and selection into the list box.
    void Refill();
    void OpenEditBox();
    void EndEdit(ListEditEnd how);
    // Closes the edit box without reading it; the list keeps the focus when the box had it.
    void CloseEditBox();
    void RedrawRow(int row) const;
    // The row bitmap that shows a picture, loaded once; null for none or when the program has none.
    HBITMAP RowBitmap(ListRowPicture picture);
    SIZE BitmapSize(HBITMAP bitmap) const;

    ListBoxExModel m_model;
    CInPlaceEdit m_editBox;
    EditEndedHandler m_editEnded;
    unsigned m_editSerial = 0; // tells a late focus-loss report from the edit it was for
    bool m_closingEdit = false;
    int m_hotRow = -1;
    bool m_trackingLeave = false;
    COLORREF m_background = RGB(0, 0, 0);
    COLORREF m_selection = RGB(53, 160, 222);
    COLORREF m_text = RGB(255, 255, 255);
    UniqueGdiObject<HBRUSH> m_backgroundBrush;
    UniqueGdiObject<HFONT> m_font;
    // The display scaling of the window the list sits in (skin/DpiScale.h).
    int m_percent = 100;
    int Scaled(int value) const { return ScaleValue(value, m_percent); }
    std::map<ListRowPicture, UniqueGdiObject<HBITMAP>> m_bitmaps;
    std::string m_accessName;
};
