// The store's view of files. Paths are formed as the system forms them, with backslashes
// (program folder + "config\" + name + ".rkp"); NativePath turns them into the running platform's
// form, so the store code reads the same on every platform.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

// On POSIX every '\' becomes '/'; on Windows the path is unchanged.
std::string NativePath(std::string_view path);

// The folder of the running executable with a trailing separator; empty when it cannot be found,
// which makes every path relative to the current directory.
std::string GetProgramFolder();

// The whole file, or nothing when it cannot be opened for reading.
std::optional<std::string> ReadWholeFile(const std::string& path);

bool CanOpenForReading(const std::string& path);

// Replaces the file by bytes: a temporary file in the same folder is written and flushed, then
// moved over the target, so a crash leaves either the old or the new file, never a mix. Holds
// DataFileWriteLock while it writes.
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

// Held by every write of a data file in this process, and by a read-modify-write of one around both
// (IniFile::Update), so that threads of one program never lose each other's changes. Recursive, so
// that a read-modify-write can write under it.
std::recursive_mutex& DataFileWriteLock();

// True when the file is gone afterwards (also when it never existed).
bool DeleteFileAt(const std::string& path);

// Copies from over to, replacing an existing file (atomically, as WriteFileAtomic).
bool CopyFileOver(const std::string& from, const std::string& to);

// Creates the folder if it does not exist; true when it exists afterwards.
bool EnsureFolder(const std::string& path);

// The file name of path without folder and extension ("C:\a\b.rkp" gives "b").
std::string FileTitle(std::string_view path);
