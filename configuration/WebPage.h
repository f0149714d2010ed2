// The update and help pages as data: the address each page holds, the one opening of a page, and
// the addresses on the maker's support site that carry the software and firmware versions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The maker's support site (with its trailing slash) and the keyboard's product article number;
// every page address is built from these two and nowhere else.
inline constexpr char kSupportSite[] = "https://support.zentor.com/";
inline constexpr char kProductNumber[] = "ZT5K";

// The addresses the pages hold before the main window gives them the real ones.
std::string InitialUpdatePageAddress();
std::string InitialHelpPageAddress();

// The addresses the main window gives the pages: support site + "support_driver_" (update page) or
// "support_help_" (help page) + product number + "_" + software version text + "_" + firmware
// version text, the texts as the main window shows them ("1.28", "N/A").
std::string UpdatePageAddress(std::string_view softwareVersion, std::string_view firmwareVersion);
std::string HelpPageAddress(std::string_view softwareVersion, std::string_view firmwareVersion);

// Opens an address outside the program (in the user's default browser): the way a page is still
// shown where the embedded browser cannot be made. False when nothing could be opened.
class AddressOpener {
public:
    virtual ~AddressOpener() = default;
    virtual bool OpenAddress(const std::string& address) = 0;
};

// One page: its address, and whether it was opened. A page is opened once and stays open; a later
// address change is kept for nothing but is never loaded into the open page.
class WebPage {
public:
    explicit WebPage(std::string address);

    const std::string& Address() const { return m_address; }
    // Replaces the address unless it is the same without regard to case; true when it changed.
    bool SetAddress(std::string_view address);

    // Marks the page opened and answers the address to load (the one held at this moment); nothing
    // when the page was opened already, so nothing is ever loaded a second time.
    std::optional<std::string> Open();
    bool IsOpened() const { return m_opened; }

private:
    std::string m_address;
    bool m_opened = false;
};
