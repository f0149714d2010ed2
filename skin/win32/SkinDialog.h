// The frame every skinned window shares: pictures from its skin file, the outline cut by the mask,
// double-buffered painting of the background, dragging by the picture, and Escape and Return
// kept from closing it. A window names its skin file and, in LoadSkin, creates its controls with
// a SkinLoader.
#pragma once

#include "BitmapBtn.h"
#include "Dialog.h"
#include "SkinFile.h"
#include "SkinPicture.h"
#include "SkinScale.h"

#include <string>

// The program folder the skins are read from (with its trailing separator). The folder of the
// running program unless set (tests and tools point it elsewhere).
void SetSkinProgramFolder(const std::string& folder);
std::string SkinProgramFolder();

class CSkinDialog;

// The loading of one window's skin: constructing it reads the skin file, loads the pictures
// (the window keeps mask and background; the four state pictures are temporary) and sizes the
// window to the "Main" picture at (0, 0) of its parent; the temporaries go with the loader.
// At a display scaling other than 100 % (the window's DPI, skin/DpiScale.h) it loads the pictures
// drawn for it (or stretches a smaller set) and every position it gives is scaled: Pos, Frame.
class SkinLoader {
public:
    SkinLoader(CSkinDialog& window, const char* skinFileName);
    SkinLoader(const SkinLoader&) = delete;
    SkinLoader& operator=(const SkinLoader&) = delete;

    const SkinFile& File() const { return m_file; }
    // The key's entry with its rectangle at the window's scaling.
    ButtonPosition Pos(int key) const { return ScaleButtonPos(m_file.ButtonPos(key), m_scale.layout); }
    static RECT RectOf(const ButtonPosition& pos) { return RECT{pos.left, pos.top, pos.right, pos.bottom}; }
    // "FRAM" "POSITION": where the window places its pages (scaled).
    RECT Frame() const { return RectOf(ScaleButtonPos(m_file.Frame(), m_scale.layout)); }
    const SkinScaleChoice& Scale() const { return m_scale; }

    // Creates button at the key's rectangle with its four state pictures; checked from the
    // entry's flag when applyFlag; the hint is the entry's unless hint is given.
    bool Button(CBitmapBtn& button, int key, bool applyFlag = true, const char* hint = nullptr) const;
    // The whole-window pictures (for windows that cut other controls from them).
    HBITMAP Main() const { return m_main.Get(); }
    HBITMAP Over() const { return m_over.Get(); }
    HBITMAP Down() const { return m_down.Get(); }
    HBITMAP Disabled() const { return m_disabled.Get(); }
    SIZE Size() const { return m_size; }

private:
    CSkinDialog& m_window;
    SkinFile m_file;
    SkinScaleChoice m_scale;
    UniqueBitmap m_main;
    UniqueBitmap m_over;
    UniqueBitmap m_down;
    UniqueBitmap m_disabled;
    SIZE m_size{};
};

class CSkinDialog : public BaseWindow<CSkinDialog, CDialog> {
public:
    static MessageSpan MessageEntries();

    // While set (a recording started from the keyboard), the keys that work the windows (Tab,
    // Return, Escape, Space, the arrows, the menu key) are only recorded: no skinned window of the
    // thread acts on them.
    static void SetKeysRecorded(bool recorded);
    static bool KeysRecorded();
    // The key (down now) is ignored by the skinned windows of the thread until it is released.
    static void IgnoreUntilReleased(UINT virtualKey);

    // skinFileName: the window's skin file, for example "skins\\skin_main.ini".
    CSkinDialog(UINT templateId, std::string skinFileName);

    const char* SkinFileName() const { return m_skinFileName.c_str(); }
    HBITMAP Background() const { return m_background.Get(); }
    HBITMAP Mask() const { return m_mask.Get(); }
    // Whether the outline was cut from the mask.
    bool HasRegion() const { return m_hasRegion; }
    // The display scaling the skin was loaded for: the layout percent and the picture set's.
    const SkinScaleChoice& SkinScale() const { return m_scale; }
    int SkinPercent() const { return m_scale.layout; }
    // A 100 % position or length of this window at its scaling.
    int Scaled(int value) const { return ScaleValue(value, m_scale.layout); }
    RECT Scaled(const RECT& rect) const { return ScaleRectBy(rect, m_scale.layout); }

    // Escape and Return (WM_KEYDOWN) never reach the dialog manager: skinned dialogs close only
    // through their buttons, and Escape clicks the window's cancel button (EscapeButton). Tab and
    // Shift+Tab move the focus through every tab stop of the top-level window, its pages' too, in
    // reading order (ReadingOrder), showing the focus mark on the button they reach. Alt and a
    // letter (WM_SYSCHAR) press the button of the window or its pages whose short caption marks
    // that letter (AccessKeyButton).
    bool PreTranslateMessage(MSG& message) override;
    // The enabled and visible button of this window or its pages whose short caption marks typed
    // as its access key (ControlForAccessKey: of two, the first in reading order); null when none.
    CBitmapBtn* AccessKeyButton(char typed);
    // Moves the focus to button with the focus mark shown, then presses it as a click does.
    void PressByKeyboard(CBitmapBtn& button);

    // Moves the focus to the next (or previous) tab stop of this top-level window; false when
    // there is none. From no focus inside the window: the first (last) in reading order.
    // fromStart: the first control in reading order; editFirst: the first edit field, when there is
    // one, before it.
    bool MoveFocusByTab(bool forward, bool byKeyboard = true, bool fromStart = false, bool editFirst = false);
    // Whether the user has moved by keyboard in this window (Tab, arrows, Space or Return on a
    // button).
    bool KeyboardUsed() const { return m_keyboardUsed; }

protected:
    // Loads the skin and creates the controls (with a SkinLoader); returns 1.
    virtual BOOL LoadSkin() = 0;

    // Draws the window's own texts into the back buffer (transparent background set).
    virtual void DrawTexts(HDC) {}
    // Set false by a dialog that handles Escape and Return itself.
    bool m_swallowEscapeAndReturn = true;
    // The button Escape clicks (a top-level window's Cancel or close button); none by default.
    virtual CBitmapBtn* EscapeButton() { return nullptr; }
    // Whether Space or Return (virtualKey) on button acts on the button (true by default); a
    // window that captures keys lets them through as keys until the user moves by keyboard.
    virtual bool KeyActivatesButton(UINT virtualKey, HWND button);

    // Required entries (MessageTable.h): the skin is loaded on WM_CREATE and freed on WM_DESTROY
    // whatever entries a derived window has for these messages.
    int OnCreate(CREATESTRUCTA& create);
    void OnDestroy();
    void OnPaint(const PaintDc& paint);
    bool OnEraseBkgnd(HDC dc);
    void OnLButtonDown(UINT keys, POINT point);
    // WM_DPICHANGED of a top-level window: loads the skin again for the new scaling (see .cpp).
    LRESULT OnDpiChanged(WPARAM dpi, LPARAM suggested);
    LRESULT OnGetDpiScaledSize(WPARAM dpi, LPARAM size);
    // Whether PrepareReload would drop the controls (it is not called to ask).
    virtual bool CanReload() const { return false; }
    // Frees what LoadSkin made before it runs again for another scaling; a window that supports
    // a change of scaling while open destroys and forgets its controls here (none by default:
    // then the window keeps its scaling until it is opened again).
    virtual bool PrepareReload() { return false; }
    // After the reload for another scaling: the window shows its state again in the new controls.
    virtual void AfterReload() {}

private:
    // Gives target the focus through the dialog manager.
    void FocusControl(HWND target);
    LRESULT OnKeyActivates(WPARAM virtualKey, LPARAM button);
    // WM_INITDIALOG: the window's OnInitDialog; when that asks for the default focus (TRUE), a
    // top-level window starts with the focus on its first edit field, or without one on its first
    // control, in reading order (FALSE is answered: the focus is set).
    LRESULT OnInitDialogSkin(WPARAM, LPARAM);

    friend class SkinLoader;

    std::string m_skinFileName;
    UniqueBitmap m_mask;
    UniqueBitmap m_background;
    bool m_hasRegion = false;
    SkinScaleChoice m_scale;
    int m_reloadPercent = 0; // the new layout percent while OnDpiChanged reloads the skin
    void ApplyRegion();
    bool m_keyboardUsed = false;
};
