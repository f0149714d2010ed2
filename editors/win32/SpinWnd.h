// The spin field: a numeric edit field with an up and a down button at its right end, keeping a
// number within a range. Every new number goes to the parent as WM_SPIN_VALUE; what a key, a
// click or a typed text does to the number is SpinModel's to say.
#pragma once

#include "BitmapBtn.h"
#include "BmpEdit.h"
#include "SpinModel.h"
#include "Wnd.h"

#include <string>

// To the spin field's parent: wParam the new value, lParam the field's control id.
constexpr UINT WM_SPIN_VALUE = WM_USER + 90;

class CSpinWnd : public BaseWindow<CSpinWnd> {
public:
    static MessageSpan MessageEntries();

    // The buttons' column at the right end of the field, in pixels.
    static constexpr int kButtonWidth = 18;

    // A child of parent at rect (parent's client coordinates) with control id id, which every report
    // carries.
    bool Create(const RECT& rect, HWND parent, UINT id);
    // Cuts the two buttons' pictures out of the parent's whole-window skin pictures, at the place
    // the field was created.
    void SetButtonPictures(HBITMAP normal, HBITMAP over, HBITMAP down, HBITMAP disabled);
    void SetHint(const std::string& hint);
    // Colours of the number and of the field behind it (black on white until set).
    void SetColors(COLORREF text, COLORREF back);

    // Only the bounds change, not the number shown.
    void SetRange(int32_t minimum, int32_t maximum) { m_value.SetRange(minimum, maximum); }
    // The field shows value as "%d". The owner knows the value already; the text change reports it
    // once more, as any change of the text does.
    void SetValue(int32_t value);
    int32_t Value() const { return m_value.Value(); }
    UINT Id() const { return m_id; }

    CBmpEdit& Edit() { return m_edit; }
    CBitmapBtn& UpButton() { return m_up; }
    CBitmapBtn& DownButton() { return m_down; }

private:
    int OnCreate(CREATESTRUCTA& create);
    bool OnEraseBkgnd(HDC dc);
    LRESULT OnEditNotify(WPARAM code, LPARAM);
    void OnUp();
    void OnDown();
    // Brings the rules up to the text the field shows now, when a change has not reached them yet.
    void CatchUpWithField();
    void Apply(const SpinChange& change);
    std::string FieldText() const;

    SpinModel m_value;
    CBmpEdit m_edit;
    CBitmapBtn m_up;
    CBitmapBtn m_down;
    UniqueGdiObject<HBRUSH> m_backBrush; // the field around the edit control
    RECT m_rect{};
    UINT m_id = 0;
    int m_percent = 100; // display scaling of the window it sits in
    // The left edge of the up and down buttons, in the parent's pixels.
    int ButtonsLeft() const;
};
