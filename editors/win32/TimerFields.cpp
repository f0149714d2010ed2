#include "TimerFields.h"

#include "Text.h"
#include "TimerRules.h"

namespace {

constexpr int kNameKey = 1;
constexpr int kLengthKey = 2;
// The wells of the pictures, and white text on them.
constexpr COLORREF kFieldTextColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kFieldBackColour = RGB(8, 9, 11);

} // namespace

void CreateTimerFields(const SkinLoader& skin, HWND parent, CBmpEdit& name, CSpinWnd& length)
{
    const ButtonPosition namePos = skin.Pos(kNameKey);
    // The edit control is as high as its text and sits in the middle of its well.
    RECT nameRect = SkinLoader::RectOf(namePos);
    const int percent = skin.Scale().layout;
    const int textHeight = ScaleValue(16, percent);
    const int top = nameRect.top + (nameRect.bottom - nameRect.top - textHeight) / 2;
    nameRect = RECT{nameRect.left + ScaleValue(4, percent), top, nameRect.right - ScaleValue(4, percent),
                    top + textHeight};
    name.Create(nameRect, parent, WS_TABSTOP);
    name.SetAccessName(std::string(FieldText(namePos.name, sizeof namePos.name)));

    const ButtonPosition lengthPos = skin.Pos(kLengthKey);
    if (length.Create(SkinLoader::RectOf(lengthPos), parent, kTimerLengthFieldId)) {
        length.SetButtonPictures(skin.Main(), skin.Over(), skin.Down(), skin.Disabled());
        length.SetHint(std::string(FieldText(lengthPos.hint, sizeof lengthPos.hint)));
    }
}

void StartTimerFields(CBmpEdit& name, CSpinWnd& length)
{
    name.SetTextColor(kFieldTextColour);
    name.SetBackColor(kFieldBackColour);
    name.ApplyFont();
    name.SetLimitText(static_cast<UINT>(kTimerNameLimit));
    length.SetColors(kFieldTextColour, kFieldBackColour);
    length.SetRange(kTimerMinSeconds, kTimerMaxSeconds);
}

std::string WindowText(const CWnd& window)
{
    HWND hwnd = window.GetSafeHwnd();
    const int length = ::GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(hwnd, text.data(), length + 1)));
    return text;
}
