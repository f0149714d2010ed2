#include "WebPage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(WebPageAddresses, VersionedPathsCarrySoftwareThenFirmwareOnTheSupportSite)
{
    EXPECT_EQ("https://support.zentor.com/support_driver_ZT5K_1.28_N/A", UpdatePageAddress("1.28", "N/A"));
    EXPECT_EQ("https://support.zentor.com/support_help_ZT5K_1.28_1.05", HelpPageAddress("1.28", "1.05"));
    // Version texts are taken as they are, even ones that look like format directives.
    EXPECT_EQ("https://support.zentor.com/support_help_ZT5K_%s_%d", HelpPageAddress("%s", "%d"));
}

TEST(WebPageAddresses, InitialAddressesAskWithUnknownVersions)
{
    EXPECT_EQ("https://support.zentor.com/driver_check.php?product=xxx_number&driver=xxx_number&firmware=xxx_number",
              InitialUpdatePageAddress());
    EXPECT_EQ("https://support.zentor.com/support.php?product=xxx_number&driver=xxx_number&firmware=xxx_number",
              InitialHelpPageAddress());
}

TEST(WebPageState, AddressChangesOnlyWhenItDiffersBeyondCase)
{
    WebPage page(InitialUpdatePageAddress());
    EXPECT_TRUE(page.SetAddress(UpdatePageAddress("1.28", "N/A")));
    EXPECT_EQ(UpdatePageAddress("1.28", "N/A"), page.Address());

    EXPECT_FALSE(page.SetAddress("HTTPS://Support.Zentor.com/SUPPORT_DRIVER_zt5k_1.28_n/a"));
    EXPECT_EQ(UpdatePageAddress("1.28", "N/A"), page.Address()) << "the stored spelling is kept";

    EXPECT_TRUE(page.SetAddress(UpdatePageAddress("1.28", "1.05")));
    EXPECT_EQ(UpdatePageAddress("1.28", "1.05"), page.Address());
    EXPECT_TRUE(page.SetAddress(""));
    EXPECT_EQ("", page.Address());
}

TEST(WebPageState, OpeningLoadsTheAddressHeldAtThatMomentAndHappensOnce)
{
    // Opened before the keyboard was found: the page shows the firmware text of that time.
    WebPage page(InitialUpdatePageAddress());
    EXPECT_FALSE(page.IsOpened());
    page.SetAddress(UpdatePageAddress("1.28", "N/A"));
    EXPECT_EQ(std::optional<std::string>(UpdatePageAddress("1.28", "N/A")), page.Open());
    EXPECT_TRUE(page.IsOpened());

    // The keyboard arrives afterwards: the address is renewed but the open page is not reloaded.
    EXPECT_TRUE(page.SetAddress(UpdatePageAddress("1.28", "1.05")));
    EXPECT_EQ(UpdatePageAddress("1.28", "1.05"), page.Address());
    EXPECT_EQ(std::nullopt, page.Open());
    EXPECT_TRUE(page.IsOpened());
}

TEST(WebPageState, APageNeverGivenAnAddressOpensItsInitialOne)
{
    WebPage page(InitialHelpPageAddress());
    EXPECT_EQ(std::optional<std::string>(InitialHelpPageAddress()), page.Open());
}

} // namespace
