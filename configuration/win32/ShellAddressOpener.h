// Opens a page address in the user's default browser through the shell.
#pragma once

#include "WebPage.h"

#include <string>

class ShellAddressOpener : public AddressOpener {
public:
    // False for an empty address and when the shell could not open it.
    bool OpenAddress(const std::string& address) override;
};

// The program's one opener, for the pages that are given none.
AddressOpener& DefaultAddressOpener();
