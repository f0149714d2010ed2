// The recorder's event list until the program has a shared CListBoxEx: an owner-drawn list box that
// mirrors the rows of a ListBoxExModel (text and row picture, white on black, the selected row in
// the program's blue), reports a right button press to its parent and holds the one in-place edit
// the model may open. It decides nothing: the page applies the model to it after every change.
#pragma once

#include "ListBoxExModel.h"
#include "SkinPicture.h"
#include "Wnd.h"

#include <array>
#include <optional>
#include <string>

// Posted to the list's parent when the in-place edit ended: wParam the ListEditEnd.
constexpr UINT kWmEventEditEnded = WM_APP + 40;

class CEventListBox : public BaseWindow<CEventListBox> {
public:
    static MessageSpan MessageEntries();

    static constexpr int kRowHeight = 20;
    static constexpr COLORREF kBackground = RGB(0, 0, 0);
    static constexpr COLORREF kText = RGB(255, 255, 255);
    static constexpr COLORREF kSelected = RGB(53, 160, 222);

    // A child list box at rect of parent with control id 4096.
    bool Create(const RECT& rect, HWND parent);

    // Shows the model's rows, selection and caret, and opens its edit when it has one and none is
    // open.
    void Show(const ListBoxExModel& model);
    // The list box's own selection, -1 for none.
    int Selection() const;
    // The edit box over a row, or null.
    HWND EditBox() const { return m_edit.GetSafeHwnd(); }
    // Closes the edit box and answers what it held.
    std::string CloseEdit();

private:
    class CRowEdit : public BaseWindow<CRowEdit> {
    public:
        static MessageSpan MessageEntries();
        // The first end wins: closing the box takes its focus away too.
        bool ended = false;
        UINT pressed = 0; // Return or Escape, pressed in the edit and not yet released
        bool PreTranslateMessage(MSG& message) override;

    private:
        void OnKeyUp(UINT key, UINT repeatCount, UINT flags);
        void OnKillFocus(HWND newFocus);
        void End(ListEditEnd how);
    };

    void OnMeasureItem(MEASUREITEMSTRUCT& item);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    HBRUSH OnCtlColor(HDC dc, HWND control);
    void OnRButtonDown(UINT keys, POINT point);
    static constexpr UINT kWmOpenEdit = WM_APP + 41;
    LRESULT OnOpenEdit(WPARAM, LPARAM);
    void OpenEdit(const ListEdit& edit);
    HBITMAP Picture(uint16_t id);

    std::array<UniqueBitmap, 4> m_pictures; // IDB_ROW_PAUSE.., loaded once
    UniqueGdiObject<HFONT> m_font;
    CRowEdit m_edit;
    std::optional<ListEdit> m_pendingEdit;
};
