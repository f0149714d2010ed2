#include "WebPage.h"

#include "Text.h"

#include <utility>

namespace {

// The query the site's first pages expect before real versions are known.
constexpr char kUnknownVersionsQuery[] = "?product=xxx_number&driver=xxx_number&firmware=xxx_number";

std::string VersionedAddress(std::string_view pathStart, std::string_view softwareVersion,
                             std::string_view firmwareVersion)
{
    std::string address(kSupportSite);
    address.append(pathStart).append(kProductNumber);
    address.append("_").append(softwareVersion);
    address.append("_").append(firmwareVersion);
    return address;
}

} // namespace

std::string InitialUpdatePageAddress()
{
    return std::string(kSupportSite) + "driver_check.php" + kUnknownVersionsQuery;
}

std::string InitialHelpPageAddress()
{
    return std::string(kSupportSite) + "support.php" + kUnknownVersionsQuery;
}

std::string UpdatePageAddress(std::string_view softwareVersion, std::string_view firmwareVersion)
{
    return VersionedAddress("support_driver_", softwareVersion, firmwareVersion);
}

std::string HelpPageAddress(std::string_view softwareVersion, std::string_view firmwareVersion)
{
    return VersionedAddress("support_help_", softwareVersion, firmwareVersion);
}

WebPage::WebPage(std::string address) : m_address(std::move(address)) {}

bool WebPage::SetAddress(std::string_view address)
{
    if (EqualNoCase(m_address, address))
        return false;
    m_address.assign(address);
    return true;
}

std::optional<std::string> WebPage::Open()
{
    if (m_opened)
        return std::nullopt;
    m_opened = true;
    return m_address;
}
