// The display scaling of skinned windows on Windows: the DPI of a window, the layout percent of the
// skin there (skin/DpiScale.h decides), and the pictures of a skin at that percent - the set drawn
// for it when the skin folder has one, else a smaller set stretched by the program.
#pragma once

#include "DpiScale.h"
#include "SkinPicture.h"

#include <windows.h>

#include <string>

// WM_DPICHANGED, which older headers lack.
constexpr UINT kWmDpiChanged = 0x02E0;
constexpr UINT kWmGetDpiScaledSize = 0x02E4;

// The DPI a window is shown at: GetDpiForWindow where the system has it (Windows 10 1607 and later;
// found at run time, since older systems and headers lack it), else the screen's LOGPIXELSY.
// 96 for a process that is not DPI aware.
int WindowDpi(HWND window);
// The layout percent of the skin in window: the one its skinned window was loaded for (a child
// asks the skinned window it sits in, so that a window and its controls always agree), else the
// one of the window's DPI (100 for none).
int SkinPercentOf(HWND window);
// Records on a skinned window the layout percent its skin was loaded for (0 removes it).
void SetSkinPercentOf(HWND window, int percent);
// Makes the running process per-monitor DPI aware (v2 where the system has it, else per-monitor,
// else system aware), as the programs' manifests do; for test tools without such a manifest.
void BecomeDpiAware();

// The rectangle scaled by its edges.
RECT ScaleRectBy(const RECT& rect, int percent);
// The inverse of ScaleValue for a percent of 100 or more: the 100 % value a scaled one came from.
int32_t UnscaleValue(int32_t scaled, int percent);

// Which picture set a window uses: the layout percent, and the percent the pictures were drawn for.
struct SkinScaleChoice {
    int layout = 100;
    int pictures = 100;
    bool Stretched() const { return layout != pictures; }
};
// The choice for a window at layoutPercent whose skin names probePicture (a picture every set of
// the skin has, such as its "Main"): asks the file system only whether the set's file is there.
SkinScaleChoice ChooseSkinScale(const std::string& programFolder, const std::string& probePicture, int layoutPercent);

// Loads "skins\<set>\pictureName" of choice.pictures and, when the layout differs, stretches it
// to the layout's size: a picture with HALFTONE, a mask pixel by pixel (it stays black and white).
bool LoadSkinPicture(const std::string& programFolder, const std::string& pictureName, const SkinScaleChoice& choice,
                     UniqueBitmap& target, bool mask = false);
