// Writes replace a data file by moving a finished temporary file over it. On Windows the move fails
// while another process holds the file open, which the other program does for a moment whenever it
// reads; a write must wait that out, and when it cannot, the old file must stay whole.
#include "FileSystem.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <thread>

namespace {

HANDLE OpenLikeAReader(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

size_t FilesIn(const std::string& folder)
{
    size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++n;
    }
    return n;
}

TEST(FileReplace, WaitsForABriefReaderToLetGo)
{
    TempFolder dir;
    std::string path = dir / "config.ini";
    ASSERT_TRUE(WriteFileAtomic(path, "old"));
    HANDLE reader = OpenLikeAReader(path);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::thread release([reader] {
        Sleep(100);
        CloseHandle(reader);
    });
    bool written = WriteFileAtomic(path, "new");
    release.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(FilesIn(dir.Path()), 1u) << "no temporary file is left behind";
}

TEST(FileReplace, AFileHeldOpenKeepsItsOldContent)
{
    TempFolder dir;
    std::string path = dir / "config.ini";
    ASSERT_TRUE(WriteFileAtomic(path, "old"));
    HANDLE reader = OpenLikeAReader(path);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteFileAtomic(path, "new"));
    CloseHandle(reader);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(FileReplace, ProgramFolderIsTheExecutablesFolder)
{
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string folder = GetProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(std::string(exe).rfind(folder, 0), 0u);
    EXPECT_EQ(std::string(exe).find('\\', folder.size()), std::string::npos);
}

} // namespace
