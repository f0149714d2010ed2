#include "MessageTable.h"

#include "Wnd.h"

HWND message_table_detail::HwndOf(const CWnd& control)
{
    return control.GetSafeHwnd();
}

const MessageEntry* MessageTable::Find(const CWnd& window, UINT message, WPARAM wParam, LPARAM lParam) const
{
    const UINT id = LOWORD(wParam);
    const bool fromControl = (message == WM_COMMAND || message == kReflectBase + WM_COMMAND) && lParam != 0;
    const UINT notification = fromControl ? HIWORD(wParam) : 0;
    for (const MessageTable* table = this; table != nullptr; table = table->m_base) {
        for (std::size_t i = 0; i < table->m_count; ++i) {
            const MessageEntry& entry = table->m_entries[i];
            if (entry.message != message)
                continue;
            if (entry.matches != nullptr) {
                if (entry.matches(window, wParam, lParam))
                    return &entry;
                continue;
            }
            if (message == WM_COMMAND) {
                if (entry.commandId == id && entry.notification == notification)
                    return &entry;
                continue;
            }
            if (message == kReflectBase + WM_COMMAND) {
                if (entry.notification == notification)
                    return &entry;
                continue;
            }
            return &entry;
        }
    }
    return nullptr;
}
