// A push or toggle button drawn from four state pictures cut out of its window's skin pictures.
// Every skinned button has control id 0: its parent tells the buttons apart by window handle.
// It is a tab stop: Space or Return clicks it (a toggle flips), the menu key or Shift+F10 clicks a
// button that opens a menu, the arrow keys move among the radio buttons of its group (and choose
// the one they reach). Once the user moves by keyboard, the focused button shows a mark in the
// caption's colour. Its window text is its accessible name, and it answers WM_GETOBJECT with its
// name, description, keyboard shortcut, role and state (SkinAccessible).
#pragma once

#include "ControlAccess.h"
#include "ControlRules.h"
#include "SkinPicture.h"
#include "Wnd.h"

#include <string>

// The keyboard focus mark of a skinned control: a dotted rectangle 2 px inside frame (at 100 %;
// inset and thickness grow with the display scaling percent) in the captions' colour. Nothing when
// the frame is too small to hold it.
void DrawFocusMark(HDC dc, const RECT& frame, int percent);

class CBitmapBtn : public BaseWindow<CBitmapBtn> {
public:
    static MessageSpan MessageEntries();

    // A child button at rect of parent with an empty caption, control id 0, drawn by itself.
    bool Create(const RECT& rect, HWND parent);

    // Cuts the four state pictures out of the whole-window pictures at (x, y)-(right, bottom).
    void SetStateBitmaps(int x, int y, int right, int bottom, HBITMAP normal, HBITMAP over, HBITMAP down,
                         HBITMAP disabled);
    void SetHint(const std::string& hint);
    void SetCaption(const std::string& caption);
    // Repaints only when the state changes.
    void SetChecked(int checked);
    void SetToggleMode(int toggle) { m_toggleMode = toggle != 0; }
    void SetTrademarkMark(int mark) { m_trademark = mark != 0; }
    // Highlights without the pointer (a key being edited) and reports it like a hover.
    void SetHighlight(int highlight);
    void SetTag(int32_t tag) { m_tag = tag; }
    // One of a group of radio buttons (group > 0) of the same parent: the arrow keys move in it.
    void SetRadioGroup(int group);
    // Said before the caption by assistive technology ("G2"), and the name that replaces caption
    // and hint (a slot's profile name); empty: none.
    void SetAccessPrefix(const std::string& prefix);
    void SetAccessName(const std::string& name);
    // The short caption a picture button is known by, with its access key marked by '&' ("&Apply"):
    // its accessible name (the hint becomes its description), and Alt and that key press it in its
    // top-level window. Empty: none (the hint names it, and it has no access key).
    void SetShortCaption(const std::string& caption);
    const std::string& ShortCaption() const { return m_shortCaption; }
    // The menu key and Shift+F10 click the button (it opens a menu).
    void SetOpensMenu(bool opensMenu) { m_opensMenu = opensMenu; }
    // Shows the focus mark while the button has the focus (the focus came by keyboard).
    void ShowKeyboardFocus();
    bool KeyboardFocusShown() const { return m_focusCue; }
    // What a click does, from the keyboard: a toggle flips, the parent gets the command.
    void Click();
    int RadioGroup() const { return m_radioGroup; }
    // The name, role and state assistive technology gets.
    ControlAccess Access() const;
    // Space, Return, the menu key, Shift+F10 and the arrow keys, when the button has the focus.
    bool PreTranslateMessage(MSG& message) override;

    int GetChecked() const { return m_checked ? 1 : 0; }
    const std::string& Caption() const { return m_caption; }
    bool IsHighlighted() const { return m_highlighted; }
    const std::string& Hint() const { return m_hint; }
    int32_t Tag() const { return m_tag; }
    // The picture the button draws in its present state.
    ButtonPicture CurrentPicture(bool pressed) const;
    // The bitmap of one state (for tests).
    HBITMAP StateBitmap(ButtonPicture picture) const;

private:
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnMouseMove(UINT keys, POINT point);
    void OnCaptureChanged(HWND newCapture);
    void OnKillFocus(HWND newFocus);
    // WM_LBUTTONDOWN and WM_LBUTTONDBLCLK alike.
    void OnLButtonDown(UINT keys, POINT point);
    void OnLButtonUp(UINT keys, POINT point);
    bool OnEraseBkgnd(HDC dc);
    void OnDestroy();
    void OnSetFocus(HWND oldFocus);
    LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
    LRESULT OnSkinAccess(WPARAM, LPARAM access);
    // The window text follows the accessible name.
    void UpdateAccessName();
    void MoveInRadioGroup(ArrowKey key);
    void ReportHover(int state);
    void Apply(const ButtonMouseActions& actions);

    UniqueBitmap m_normal;
    UniqueBitmap m_over;
    UniqueBitmap m_down;
    UniqueBitmap m_disabled;
    // The caption's fonts, made with the window and freed with it.
    UniqueGdiObject<HFONT> m_captionFont;
    UniqueGdiObject<HFONT> m_trademarkFont;
    std::string m_caption;
    std::string m_hint;
    bool m_checked = false;
    bool m_toggleMode = false;
    bool m_highlighted = false;
    bool m_trademark = false;
    bool m_pressing = false; // the system's handling of a left press on the button is running
    int32_t m_tag = 0;
    int m_percent = 100; // display scaling of its window (fonts, margins)
    int m_radioGroup = 0;
    bool m_opensMenu = false;
    bool m_focusCue = false;
    std::string m_accessPrefix;
    std::string m_accessName;
    std::string m_shortCaption;
};
