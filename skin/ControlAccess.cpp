#include "ControlAccess.h"

#include <algorithm>
#include <numeric>

std::vector<std::size_t> ReadingOrder(const std::vector<ControlBox>& boxes)
{
    std::vector<std::size_t> byTop(boxes.size());
    std::iota(byTop.begin(), byTop.end(), std::size_t{0});
    const auto middle2 = [&](std::size_t i) { return boxes[i].top + boxes[i].bottom; };
    std::stable_sort(byTop.begin(), byTop.end(), [&](std::size_t a, std::size_t b) {
        return middle2(a) != middle2(b) ? middle2(a) < middle2(b) : boxes[a].left < boxes[b].left;
    });
    // Rows: a control joins the row of the first control when each one's middle lies within the
    // other's height.
    std::vector<std::size_t> order;
    order.reserve(boxes.size());
    std::size_t rowStart = 0;
    while (rowStart < byTop.size()) {
        const ControlBox& first = boxes[byTop[rowStart]];
        std::size_t rowEnd = rowStart + 1;
        while (rowEnd < byTop.size()) {
            const ControlBox& next = boxes[byTop[rowEnd]];
            const int firstMiddle2 = first.top + first.bottom;
            const int nextMiddle2 = next.top + next.bottom;
            const bool sameRow = (nextMiddle2 >= 2 * first.top && nextMiddle2 <= 2 * first.bottom) &&
                                 (firstMiddle2 >= 2 * next.top && firstMiddle2 <= 2 * next.bottom);
            if (!sameRow)
                break;
            ++rowEnd;
        }
        std::stable_sort(byTop.begin() + static_cast<std::ptrdiff_t>(rowStart),
                         byTop.begin() + static_cast<std::ptrdiff_t>(rowEnd),
                         [&](std::size_t a, std::size_t b) { return boxes[a].left < boxes[b].left; });
        order.insert(order.end(), byTop.begin() + static_cast<std::ptrdiff_t>(rowStart),
                     byTop.begin() + static_cast<std::ptrdiff_t>(rowEnd));
        rowStart = rowEnd;
    }
    return order;
}

std::optional<std::size_t> NextTabStop(const std::vector<std::size_t>& order, std::optional<std::size_t> current,
                                       bool forward)
{
    if (order.empty())
        return std::nullopt;
    const auto at = current ? std::find(order.begin(), order.end(), *current) : order.end();
    if (at == order.end())
        return forward ? order.front() : order.back();
    const std::size_t position = static_cast<std::size_t>(at - order.begin());
    const std::size_t count = order.size();
    return order[forward ? (position + 1) % count : (position + count - 1) % count];
}

std::size_t ArrowTarget(std::size_t current, std::size_t count, ArrowKey key)
{
    if (count == 0)
        return 0;
    current %= count;
    const bool forward = key == ArrowKey::Right || key == ArrowKey::Down;
    return forward ? (current + 1) % count : (current + count - 1) % count;
}

namespace {

std::string WithoutAccessMarks(const std::string& text)
{
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                plain += '&';
                ++i;
            }
            continue;
        }
        plain += text[i];
    }
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t first = 0;
    while (first < plain.size() && blank(plain[first]))
        ++first;
    std::size_t last = plain.size();
    while (last > first && blank(plain[last - 1]))
        --last;
    return plain.substr(first, last - first);
}

// What a character can be as an access key: an ASCII letter in upper case, a digit, or a byte from
// 0x80 of the ANSI code page as it stands; nothing for anything else.
std::optional<char> AccessKeyFromTyped(char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<char>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || static_cast<unsigned char>(c) >= 0x80)
        return c;
    return std::nullopt;
}

} // namespace

ControlAccess DescribeControl(const ControlAccessInput& input)
{
    ControlAccess access;
    access.role = input.role;
    access.checked = input.checked && (input.role == ControlRole::CheckBox || input.role == ControlRole::RadioButton);
    access.unavailable = input.disabled;
    access.focusable = input.focusable && input.role != ControlRole::StaticText;
    std::string text = WithoutAccessMarks(input.name);
    if (text.empty())
        text = WithoutAccessMarks(input.caption);
    if (text.empty())
        text = WithoutAccessMarks(input.shortCaption);
    const std::string hint = WithoutAccessMarks(input.hint);
    if (text.empty())
        text = hint;
    else if (hint != text)
        access.description = hint;
    access.keyboardShortcut = AccessKeyShortcut(input.shortCaption);
    const std::string prefix = WithoutAccessMarks(input.prefix);
    if (prefix.empty())
        access.name = text;
    else
        access.name = text.empty() ? prefix : prefix + ": " + text;
    return access;
}

std::optional<std::size_t> AccessMarkEnd(const std::string& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return i + 1;
    }
    return std::nullopt;
}

std::optional<char> AccessKeyOf(const std::string& caption)
{
    const std::optional<std::size_t> at = AccessMarkEnd(caption);
    return at ? AccessKeyFromTyped(caption[*at]) : std::nullopt;
}

std::string AccessKeyShortcut(const std::string& caption)
{
    const std::optional<char> key = AccessKeyOf(caption);
    return key ? std::string("Alt+") + *key : std::string();
}

std::optional<std::size_t> ControlForAccessKey(const std::vector<std::string>& captions, char key)
{
    const std::optional<char> wanted = AccessKeyFromTyped(key);
    if (!wanted)
        return std::nullopt;
    for (std::size_t i = 0; i < captions.size(); ++i)
        if (AccessKeyOf(captions[i]) == wanted)
            return i;
    return std::nullopt;
}

bool IsNavigationKey(unsigned virtualKey, bool keyboardFocusShown)
{
    constexpr unsigned kTab = 0x09;
    constexpr unsigned kReturn = 0x0D;
    constexpr unsigned kEscape = 0x1B;
    constexpr unsigned kSpace = 0x20;
    if (!keyboardFocusShown)
        return false;
    return virtualKey == kTab || virtualKey == kReturn || virtualKey == kEscape || virtualKey == kSpace;
}
