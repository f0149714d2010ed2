#include "MessageTable.h"

const MessageEntry* MessageTable::Find(UINT message, WPARAM wParam, LPARAM lParam) const
{
    const UINT id = LOWORD(wParam);
    const UINT notification = lParam == 0 ? 0 : HIWORD(wParam);
    for (const MessageTable* table = this; table != nullptr; table = table->m_base) {
        for (std::size_t i = 0; i < table->m_count; ++i) {
            const MessageEntry& entry = table->m_entries[i];
            if (entry.message != message)
                continue;
            if (message != WM_COMMAND || (entry.commandId == id && entry.notification == notification))
                return &entry;
        }
    }
    return nullptr;
}
