// What Windows shows of the files we ship: the version in their properties (one number for all,
// the one the main window shows), their names, and for the two programs the manifest that keeps
// them at the user's rights and the icon of the program.
#include "ProgramTexts.h"
#include "ResourceIds.h"
#include "Version.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Shipped {
    std::string path; // below the program folder
    bool program;
};

std::vector<Shipped> ShippedFiles()
{
    std::vector<Shipped> files{{"TolkHid.exe", true}, {"TolkCfg.exe", true}};
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((std::string(TOLK_DIST) + "lang\\*.dll").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            files.push_back({std::string("lang\\") + found.cFileName, false});
        while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    return files;
}

std::string FileName(const std::string& path)
{
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string StringValue(const std::vector<char>& info, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!::VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0)
        return "(none)";
    return std::string(value);
}

// The program's manifest as text, empty when it has none.
std::string ManifestOf(HMODULE module)
{
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)); // RT_MANIFEST
    if (found == nullptr)
        return {};
    HGLOBAL loaded = ::LoadResource(module, found);
    const char* text = static_cast<const char*>(::LockResource(loaded));
    return text == nullptr ? std::string() : std::string(text, ::SizeofResource(module, found));
}

} // namespace

TEST(ShippedFiles, EveryFileCarriesTheOneVersionAndItsOwnName)
{
    const std::vector<Shipped> files = ShippedFiles();
    ASSERT_EQ(12u, files.size()) << "two programs and ten language modules";
    // The main window shows major.minor of the same number.
    EXPECT_EQ(std::to_string(TOLK_VERSION_MAJOR) + "." + std::to_string(TOLK_VERSION_MINOR), kSoftwareVersionText);
    for (const Shipped& file : files) {
        SCOPED_TRACE(file.path);
        const std::string path = std::string(TOLK_DIST) + file.path;
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version resource";
        std::vector<char> info(size);
        ASSERT_TRUE(::GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(static_cast<DWORD>(MAKELONG(TOLK_VERSION_MINOR, TOLK_VERSION_MAJOR)), fixed->dwFileVersionMS);
        EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, TOLK_VERSION_PATCH)), fixed->dwFileVersionLS);
        EXPECT_EQ(static_cast<DWORD>(file.program ? VFT_APP : VFT_DLL), fixed->dwFileType);
        EXPECT_EQ(TOLK_VERSION_TEXT, StringValue(info, "FileVersion"));
        EXPECT_EQ(TOLK_VERSION_TEXT, StringValue(info, "ProductVersion"));
        EXPECT_EQ("ZENTOR Tolk", StringValue(info, "ProductName"));
        EXPECT_EQ(FileName(file.path), StringValue(info, "OriginalFilename"));
    }
}

TEST(ShippedFiles, TheProgramsRunAtTheUsersRightsPerMonitorDpiAwareAndShowTheProgramIcon)
{
    for (const char* program : {"TolkHid.exe", "TolkCfg.exe"}) {
        SCOPED_TRACE(program);
        HMODULE module =
            ::LoadLibraryExA((std::string(TOLK_DIST) + program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module);
        const std::string manifest = ManifestOf(module);
        EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\"")) << manifest;
        // Per-monitor v2 (Windows 10 1703 and later), per-monitor before it, system aware on 7 and 8.1.
        EXPECT_EQ(std::string::npos, manifest.find(">false</dpiAware>")) << manifest;
        EXPECT_NE(std::string::npos, manifest.find(">true/pm</dpiAware>")) << manifest;
        EXPECT_NE(std::string::npos, manifest.find(">PerMonitorV2,PerMonitor</dpiAwareness>")) << manifest;
        EXPECT_NE(std::string::npos, manifest.find("http://schemas.microsoft.com/SMI/2016/WindowsSettings")) << manifest;
        const bool commonControls = manifest.find("Microsoft.Windows.Common-Controls") != std::string::npos;
        EXPECT_EQ(std::string(program) == "TolkCfg.exe", commonControls) << "only TolkCfg opens file dialogs";
        EXPECT_NE(nullptr,
                  ::FindResourceA(module, MAKEINTRESOURCEA(IDI_PROGRAM), MAKEINTRESOURCEA(14))) // RT_GROUP_ICON
            << "the program icon: the tray and Explorer show it";
        ::FreeLibrary(module);
    }
}

// Every picture of the skins is shipped also drawn for 150 % and 200 % (skin/DpiScale.h): a window
// at those scalings finds its own set for every picture its skin names.
TEST(ShippedFiles, EverySkinPictureIsThereFor150And200Percent)
{
    const std::string skins = std::string(TOLK_DIST) + "skins\\";
    int pictures = 0;
    for (const char* pattern : {"*.jpg", "*.bmp"}) {
        WIN32_FIND_DATAA found{};
        HANDLE search = ::FindFirstFileA((skins + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            ++pictures;
            for (const char* folder : {"150\\", "200\\"}) {
                const std::string path = skins + folder + found.cFileName;
                EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path.c_str())) << path;
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    EXPECT_GT(pictures, 100);
}
