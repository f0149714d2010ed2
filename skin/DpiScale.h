// How a skin drawn for 100 % (96 DPI) is shown at another display scaling: one layout percent per
// DPI, every position of the skin scaled by it, and the picture set that is drawn for it.
//
// Decisions:
// - The layout percent of a DPI is its scaling rounded to the nearest multiple of 50 % (ties
//   upward), at least 100 %: 96 DPI -> 100, 120 (125 %) -> 150, 144 -> 150, 168 (175 %) -> 200,
//   192 -> 200, 240 (250 %) -> 250, 288 -> 300. Skins are drawn for 100, 150 and 200 %, so the
//   common scalings show pictures pixel for pixel; a window at 125 % is shown at 150 %.
// - Every position of the skin (BUTTONPOS entries, the FRAM rectangle, text positions, the status
//   line, row heights, margins) is scaled by ScaleValue: v * percent / 100 rounded half up. A
//   rectangle is scaled by its edges (ScaleRect), so adjacent rectangles stay adjacent and a 200 %
//   layout is exactly twice the 100 % one. The generator of the pictures (tools/look_draw.py) rounds
//   whole-pixel edges the same way.
// - Pictures: the skin folder holds the 100 % pictures ("skins\<name>") and, drawn at their size,
//   the 150 % and 200 % ones ("skins\150\<name>", "skins\200\<name>"). A window takes the pictures
//   of its layout percent when the folder has them; otherwise the largest drawn percent below it
//   that the folder has (100 % always counts: a user's skin made for earlier releases), stretched by
//   the program to the layout size with a smoothing filter. Nothing is refused.
#pragma once

#include "ButtonPosition.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

constexpr int kBaseDpi = 96;
// The percents the generated skins are drawn for, ascending; 100 is the skin folder itself.
constexpr int kDrawnPercents[] = {100, 150, 200};

// The layout percent of a DPI (see above); a DPI of 0 or less (unknown) gives 100.
int LayoutPercentForDpi(int dpi);

// v at percent, rounded half up (half away from zero for negative v): 100 gives v itself.
int32_t ScaleValue(int32_t v, int percent);

// A rectangle by its edges: each edge is ScaleValue of the 100 % edge.
struct ScaledRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    bool operator==(const ScaledRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
ScaledRect ScaleRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int percent);
// The entry with its rectangle scaled; name, hint and flag as they are.
ButtonPosition ScaleButtonPos(const ButtonPosition& pos, int percent);
// A size (of a window, a picture) at percent: the scaled far edge of a rectangle at (0, 0).
inline int32_t ScaleSize(int32_t size, int percent) { return ScaleValue(size, percent); }

// The folder of the pictures drawn for percent, relative to "skins\": "" for 100, else "150\".
std::string PictureFolderOf(int percent);
// The picture's name relative to "skins\" in the set of percent: "150\main_normal.jpg".
std::string PictureNameAt(std::string_view pictureName, int percent);

// Which picture set a window at layoutPercent shows: layoutPercent itself when it is a drawn
// percent and hasSet(layoutPercent) says the skin folder has it, else the largest drawn percent
// below it that the folder has, else 100 (never asked: always there). hasSet is asked at most once
// per drawn percent, from the largest down.
int ChoosePicturePercent(int layoutPercent, const std::function<bool(int percent)>& hasSet);

// A font height (logical units, negative for a character height as CreateFont takes it) at percent.
inline int32_t ScaleFontHeight(int32_t height, int percent) { return ScaleValue(height, percent); }
