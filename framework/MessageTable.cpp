#include "MessageTable.h"

#include "Wnd.h"

HWND message_table_detail::HwndOf(const CWnd& control)
{
    return control.GetSafeHwnd();
}

namespace {

bool Matches(const MessageEntry& entry, const CWnd& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (entry.message != message)
        return false;
    if (entry.matches != nullptr)
        return entry.matches(window, wParam, lParam);
    const bool fromControl = (message == WM_COMMAND || message == kReflectBase + WM_COMMAND) && lParam != 0;
    const UINT notification = fromControl ? HIWORD(wParam) : 0;
    if (message == WM_COMMAND)
        return entry.commandId == LOWORD(wParam) && entry.notification == notification;
    if (message == kReflectBase + WM_COMMAND)
        return entry.notification == notification;
    return true;
}

} // namespace

const MessageEntry* MessageTable::Find(const CWnd& window, UINT message, WPARAM wParam, LPARAM lParam) const
{
    for (const MessageTable* table = this; table != nullptr; table = table->m_base) {
        for (const MessageEntry& entry : table->Entries()) {
            if (!entry.required && Matches(entry, window, message, wParam, lParam))
                return &entry;
        }
    }
    return nullptr;
}

bool MessageTable::RunRequired(CWnd& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const
{
    bool ran = m_base != nullptr && m_base->RunRequired(window, message, wParam, lParam, result);
    if (ran && message == WM_CREATE && result == -1)
        return true;
    for (const MessageEntry& entry : Entries()) {
        if (!entry.required || !Matches(entry, window, message, wParam, lParam))
            continue;
        result = entry.thunk(window, wParam, lParam);
        ran = true;
        if (message == WM_CREATE && result == -1)
            break;
    }
    return ran;
}
