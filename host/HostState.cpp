#include "HostState.h"

std::string FolderWithoutSeparator(const std::string& folder)
{
    std::string out = folder;
    if (!out.empty() && (out.back() == '\\' || out.back() == '/'))
        out.pop_back();
    return out;
}
