// Opens every skinned window of the configuration program from the generated skins, for review
// and for tests:
//   SkinGallery shots <program folder> <manifest> <output folder>
//       each window in turn at the screen's origin: a screenshot as it opens (<skin>.bmp), one with
//       the pointer over its first button (<skin>_hover.bmp) and, for windows with a toggle or
//       starting-checked button, one with that button checked (<skin>_checked.bmp); then a click
//       at the centre of the hovered button's "BUTTONPOS" rectangle scaled for the screen's DPI
//       (skin/DpiScale.h), which must reach that button; a line per window in
//       <output folder>\gallery.txt, with the window's scaling (percent, pictures) and whether its
//       outline is exactly the region of the mask of its own picture set (regionMatches).
//       The gallery is per-monitor DPI aware, as TolkCfg is by its manifest.
//   SkinGallery bench <program folder> <manifest>
//       the time to open the largest window and to build window outlines from masks.
// The manifest lists, per skin file, the control each key of the window stands for.
#include "GalleryWindow.h"
#include "WinTestInput.h"
#include "Gdi.h"
#include "SkinMessages.h"
#include "SkinPicture.h"
#include "SkinScale.h"
#include "WinApp.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct GalleryEntry {
    std::string section; // skin file name without "skins\"
    bool child = false;
    std::vector<GalleryKey> keys;
};

// The manifest: one section per skin file with "Child" and one "<key>=<kind>" line per key.
std::vector<GalleryEntry> ReadManifest(const std::string& path)
{
    std::vector<GalleryEntry> windows;
    std::vector<char> names(65536);
    const DWORD length = ::GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), path.c_str());
    for (DWORD i = 0; i < length && names[i] != '\0';) {
        GalleryEntry entry;
        entry.section = &names[i];
        i += static_cast<DWORD>(entry.section.size()) + 1;
        std::vector<char> entries(65536);
        const DWORD size = ::GetPrivateProfileSectionA(entry.section.c_str(), entries.data(),
                                                       static_cast<DWORD>(entries.size()), path.c_str());
        for (DWORD j = 0; j < size && entries[j] != '\0';) {
            const std::string line = &entries[j];
            j += static_cast<DWORD>(line.size()) + 1;
            const auto equals = line.find('=');
            if (equals == std::string::npos)
                continue;
            const std::string name = line.substr(0, equals);
            const std::string value = line.substr(equals + 1);
            if (name == "Child")
                entry.child = value == "1";
            else if (!name.empty() &&
                     std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
                entry.keys.push_back(GalleryKey{std::atoi(name.c_str()), value});
        }
        windows.push_back(std::move(entry));
    }
    return windows;
}

// The screen's pixels of rect as a 24-bit bottom-up BMP file.
bool SaveScreenRect(const RECT& rect, const std::string& path)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    ClientDc screen(nullptr);
    MemoryDc memory(screen.Get());
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
    {
        SelectScope select(memory.Get(), bitmap.Get());
        ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<size_t>(stride) * height);
    if (::GetDIBits(memory.Get(), bitmap.Get(), 0, height, pixels.data(), &info, DIB_RGB_COLORS) == 0)
        return false;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

std::string SkinPathOf(const GalleryEntry& entry)
{
    return "skins\\" + entry.section;
}

// A window with its pages: the main window shows the key page and the macro manager the basic
// editor in their "FRAM" rectangle, as the program places them.
struct OpenWindow {
    std::unique_ptr<CGalleryWindow> window;
    std::unique_ptr<CGalleryWindow> page;
};

const GalleryEntry* FindEntry(const std::vector<GalleryEntry>& windows, const std::string& section)
{
    for (const GalleryEntry& entry : windows) {
        if (_stricmp(entry.section.c_str(), section.c_str()) == 0)
            return &entry;
    }
    return nullptr;
}

OpenWindow Open(const GalleryEntry& entry, const std::vector<GalleryEntry>& windows)
{
    OpenWindow open;
    open.window = std::make_unique<CGalleryWindow>(SkinPathOf(entry), entry.keys);
    if (!open.window->Create(nullptr))
        return open;
    const char* pageSkin = nullptr;
    if (entry.section == "skin_main.ini")
        pageSkin = "skin_main_control.ini";
    else if (entry.section == "skin_macro_manager.ini")
        pageSkin = "skin_macro_record.ini";
    if (const GalleryEntry* pageEntry = pageSkin != nullptr ? FindEntry(windows, pageSkin) : nullptr) {
        open.page = std::make_unique<CGalleryWindow>(SkinPathOf(*pageEntry), pageEntry->keys, IDD_SKIN_PAGE);
        if (open.page->Create(open.window->GetSafeHwnd())) {
            open.page->MoveWindow(open.window->Frame(), true);
            open.page->ShowWindow(SW_SHOW);
        }
    }
    open.window->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(open.window->GetSafeHwnd());
    return open;
}

RECT CentreOf(const RECT& rect)
{
    const LONG x = (rect.left + rect.right) / 2;
    const LONG y = (rect.top + rect.bottom) / 2;
    return RECT{x, y, x, y};
}

int Shots(const std::string& manifest, const std::string& outFolder)
{
    const std::vector<GalleryEntry> windows = ReadManifest(manifest);
    if (windows.empty()) {
        std::fprintf(stderr, "SkinGallery: no windows in %s\n", manifest.c_str());
        return 2;
    }
    ::CreateDirectoryA(outFolder.c_str(), nullptr);
    std::ofstream report(outFolder + "\\gallery.txt", std::ios::binary);
    int failures = 0;
    for (const GalleryEntry& entry : windows) {
        const auto start = std::chrono::steady_clock::now();
        OpenWindow open = Open(entry, windows);
        const double openMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (!open.window || open.window->GetSafeHwnd() == nullptr) {
            report << entry.section << " open=0\n";
            ++failures;
            continue;
        }
        ::SetCursorPos(2000, 2000);
        Pump(250);
        const RECT rect = open.window->GetWindowRect();
        const std::string base = outFolder + "\\" + entry.section.substr(0, entry.section.find('.'));
        SaveScreenRect(rect, base + ".bmp");

        auto buttons = open.window->Buttons();
        int hoverKey = 0;
        int checkedKey = 0;
        std::string hoverHint;
        for (const auto& [key, button] : buttons) {
            if (hoverKey == 0 && button->GetChecked() == 0 && !button->Hint().empty()) {
                hoverKey = key;
                hoverHint = button->Hint();
            }
        }
        if (hoverKey != 0) {
            const RECT centre = CentreOf(open.window->ControlRect(hoverKey));
            ::SetCursorPos(centre.left, centre.top);
            Pump(250);
            SaveScreenRect(rect, base + "_hover.bmp");
            ::SetCursorPos(2000, 2000);
            Pump(150);
        }
        for (const auto& [key, button] : buttons) {
            if (key != hoverKey && button->GetChecked() == 0) {
                checkedKey = key;
                button->SetChecked(1);
                Pump(150);
                SaveScreenRect(rect, base + "_checked.bmp");
                button->SetChecked(0);
                break;
            }
        }
        // A click where the skin's 100 % rectangle of the hovered button lies at the screen's
        // scaling, reckoned here from the skin file, apart from the window's own layout.
        std::string click = "none";
        if (hoverKey != 0) {
            const SkinFile skin = SkinFile::Load(SkinFile::SkinPath(SkinProgramFolder(), SkinPathOf(entry)));
            ClientDc screen(nullptr);
            const int percent = LayoutPercentForDpi(::GetDeviceCaps(screen.Get(), LOGPIXELSY));
            const ButtonPosition pos = ScaleButtonPos(skin.ButtonPos(hoverKey), percent);
            const RECT client = open.window->GetWindowRect();
            const POINT centre{client.left + (pos.left + pos.right) / 2, client.top + (pos.top + pos.bottom) / 2};
            const size_t before = open.window->Commands().size();
            Click(centre);
            WaitUntil([&] { return open.window->Commands().size() > before; }, 1500);
            const auto& commands = open.window->Commands();
            click = commands.size() > before ? (commands.back() == hoverKey ? "reached" : "other") : "missed";
            ::SetCursorPos(2000, 2000);
            Pump(100);
        }
        // The outline against the region of the mask of the window's own picture set.
        int regionMatches = 0;
        {
            const SkinFile skin = SkinFile::Load(SkinFile::SkinPath(SkinProgramFolder(), SkinPathOf(entry)));
            UniqueBitmap mask;
            LoadSkinPicture(SkinProgramFolder(), skin.Pictures().mask, open.window->SkinScale(), mask, true);
            UniqueRegion expected(MakeRegionFromMask(mask.Get(), RGB(255, 255, 255), 0));
            UniqueRegion actual(::CreateRectRgn(0, 0, 0, 0));
            const int kind = ::GetWindowRgn(open.window->GetSafeHwnd(), actual.Get());
            if (expected && kind != ERROR)
                regionMatches = ::EqualRgn(expected.Get(), actual.Get()) ? 1 : 0;
            else if (!expected && kind == ERROR)
                regionMatches = 1; // no white in the mask: no outline either
        }
        auto at = [&](int key) {
            const RECT r = open.window->ControlRect(key);
            std::ostringstream text;
            text << (r.left - rect.left) << ',' << (r.top - rect.top) << ',' << (r.right - rect.left) << ','
                 << (r.bottom - rect.top);
            return text.str();
        };
        report << entry.section << " open=1 width=" << (rect.right - rect.left)
               << " height=" << (rect.bottom - rect.top) << " region=" << (open.window->HasRegion() ? 1 : 0)
               << " buttons=" << buttons.size() << " hover=" << hoverKey
               << (hoverKey != 0 ? " hoverRect=" + at(hoverKey) : std::string())
               << " hint=" << (SkinHints().Current() == hoverHint ? "followed" : "lost") << " checked=" << checkedKey
               << (checkedKey != 0 ? " checkedRect=" + at(checkedKey) : std::string()) << " click=" << click
               << " percent=" << open.window->SkinScale().layout << " pictures=" << open.window->SkinScale().pictures
               << " regionMatches=" << regionMatches << " open_ms=" << openMs << "\n";
        open.page.reset();
        open.window.reset();
        Pump(50);
    }
    return failures == 0 ? 0 : 1;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    if (values.empty())
        return 0.0;
    return values[std::min(values.size() - 1, static_cast<size_t>(fraction * static_cast<double>(values.size())))];
}

// An 800 x 600 mask with a detailed outline: a wavy border and a grid of round holes.
HBITMAP DetailedMask()
{
    const int width = 800;
    const int height = 600;
    ClientDc screen(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen.Get(), width, height);
    MemoryDc memory(screen.Get());
    SelectScope select(memory.Get(), bitmap);
    BITMAPINFO info = TopDown32BitInfo(width, height);
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double wave = 12.0 + 8.0 * std::sin(y / 7.0) + 5.0 * std::sin(x / 5.0);
            bool inside = x > wave && x < width - wave && y > wave && y < height - wave;
            const int cx = (x % 40) - 20;
            const int cy = (y % 40) - 20;
            if (cx * cx + cy * cy < 36)
                inside = false;
            pixels[static_cast<size_t>(y) * width + x] = inside ? 0x00202020u : 0x00FFFFFFu;
        }
    }
    ::SetDIBits(memory.Get(), bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    return bitmap;
}

int Bench(const std::string& manifest)
{
    const std::vector<GalleryEntry> windows = ReadManifest(manifest);
    const GalleryEntry* largest = FindEntry(windows, "skin_main.ini");
    if (largest == nullptr) {
        std::fprintf(stderr, "SkinGallery: skin_main.ini is not in %s\n", manifest.c_str());
        return 2;
    }
    std::vector<double> openTimes;
    std::vector<double> pictureTimes;
    std::vector<double> controlTimes;
    for (int i = 0; i < 30; ++i) {
        const auto start = std::chrono::steady_clock::now();
        // Pictures loaded, controls created and the outline applied: all inside Create.
        CGalleryWindow window(SkinPathOf(*largest), largest->keys);
        if (!window.Create(nullptr))
            return 1;
        openTimes.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        pictureTimes.push_back(window.PicturesMs());
        controlTimes.push_back(window.ControlsMs());
        window.DestroyWindow();
        Pump(10);
    }
    std::printf("open skin_main.ini (800 x 600, pictures, controls, outline): median %.1f ms, p90 %.1f ms, max %.1f ms "
                "over %zu\n",
                Median(openTimes), Percentile(openTimes, 0.9), Percentile(openTimes, 1.0), openTimes.size());
    std::printf("  of which: pictures loaded median %.1f ms, controls created median %.1f ms\n", Median(pictureTimes),
                Median(controlTimes));

    // Where the opening time goes: one picture decoded, the window's own outline.
    {
        const SkinFile skin = SkinFile::Load(SkinFile::SkinPath(SkinProgramFolder(), SkinPathOf(*largest)));
        const SkinPictures pictures = skin.Pictures();
        std::vector<double> decodeTimes;
        UniqueBitmap picture;
        for (int i = 0; i < 10; ++i) {
            int width = 0;
            int height = 0;
            const auto start = std::chrono::steady_clock::now();
            LoadSkinImage(SkinFile::PicturePath(SkinProgramFolder(), pictures.main).c_str(), picture, width, height);
            decodeTimes.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        UniqueBitmap windowMask;
        int width = 0;
        int height = 0;
        std::vector<double> maskTimes;
        for (int i = 0; i < 10; ++i) {
            const auto start = std::chrono::steady_clock::now();
            LoadSkinImage(SkinFile::PicturePath(SkinProgramFolder(), pictures.mask).c_str(), windowMask, width, height);
            maskTimes.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::vector<double> outlineTimes;
        for (int i = 0; i < 10; ++i) {
            const auto start = std::chrono::steady_clock::now();
            UniqueRegion region(MakeRegionFromMask(windowMask.Get(), RGB(255, 255, 255), 0));
            outlineTimes.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::printf(
            "  of which: one picture decoded median %.1f ms (%s), %.1f ms (%s); the window's outline median %.1f ms\n",
            Median(decodeTimes), pictures.main.c_str(), Median(maskTimes), pictures.mask.c_str(), Median(outlineTimes));
    }

    UniqueBitmap mask(DetailedMask());
    std::vector<double> regionTimes;
    DWORD rects = 0;
    for (int i = 0; i < 50; ++i) {
        const auto start = std::chrono::steady_clock::now();
        HRGN region = MakeRegionFromMask(mask.Get(), RGB(255, 255, 255), 0);
        regionTimes.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (region != nullptr) {
            rects = ::GetRegionData(region, 0, nullptr);
            ::DeleteObject(region);
        }
    }
    std::printf("MakeRegionFromMask 800 x 600 detailed mask: median %.2f ms, p90 %.2f ms (region data %lu bytes)\n",
                Median(regionTimes), Percentile(regionTimes, 0.9), static_cast<unsigned long>(rects));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    RegisterSkinMessages();
    BecomeDpiAware();
    if (argc >= 5 && std::string(argv[1]) == "shots") {
        SetSkinProgramFolder(argv[2]);
        return Shots(argv[3], argv[4]);
    }
    if (argc >= 4 && std::string(argv[1]) == "bench") {
        SetSkinProgramFolder(argv[2]);
        return Bench(argv[3]);
    }
    std::fprintf(stderr, "usage: SkinGallery shots <program folder> <manifest> <output folder>\n"
                         "       SkinGallery bench <program folder> <manifest>\n");
    return 2;
}
