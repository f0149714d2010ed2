#include "SkinDialog.h"

#include "FileSystem.h"
#include "Gdi.h"
#include "Log.h"
#include "SkinMessages.h"
#include "Text.h"

#include <algorithm>
#include <thread>
#include <utility>
#include <vector>

#include <objbase.h>

namespace {

std::string g_programFolder;

} // namespace

void SetSkinProgramFolder(const std::string& folder)
{
    g_programFolder = folder;
}

std::string SkinProgramFolder()
{
    return g_programFolder.empty() ? GetProgramFolder() : g_programFolder;
}

SkinLoader::SkinLoader(CSkinDialog& window, const char* skinFileName) : m_window(window)
{
    const std::string folder = SkinProgramFolder();
    const std::string path = SkinFile::SkinPath(folder, skinFileName);
    m_file = SkinFile::Load(path);
    const SkinPictures pictures = m_file.Pictures();
    // The set of the window's scaling when the skin folder has it (one look at a file; only the
    // chosen set is decoded), mask and pictures alike.
    // A reload for a new scaling (WM_DPICHANGED) takes the percent of the DPI the message gives.
    const int percent =
        m_window.m_reloadPercent != 0 ? m_window.m_reloadPercent : SkinPercentOf(m_window.GetSafeHwnd());
    m_scale = ChooseSkinScale(folder, pictures.main, percent);
    m_window.m_scale = m_scale;
    SetSkinPercentOf(m_window.GetSafeHwnd(), m_scale.layout);
    auto load = [this, &folder, skinFileName](const std::string& name, UniqueBitmap& target, bool mask = false) {
        if (!LoadSkinPicture(folder, name, m_scale, target, mask))
            LogDebug("Skin %s: picture \"%s\" not loaded", skinFileName, name.c_str());
    };
    // Decoding is most of the time a window takes to open: the three other state pictures are
    // decoded on a second thread meanwhile (bitmaps belong to the process, not to a thread).
    std::thread others([&] {
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        load(pictures.down, m_down);
        load(pictures.over, m_over);
        load(pictures.disabled, m_disabled);
        if (SUCCEEDED(com))
            ::CoUninitialize();
    });
    load(pictures.mask, m_window.m_mask, true);
    load(pictures.main, m_main);
    others.join();
    // The background is the "Main" picture once more: a copy of the one just decoded.
    if (m_main)
        m_window.m_background.Reset(static_cast<HBITMAP>(::CopyImage(m_main.Get(), IMAGE_BITMAP, 0, 0, 0)));
    else
        m_window.m_background.Reset();
    m_size = BitmapSize(m_window.m_background.Get());
    m_window.MoveWindow(RECT{0, 0, m_size.cx, m_size.cy}, true);
}

bool SkinLoader::Button(CBitmapBtn& button, int key, bool applyFlag, const char* hint) const
{
    const ButtonPosition pos = Pos(key);
    if (!button.Create(RectOf(pos), m_window.GetSafeHwnd()))
        return false;
    button.SetStateBitmaps(pos.left, pos.top, pos.right, pos.bottom, m_main.Get(), m_over.Get(), m_down.Get(),
                           m_disabled.Get());
    if (applyFlag)
        button.SetChecked(pos.flag);
    button.SetHint(hint != nullptr ? std::string(hint) : std::string(FieldText(pos.hint, sizeof pos.hint)));
    return true;
}

MessageSpan CSkinDialog::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        Required(OnWmCreate<&CSkinDialog::OnCreate>()),
        Required(OnWmDestroy<&CSkinDialog::OnDestroy>()),
        OnWmPaint<&CSkinDialog::OnPaint>(),
        OnWmEraseBkgnd<&CSkinDialog::OnEraseBkgnd>(),
        OnMouse<WM_LBUTTONDOWN, &CSkinDialog::OnLButtonDown>(),
        OnMessage<kWmDpiChanged, &CSkinDialog::OnDpiChanged>(),
        OnMessage<kWmGetDpiScaledSize, &CSkinDialog::OnGetDpiScaledSize>(),
        OnMessage<WM_SKIN_KEY_ACTIVATES, &CSkinDialog::OnKeyActivates>(),
        OnMessage<WM_INITDIALOG, &CSkinDialog::OnInitDialogSkin>(),
    };
    return kEntries;
}

CSkinDialog::CSkinDialog(UINT templateId, std::string skinFileName)
    : BaseWindow(templateId), m_skinFileName(std::move(skinFileName))
{
}

namespace {

struct TabStops {
    HWND root;
    std::vector<HWND> windows;
};

// A tab stop the user can reach: visible, enabled with every parent up to the top-level window,
// and not inside another tab stop (the parts of a control).
BOOL CALLBACK CollectTabStop(HWND window, LPARAM context)
{
    auto& stops = *reinterpret_cast<TabStops*>(context);
    if ((::GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP) == 0 || !::IsWindowVisible(window))
        return TRUE;
    for (HWND up = window; up != nullptr && up != stops.root; up = ::GetParent(up)) {
        if (!::IsWindowEnabled(up))
            return TRUE;
        if (up != window && (::GetWindowLongA(up, GWL_STYLE) & WS_TABSTOP) != 0 &&
            (::GetWindowLongA(up, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) == 0)
            return TRUE;
    }
    stops.windows.push_back(window);
    return TRUE;
}

std::vector<ControlBox> BoxesOf(const std::vector<HWND>& windows)
{
    std::vector<ControlBox> boxes;
    for (HWND window : windows) {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        boxes.push_back(ControlBox{rect.left, rect.top, rect.right, rect.bottom});
    }
    return boxes;
}

} // namespace

LRESULT CSkinDialog::OnInitDialogSkin(WPARAM, LPARAM)
{
    const BOOL result = OnInitDialog();
    if (!result || (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) != 0)
        return result;
    return MoveFocusByTab(true, false, true, true) ? FALSE : result;
}

bool CSkinDialog::MoveFocusByTab(bool forward, bool byKeyboard, bool fromStart, bool editFirst)
{
    TabStops stops{m_hWnd, {}};
    ::EnumChildWindows(m_hWnd, &CollectTabStop, reinterpret_cast<LPARAM>(&stops));
    const std::vector<ControlBox> boxes = BoxesOf(stops.windows);
    std::optional<std::size_t> current;
    for (HWND focus = fromStart ? nullptr : ::GetFocus(); focus != nullptr && focus != m_hWnd && !current;
         focus = ::GetParent(focus)) {
        const auto at = std::find(stops.windows.begin(), stops.windows.end(), focus);
        if (at != stops.windows.end())
            current = static_cast<std::size_t>(at - stops.windows.begin());
    }
    std::vector<std::size_t> order = ReadingOrder(boxes);
    if (editFirst) {
        std::stable_partition(order.begin(), order.end(), [&](std::size_t i) {
            return (::SendMessageA(stops.windows[i], WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0;
        });
    }
    const std::optional<std::size_t> next = NextTabStop(order, current, forward);
    if (!next)
        return false;
    HWND target = stops.windows[*next];
    if (byKeyboard)
        m_keyboardUsed = true;
    FocusControl(target);
    auto* button = dynamic_cast<CBitmapBtn*>(CWnd::FromHandle(target));
    if (button != nullptr && byKeyboard)
        button->ShowKeyboardFocus();
    else if (button == nullptr && (::SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
        ::SendMessageA(target, EM_SETSEL, 0, -1);
    return true;
}

void CSkinDialog::FocusControl(HWND target)
{
    // Through the dialog manager, which keeps it as the focus to give back when the window is
    // activated again.
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
    if (::GetFocus() != target)
        ::SetFocus(target);
}

CBitmapBtn* CSkinDialog::AccessKeyButton(char typed)
{
    TabStops stops{m_hWnd, {}};
    ::EnumChildWindows(m_hWnd, &CollectTabStop, reinterpret_cast<LPARAM>(&stops));
    std::vector<CBitmapBtn*> buttons;
    std::vector<HWND> windows;
    for (HWND window : stops.windows) {
        auto* button = dynamic_cast<CBitmapBtn*>(CWnd::FromHandle(window));
        if (button != nullptr && !button->ShortCaption().empty()) {
            buttons.push_back(button);
            windows.push_back(window);
        }
    }
    // The captions and the key in upper case in the ANSI code page, so that letters beyond ASCII
    // match in either case too.
    const std::vector<std::size_t> order = ReadingOrder(BoxesOf(windows));
    std::vector<std::string> captions;
    for (std::size_t i : order) {
        captions.push_back(buttons[i]->ShortCaption());
        ::CharUpperBuffA(&captions.back()[0], static_cast<DWORD>(captions.back().size()));
    }
    ::CharUpperBuffA(&typed, 1);
    const std::optional<std::size_t> chosen = ControlForAccessKey(captions, typed);
    return chosen ? buttons[order[*chosen]] : nullptr;
}

void CSkinDialog::PressByKeyboard(CBitmapBtn& button)
{
    m_keyboardUsed = true;
    FocusControl(button.GetSafeHwnd());
    button.ShowKeyboardFocus();
    // Last: the click may close the window.
    button.Click();
}

bool CSkinDialog::KeyActivatesButton(UINT, HWND)
{
    return true;
}

LRESULT CSkinDialog::OnKeyActivates(WPARAM virtualKey, LPARAM button)
{
    if (!KeyActivatesButton(static_cast<UINT>(virtualKey), reinterpret_cast<HWND>(button)))
        return 2;
    m_keyboardUsed = true;
    return 1;
}

namespace {

thread_local bool t_keysRecorded = false;
thread_local UINT t_ignoredKey = 0;

bool IsWorkingKey(WPARAM key)
{
    switch (key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_SPACE:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_APPS:
    case VK_F10: return true;
    default: return false;
    }
}

} // namespace

void CSkinDialog::SetKeysRecorded(bool recorded)
{
    t_keysRecorded = recorded;
}

bool CSkinDialog::KeysRecorded()
{
    return t_keysRecorded || t_ignoredKey != 0;
}

void CSkinDialog::IgnoreUntilReleased(UINT virtualKey)
{
    t_ignoredKey = virtualKey;
}

bool CSkinDialog::PreTranslateMessage(MSG& message)
{
    const bool keyMessage = message.message == WM_KEYDOWN || message.message == WM_KEYUP ||
                            message.message == WM_SYSKEYDOWN || message.message == WM_SYSKEYUP;
    if (keyMessage && t_ignoredKey != 0 && message.wParam == t_ignoredKey) {
        if (message.message == WM_KEYUP || message.message == WM_SYSKEYUP)
            t_ignoredKey = 0;
        return true;
    }
    if (t_keysRecorded && keyMessage && IsWorkingKey(message.wParam))
        return true;
    const bool child = (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) != 0;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && !child &&
        (::GetKeyState(VK_CONTROL) & 0x8000) == 0 && (::GetKeyState(VK_MENU) & 0x8000) == 0) {
        MoveFocusByTab((::GetKeyState(VK_SHIFT) & 0x8000) == 0);
        return true;
    }
    // Alt and a letter presses the button whose short caption marks it, once however long the key
    // is held; a letter no button marks goes on to the system, which beeps.
    if (message.message == WM_SYSCHAR && !child && !KeysRecorded()) {
        if (CBitmapBtn* button = AccessKeyButton(static_cast<char>(message.wParam))) {
            if ((message.lParam & (1L << 30)) == 0)
                PressByKeyboard(*button);
            return true;
        }
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        // A page leaves Escape to its top-level window.
        if (child && m_swallowEscapeAndReturn &&
            dynamic_cast<CSkinDialog*>(CWnd::FromHandle(::GetAncestor(m_hWnd, GA_ROOT))))
            return false;
        CBitmapBtn* cancel = child ? nullptr : EscapeButton();
        if (cancel != nullptr && cancel->GetSafeHwnd() != nullptr &&
            KeyActivatesButton(VK_ESCAPE, cancel->GetSafeHwnd())) {
            if ((message.lParam & (1L << 30)) == 0)
                cancel->Click();
            return true;
        }
    }
    return m_swallowEscapeAndReturn && message.message == WM_KEYDOWN &&
           (message.wParam == VK_ESCAPE || message.wParam == VK_RETURN);
}

int CSkinDialog::OnCreate(CREATESTRUCTA& create)
{
    if (CWnd::OnCreate(create) == -1)
        return -1;
    // The dialog manager of per-monitor v2 would move and resize the controls and change their
    // fonts itself on a change of scaling: OnDpiChanged lays the window out from its skin instead.
    using SetBehaviourFn = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehaviour = reinterpret_cast<SetBehaviourFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "SetDialogDpiChangeBehavior")));
    if (setBehaviour != nullptr)
        setBehaviour(m_hWnd, 1 /* DDC_DISABLE_ALL */, 1);
    LoadSkin();
    ApplyRegion();
    return 0;
}

void CSkinDialog::ApplyRegion()
{
    HRGN region = MakeRegionFromMask(m_mask.Get(), RGB(255, 255, 255), 0);
    m_hasRegion = false;
    if (region != nullptr) {
        // The system owns the region once it is set.
        if (::SetWindowRgn(m_hWnd, region, TRUE))
            m_hasRegion = true;
        else
            ::DeleteObject(region);
    }
}

LRESULT CSkinDialog::OnGetDpiScaledSize(WPARAM dpi, LPARAM size)
{
    // The size the window will have at the new scaling: its skin's size at the new layout percent,
    // so that the rectangle WM_DPICHANGED suggests fits it exactly. Only a window that reloads
    // changes size.
    auto* scaled = reinterpret_cast<SIZE*>(size);
    const SIZE now = BitmapSize(m_background.Get());
    if (scaled == nullptr || now.cx <= 0 || now.cy <= 0)
        return FALSE;
    const int percent = LayoutPercentForDpi(static_cast<int>(dpi));
    if (percent == m_scale.layout || !CanReload()) {
        *scaled = now;
        return TRUE;
    }
    scaled->cx = ScaleSize(UnscaleValue(now.cx, m_scale.layout), percent);
    scaled->cy = ScaleSize(UnscaleValue(now.cy, m_scale.layout), percent);
    return TRUE;
}

LRESULT CSkinDialog::OnDpiChanged(WPARAM dpi, LPARAM suggested)
{
    // A top-level window moved to a monitor of another scaling (or the scaling changed): when the
    // layout percent changes and the window can drop its controls, its skin is loaded again for
    // the new scaling - pictures, outline and controls - and it takes the suggested position.
    const auto* rect = reinterpret_cast<const RECT*>(suggested);
    const int percent = LayoutPercentForDpi(HIWORD(dpi));
    if (percent != m_scale.layout && PrepareReload()) {
        ::SetWindowRgn(m_hWnd, nullptr, FALSE);
        m_reloadPercent = percent;
        LoadSkin();
        m_reloadPercent = 0;
        ApplyRegion();
        AfterReload();
    }
    if (rect != nullptr) {
        const SIZE size = BitmapSize(m_background.Get());
        ::SetWindowPos(m_hWnd, nullptr, rect->left, rect->top, size.cx > 0 ? size.cx : rect->right - rect->left,
                       size.cy > 0 ? size.cy : rect->bottom - rect->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Invalidate(false);
    return 0;
}

void CSkinDialog::OnDestroy()
{
    CWnd::OnDestroy();
    SetSkinPercentOf(m_hWnd, 0);
    m_mask.Reset();
    m_background.Reset();
}

void CSkinDialog::OnPaint(const PaintDc& paint)
{
    BackBuffer buffer(m_hWnd, paint.Get());
    if (!buffer)
        return;
    if (m_background) {
        MemoryDc source(paint.Get());
        SelectScope selectSource(source.Get(), m_background.Get());
        ::BitBlt(buffer.Get(), 0, 0, buffer.Width(), buffer.Height(), source.Get(), 0, 0, SRCCOPY);
    } else {
        ::PatBlt(buffer.Get(), 0, 0, buffer.Width(), buffer.Height(), BLACKNESS);
    }
    ::SetBkMode(buffer.Get(), TRANSPARENT);
    DrawTexts(buffer.Get());
}

bool CSkinDialog::OnEraseBkgnd(HDC)
{
    return true;
}

void CSkinDialog::OnLButtonDown(UINT, POINT point)
{
    // A page hands the drag to its parent; a top-level window drags itself.
    const bool child = (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) != 0;
    HWND target = child ? ::GetParent(m_hWnd) : m_hWnd;
    ::ClientToScreen(m_hWnd, &point);
    ::PostMessageA(target, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}
