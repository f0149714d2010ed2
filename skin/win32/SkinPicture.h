// Pictures of skinned windows: loading any picture format the system decodes, cutting the state
// pictures of a control out of the whole-window pictures, and the window outline from a mask.
#pragma once

#include "MaskRegion.h"
#include "UniqueHandle.h"

#include <windows.h>

using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueRegion = UniqueGdiObject<HRGN>;

// Reads the whole file, decodes it (OleLoadPicture over a stream on a movable memory block) and
// puts the picture's bitmap into target, deleting what target held. A file that is missing or
// cannot be decoded leaves target empty and the size 0 x 0; false then.
bool LoadSkinImage(const char* path, UniqueBitmap& target, int& width, int& height);

// The region of the mask's pixels that are not the key colour (within tolerance), combined from
// blocks of at most kRegionBlockSize rectangles; null for an empty mask or when no pixel is inside.
HRGN MakeRegionFromMask(HBITMAP mask, COLORREF key, BYTE tolerance);

// Replaces target with a copy of source's rectangle (x, y)-(right, bottom), compatible with dc.
// Does nothing when source is empty.
void CutStateBitmap(HDC dc, UniqueBitmap& target, HBITMAP source, int x, int y, int right, int bottom);

// The description of a 32-bit top-down DIB of width x height: rows from the top, each pixel the
// bytes blue, green, red, unused.
BITMAPINFO TopDown32BitInfo(int width, int height);

// Size of a bitmap; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);
