// Skin files on arbitrary bytes: the pictures, every "BUTTONPOS" entry and the frame, and the entry
// parser on the raw input. Invariants:
// - every value read is at most 2047 characters long;
// - the listed button keys are distinct, and each entry reads as the parse of its value;
// - a parsed entry keeps its texts terminated inside their fields with zeros after them, a hint
//   without commas or leading blanks, a flag of 0 or 1 that tells whether "TRUE" follows the first
//   comma, and a value without any comma parses to all zeros;
// - where no number can overflow, the rectangle is what the C runtime's "%d,%d,%d,%d" reads.

#include "FuzzSupport.h"

#include "ButtonPosition.h"
#include "SkinFile.h"
#include "Text.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

constexpr size_t kMaxCheckedKeys = 256;

bool IsZeroFilled(const void* data, size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}

// A text field: terminated inside the field, zeros after the terminator.
void CheckField(const char* field, size_t size, const char* what)
{
    size_t length = strnlen(field, size);
    FuzzRequire(length < size, what);
    FuzzRequire(IsZeroFilled(field + length, size - length), what);
}

bool HasLongDigitRun(std::string_view text)
{
    size_t run = 0;
    for (char c : text) {
        run = (c >= '0' && c <= '9') ? run + 1 : 0;
        if (run > 9)
            return true;
    }
    return false;
}

void CheckEntry(const char* value)
{
    ButtonPosition pos;
    std::memset(&pos, 0xA5, sizeof pos);
    ParseButtonPos(value, pos);

    CheckField(pos.name, sizeof pos.name, "the name stays terminated inside its field");
    CheckField(pos.hint, sizeof pos.hint, "the hint stays terminated inside its field");
    FuzzRequire(pos.flag == 0 || pos.flag == 1, "the flag is 0 or 1");

    std::string_view text(value);
    size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        FuzzRequire(IsZeroFilled(&pos, sizeof pos), "a value without a comma parses to all zeros");
        return;
    }
    std::string_view name = text.substr(0, comma);
    std::string_view rest = text.substr(comma + 1);
    FuzzRequire(FieldText(pos.name) == name.substr(0, sizeof pos.name - 1),
                "the name is the text before the first comma");
    FuzzRequire(pos.flag == (rest.find("TRUE") != std::string_view::npos ? 1 : 0),
                "the flag tells whether TRUE follows the first comma");
    std::string_view hint = FieldText(pos.hint);
    FuzzRequire(hint.find(',') == std::string_view::npos, "a hint holds no comma");
    FuzzRequire(hint.empty() || !IsBlank(hint.front()), "a hint has no leading blanks");
    FuzzRequire(rest.find(hint) != std::string_view::npos, "the hint is taken from the value");

    if (!HasLongDigitRun(rest)) {
        int numbers[4] = {0, 0, 0, 0};
        std::string copy(rest);
        std::sscanf(copy.c_str(), "%d,%d,%d,%d", &numbers[0], &numbers[1], &numbers[2], &numbers[3]);
        FuzzRequire(pos.left == numbers[0] && pos.top == numbers[1] && pos.right == numbers[0] + numbers[2] &&
                        pos.bottom == numbers[1] + numbers[3],
                    "the rectangle is what \"%d,%d,%d,%d\" reads");
    }
}

void CheckValue(const std::string& value)
{
    FuzzRequire(value.size() < kSkinValueBufferSize, "a value is at most 2047 characters long");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SkinFile skin = SkinFile::FromText(bytes);

    SkinPictures pictures = skin.Pictures();
    for (const std::string* picture :
         {&pictures.mask, &pictures.main, &pictures.over, &pictures.down, &pictures.disabled})
        CheckValue(*picture);

    std::vector<int> keys = skin.ButtonKeys();
    std::unordered_set<int> seen;
    for (size_t i = 0; i < keys.size() && i < kMaxCheckedKeys; ++i) {
        FuzzRequire(seen.insert(keys[i]).second, "a button key is listed once");
        std::string value = skin.Read("BUTTONPOS", FormatInt(keys[i]));
        CheckValue(value);
        CheckEntry(value.c_str());
        ButtonPosition expected;
        ParseButtonPos(value.c_str(), expected);
        ButtonPosition pos = skin.ButtonPos(keys[i]);
        FuzzRequire(std::memcmp(&pos, &expected, sizeof pos) == 0, "an entry reads as the parse of its value");
    }

    std::string frame = skin.Read("FRAM", "POSITION");
    CheckValue(frame);
    CheckEntry(frame.c_str());
    ButtonPosition expectedFrame;
    ParseButtonPos(frame.c_str(), expectedFrame);
    ButtonPosition framePos = skin.Frame();
    FuzzRequire(std::memcmp(&framePos, &expectedFrame, sizeof framePos) == 0,
                "the frame reads as the parse of its value");

    // The raw input as one value, up to its first zero byte.
    std::string raw(bytes);
    CheckEntry(raw.c_str());
    return 0;
}
