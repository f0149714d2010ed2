#include "SkinMessages.h"

namespace {

UINT g_editKillFocus = 0;
UINT g_editChange = 0;
HWND g_hintWindow = nullptr;

} // namespace

void RegisterSkinMessages()
{
    g_editKillFocus = ::RegisterWindowMessageA("BitmapEdit_KillFocus");
    g_editChange = ::RegisterWindowMessageA("BitmapEdit_Change");
}

UINT BitmapEditKillFocusMessage()
{
    if (g_editKillFocus == 0)
        RegisterSkinMessages();
    return g_editKillFocus;
}

UINT BitmapEditChangeMessage()
{
    if (g_editChange == 0)
        RegisterSkinMessages();
    return g_editChange;
}

HintChannel& SkinHints()
{
    static HintChannel channel;
    return channel;
}

void SetHintWindow(HWND window)
{
    g_hintWindow = window;
}

HWND HintWindow()
{
    return g_hintWindow;
}

void PostStatusHint(WPARAM state)
{
    if (g_hintWindow != nullptr && ::IsWindow(g_hintWindow))
        ::PostMessageA(g_hintWindow, WM_STATUS_HINT, state, 0);
}
