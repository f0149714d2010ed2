// A fresh, empty program folder for one test, removed again at its end. Its path ends in the
// separator, as the program folder does.
#pragma once

#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with a trailing separator.
    const std::string& Path() const { return m_path; }
    // Path() + relative, with '\' kept: the store maps it for the platform.
    std::string operator/(const std::string& relative) const { return m_path + relative; }

private:
    std::string m_path;
};

// Reads a file of the test data folder; empty when missing.
std::string ReadTestData(const std::string& name);
// The whole file at path (a store path, backslashes allowed); empty when missing.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// Every file below folder, in its subfolders too, as sorted relative paths with '/' between the
// parts (an empty list for a missing folder).
std::vector<std::string> FilesBelow(const std::string& folder);
