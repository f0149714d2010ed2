#include "SkinScale.h"

#include "Gdi.h"
#include "SkinFile.h"
#include "SkinPicturesAhead.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn GetDpiForWindowFunction()
{
    static const GetDpiForWindowFn function = [] {
        HMODULE user = ::GetModuleHandleA("user32.dll");
        return user != nullptr ? reinterpret_cast<GetDpiForWindowFn>(
                                     reinterpret_cast<void*>(::GetProcAddress(user, "GetDpiForWindow")))
                               : nullptr;
    }();
    return function;
}

// A stretched copy of source at width x height.
HBITMAP Stretch(HBITMAP source, int width, int height, bool mask)
{
    const SIZE size = BitmapSize(source);
    if (size.cx <= 0 || size.cy <= 0 || width <= 0 || height <= 0)
        return nullptr;
    ClientDc screen(nullptr);
    HBITMAP result = ::CreateCompatibleBitmap(screen.Get(), width, height);
    if (result == nullptr)
        return nullptr;
    MemoryDc sourceDc(screen.Get());
    MemoryDc targetDc(screen.Get());
    SelectScope selectSource(sourceDc.Get(), source);
    SelectScope selectTarget(targetDc.Get(), result);
    ::SetStretchBltMode(targetDc.Get(), mask ? COLORONCOLOR : HALFTONE);
    ::SetBrushOrgEx(targetDc.Get(), 0, 0, nullptr);
    ::StretchBlt(targetDc.Get(), 0, 0, width, height, sourceDc.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
    return result;
}

} // namespace

int WindowDpi(HWND window)
{
    if (GetDpiForWindowFn function = GetDpiForWindowFunction(); function != nullptr && window != nullptr) {
        const UINT dpi = function(window);
        if (dpi != 0)
            return static_cast<int>(dpi);
    }
    ClientDc screen(nullptr);
    const int dpi = screen.Get() != nullptr ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kBaseDpi;
}

namespace {

constexpr char kSkinPercentProperty[] = "TolkSkinPercent";

} // namespace

int SkinPercentOf(HWND window)
{
    for (HWND at = window; at != nullptr; at = ::GetParent(at)) {
        if (const HANDLE recorded = ::GetPropA(at, kSkinPercentProperty))
            return static_cast<int>(reinterpret_cast<INT_PTR>(recorded));
        // Up through child windows only: a dialog is not scaled as the window that owns it.
        if ((::GetWindowLongA(at, GWL_STYLE) & WS_CHILD) == 0)
            break;
    }
    return LayoutPercentForDpi(WindowDpi(window));
}

void SetSkinPercentOf(HWND window, int percent)
{
    if (window == nullptr)
        return;
    if (percent > 0)
        ::SetPropA(window, kSkinPercentProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(percent)));
    else
        ::RemovePropA(window, kSkinPercentProperty);
}

void BecomeDpiAware()
{
    HMODULE user = ::GetModuleHandleA("user32.dll");
    if (user == nullptr)
        return;
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    if (auto setContext = reinterpret_cast<SetContextFn>(
            reinterpret_cast<void*>(::GetProcAddress(user, "SetProcessDpiAwarenessContext")))) {
        // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 (-4), else PER_MONITOR_AWARE (-3).
        if (setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))) ||
            setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3))))
            return;
    }
    using SetAwareFn = BOOL(WINAPI*)();
    if (auto setAware =
            reinterpret_cast<SetAwareFn>(reinterpret_cast<void*>(::GetProcAddress(user, "SetProcessDPIAware"))))
        setAware();
}

RECT ScaleRectBy(const RECT& rect, int percent)
{
    const ScaledRect r = ScaleRect(rect.left, rect.top, rect.right, rect.bottom, percent);
    return RECT{r.left, r.top, r.right, r.bottom};
}

int32_t UnscaleValue(int32_t scaled, int percent)
{
    if (percent == 100 || percent <= 0)
        return scaled;
    // Exact for percent >= 100: a scaled value lies within half a pixel of v * percent / 100, so
    // within 100 / percent / 2 <= 0.5 of v once divided back; MulDiv rounds to the nearest.
    return static_cast<int32_t>(::MulDiv(scaled, 100, percent));
}

SkinScaleChoice ChooseSkinScale(const std::string& programFolder, const std::string& probePicture, int layoutPercent)
{
    SkinScaleChoice choice;
    choice.layout = layoutPercent;
    choice.pictures = ChoosePicturePercent(layoutPercent, [&](int percent) {
        const std::string path = SkinFile::PicturePath(programFolder, PictureNameAt(probePicture, percent));
        return !probePicture.empty() && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    return choice;
}

bool LoadSkinPicture(const std::string& programFolder, const std::string& pictureName, const SkinScaleChoice& choice,
                     UniqueBitmap& target, bool mask)
{
    int width = 0;
    int height = 0;
    const std::string path = SkinFile::PicturePath(programFolder, PictureNameAt(pictureName, choice.pictures));
    const PictureAhead ahead = TakeSkinImageDecodedAhead(path, target, width, height);
    if (ahead == PictureAhead::Failed ||
        (ahead == PictureAhead::NotAsked && !LoadSkinImage(path.c_str(), target, width, height)))
        return false;
    if (!choice.Stretched())
        return true;
    // The 100 % size, then that size at the layout.
    const int baseWidth = UnscaleValue(width, choice.pictures);
    const int baseHeight = UnscaleValue(height, choice.pictures);
    HBITMAP stretched =
        Stretch(target.Get(), ScaleSize(baseWidth, choice.layout), ScaleSize(baseHeight, choice.layout), mask);
    if (stretched == nullptr)
        return true; // the picture at its own size rather than none
    target.Reset(stretched);
    return true;
}
