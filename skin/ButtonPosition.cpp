#include "ButtonPosition.h"

#include "Text.h"

#include <cstring>
#include <string_view>

namespace {

// One "%d" conversion of the C runtime: leading white space, an optional sign, at least one digit.
// Digits beyond 32 bits wrap, as the runtime's 32-bit accumulation does, instead of being undefined.
// Returns false (leaving pos unspecified) when no digit follows.
bool ScanInt(std::string_view text, size_t& pos, int32_t& value)
{
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos >= text.size() || text[pos] < '0' || text[pos] > '9')
        return false;
    uint32_t magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        magnitude = magnitude * 10u + static_cast<uint32_t>(text[pos] - '0');
    value = static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
    return true;
}

int32_t WrappingSum(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

} // namespace

void ParseButtonPos(const char* value, ButtonPosition& out)
{
    std::memset(&out, 0, sizeof out);
    std::string_view text = value ? std::string_view(value) : std::string_view();

    size_t firstComma = text.find(',');
    if (firstComma == std::string_view::npos)
        return;
    CopyToField(out.name, text.substr(0, firstComma));
    std::string_view rest = text.substr(firstComma + 1);

    // "%d,%d,%d,%d": each comma must follow its number directly; the first miss ends the scan.
    int32_t* fields[] = {&out.left, &out.top, &out.right, &out.bottom};
    size_t pos = 0;
    for (size_t i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= rest.size() || rest[pos] != ',')
                break;
            ++pos;
        }
        if (!ScanInt(rest, pos, *fields[i]))
            break;
    }
    // right and bottom held width and height until here.
    out.right = WrappingSum(out.left, out.right);
    out.bottom = WrappingSum(out.top, out.bottom);

    out.flag = rest.find("TRUE") != std::string_view::npos ? 1 : 0;

    std::string_view beforeFlag = rest.substr(0, rest.rfind(','));
    size_t hintComma = beforeFlag.rfind(',');
    std::string_view hint = hintComma == std::string_view::npos ? beforeFlag : beforeFlag.substr(hintComma + 1);
    while (!hint.empty() && IsBlank(hint.front()))
        hint.remove_prefix(1);
    CopyToField(out.hint, hint);
}
