// What the game profile dialog asks the file-open dialog when the user browses for a game file: the
// texts are decided here, the dialog only hands them to the system.
#pragma once

#include "Records.h"

#include <cstddef>
#include <string>
#include <string_view>

// Longest profile name the game profile dialog lets the user type.
constexpr unsigned kGameProfileNameLimit = 20;

// A filter written as "description|pattern|description|pattern|" in the form the common file
// dialogs read: the parts separated by zero bytes and the list closed by an empty part, so the
// result holds both closing zeros itself.
std::string FileDialogFilter(std::string_view barSeparated);

struct GameFileQuestion {
    std::string filter;           // only program files
    std::string defaultExtension; // "exe": the dialog appends it to a name typed without one
    std::string initialFile;      // ".exe" in the desktop folder, so the dialog opens there
};

// desktopFolder without a trailing separator, as the shell gives it; empty when it is unknown.
GameFileQuestion GameFileQuestionFor(std::string_view desktopFolder);
