#include "TempFolder.h"

#include "FileSystem.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

TempFolder::TempFolder()
{
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    fs::path base =
        fs::temp_directory_path() / ("tolk-test-" + std::to_string(rd()) + "-" + std::to_string(counter.fetch_add(1)));
    fs::create_directories(base);
    m_path = base.string();
    char sep = fs::path::preferred_separator == '\\' ? '\\' : '/';
    if (m_path.back() != sep)
        m_path += sep;
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    fs::remove_all(fs::path(m_path), ec);
}

std::string ReadBytes(const std::string& path)
{
    return ReadWholeFile(path).value_or(std::string());
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(NativePath(path).c_str(), "wb");
    if (!f)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

#ifndef TOLK_TEST_DATA
#define TOLK_TEST_DATA ""
#endif

std::string ReadTestData(const std::string& name)
{
    return ReadBytes(std::string(TOLK_TEST_DATA) + name);
}

std::vector<std::string> FilesBelow(const std::string& folder)
{
    std::vector<std::string> files;
    std::error_code ec;
    const fs::path root(NativePath(folder));
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec))
            files.push_back(it->path().lexically_relative(root).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}
