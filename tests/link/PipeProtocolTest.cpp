#include "PipeProtocol.h"

#include <gtest/gtest.h>

namespace {

TEST(PipeProtocol, ControlFramesRoundTrip)
{
    const uint8_t request[] = {4, 2, 3, 0x29, 1};
    std::vector<uint8_t> bytes = EncodePipeFrame(MakeControlFrame(0x222420, request, 5, 0));
    ASSERT_EQ(bytes.size(), kPipeHeaderSize + 4 + 5);
    std::optional<PipeFrame> frame = DecodePipeFrame(bytes.data(), bytes.size());
    ASSERT_TRUE(frame);
    std::optional<ControlRequest> control = ParseControlFrame(*frame);
    ASSERT_TRUE(control);
    EXPECT_EQ(control->code, 0x222420u);
    EXPECT_EQ(control->outLength, 0u);
    EXPECT_EQ(control->request, std::vector<uint8_t>(request, request + 5));
}

TEST(PipeProtocol, GarbageIsRefused)
{
    std::vector<uint8_t> bytes = EncodePipeFrame({PipeFrameKind::Command, 0, {'s', 't', 'a', 't', 'e'}});
    EXPECT_FALSE(DecodePipeFrame(bytes.data(), bytes.size() - 1)) << "short";
    bytes.push_back(0);
    EXPECT_FALSE(DecodePipeFrame(bytes.data(), bytes.size())) << "long";
    std::vector<uint8_t> badKind = {9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(DecodePipeHeader(badKind.data(), badKind.size()));
    std::vector<uint8_t> huge = {1, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_FALSE(DecodePipeHeader(huge.data(), huge.size()));
    EXPECT_FALSE(DecodePipeHeader(nullptr, 0));
    PipeFrame shortControl{PipeFrameKind::Control, 1, {1, 2}};
    EXPECT_FALSE(ParseControlFrame(shortControl));
    PipeFrame notControl{PipeFrameKind::Open, 0, {0, 0, 0, 0}};
    EXPECT_FALSE(ParseControlFrame(notControl));
}

} // namespace
