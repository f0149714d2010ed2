// A picture shown through the shape of its mask: the key page's line from a programmable key to
// its assignment. Created hidden; the owner shows it.
#pragma once

#include "SkinPicture.h"
#include "SkinScale.h"

#include <string>
#include "Wnd.h"

class CLineWnd : public BaseWindow<CLineWnd> {
public:
    static MessageSpan MessageEntries();

    // style adds to WS_CHILD (pass WS_VISIBLE to create it shown).
    bool Create(const RECT& rect, HWND parent, UINT id, DWORD style = WS_VISIBLE);
    // Loads both pictures and cuts the window to the mask's non-white pixels. False when the
    // picture could not be loaded (the window then shows nothing).
    bool SetPictures(const char* picturePath, const char* maskPath);
    // The same from the skin folder of programFolder, in the picture set of a display scaling.
    bool SetPictures(const std::string& programFolder, const char* pictureName, const char* maskName,
                     const SkinScaleChoice& scale);

private:
    bool ApplyMask(bool picture);
    void OnPaint(const PaintDc& paint);
    bool OnEraseBkgnd(HDC dc);

    UniqueBitmap m_picture;
    UniqueBitmap m_mask;
};
