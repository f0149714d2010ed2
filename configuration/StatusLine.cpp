#include "StatusLine.h"

#include <utility>

const std::string& StatusLine::Message(std::string text, std::string_view hintUnderPointer)
{
    m_shown = std::move(text);
    m_messageHint.assign(hintUnderPointer);
    m_messageHeld = true;
    return m_shown;
}

std::optional<std::string> StatusLine::Hint(std::string_view prefix, std::string_view hint, bool entered)
{
    if (m_messageHeld) {
        if (!entered) {
            // The pointer left the control: the message stays until the next control is entered.
            m_messageHeld = false;
            return std::nullopt;
        }
        if (hint == m_messageHint)
            return std::nullopt;
        m_messageHeld = false;
    }
    m_shown = std::string(prefix) + std::string(hint);
    return m_shown;
}
