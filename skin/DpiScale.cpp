#include "DpiScale.h"

#include <iterator>

int LayoutPercentForDpi(int dpi)
{
    if (dpi <= kBaseDpi)
        return 100;
    // percent = dpi * 100 / 96; nearest multiple of 50, ties upward: floor((dpi * 100 / 96 + 25) / 50)
    // in integers: floor((dpi * 100 + 25 * 96) / (50 * 96)).
    const int64_t steps = (static_cast<int64_t>(dpi) * 100 + 25 * kBaseDpi) / (50 * kBaseDpi);
    const int64_t percent = steps * 50;
    return percent < 100 ? 100 : static_cast<int>(percent > 1000 ? 1000 : percent);
}

int32_t ScaleValue(int32_t v, int percent)
{
    if (percent == 100)
        return v;
    const int64_t scaled = static_cast<int64_t>(v) * percent;
    // Half up for non-negative values, mirrored for negative ones, so that -x scales to -(x scaled).
    const int64_t rounded = scaled >= 0 ? (scaled + 50) / 100 : -((-scaled + 50) / 100);
    return static_cast<int32_t>(rounded);
}

ScaledRect ScaleRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int percent)
{
    return ScaledRect{ScaleValue(left, percent), ScaleValue(top, percent), ScaleValue(right, percent),
                      ScaleValue(bottom, percent)};
}

ButtonPosition ScaleButtonPos(const ButtonPosition& pos, int percent)
{
    ButtonPosition scaled = pos;
    const ScaledRect r = ScaleRect(pos.left, pos.top, pos.right, pos.bottom, percent);
    scaled.left = r.left;
    scaled.top = r.top;
    scaled.right = r.right;
    scaled.bottom = r.bottom;
    return scaled;
}

std::string PictureFolderOf(int percent)
{
    if (percent == 100)
        return std::string();
    return std::to_string(percent) + "\\";
}

std::string PictureNameAt(std::string_view pictureName, int percent)
{
    std::string name = PictureFolderOf(percent);
    name.append(pictureName);
    return name;
}

int ChoosePicturePercent(int layoutPercent, const std::function<bool(int percent)>& hasSet)
{
    for (auto it = std::rbegin(kDrawnPercents); it != std::rend(kDrawnPercents); ++it) {
        const int percent = *it;
        if (percent > layoutPercent)
            continue;
        if (percent == 100)
            return 100;
        if (hasSet && hasSet(percent))
            return percent;
    }
    return 100;
}
