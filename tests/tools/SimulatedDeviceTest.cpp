#include "tools/SimulatedDevice.h"

#include <gtest/gtest.h>

using sim::TBytes;

namespace {
TBytes Frame(std::uint8_t code)
{
    return {0xAA, 0x55, code, 0, 0, 0, 0, std::uint8_t(code - 1)};
}
} // namespace

TEST(FrameScanner, FindsFramesSplitAcrossReadsAndAmongOtherBytes)
{
    sim::TFrameScanner scanner;
    TBytes stream = {0x00, 0xAA, 0x13};
    for (std::uint8_t code : {1, 6, 3}) {
        const TBytes f = Frame(code);
        stream.insert(stream.end(), f.begin(), f.end());
    }
    std::vector<std::uint8_t> codes;
    for (std::size_t i = 0; i < stream.size(); i += 5) {
        const auto got = scanner.Feed(&stream[i], std::min<std::size_t>(5, stream.size() - i));
        codes.insert(codes.end(), got.begin(), got.end());
    }
    EXPECT_EQ(codes, (std::vector<std::uint8_t>{1, 6, 3}));
}

TEST(FrameScanner, IgnoresFramesWithAWrongChecksumOrCode)
{
    sim::TFrameScanner scanner;
    TBytes bad = Frame(2);
    bad[7] = 0x07;
    TBytes unknown = {0xAA, 0x55, 7, 0, 0, 0, 0, 6};
    EXPECT_TRUE(scanner.Feed(bad.data(), bad.size()).empty());
    EXPECT_TRUE(scanner.Feed(unknown.data(), unknown.size()).empty());
    const TBytes good = Frame(2);
    EXPECT_EQ(scanner.Feed(good.data(), good.size()), (std::vector<std::uint8_t>{2}));
}

TEST(SimulatedResponse, EndsWithTheChecksumOfTheBytesBeforeIt)
{
    for (std::uint8_t code = 1; code <= 6; ++code) {
        const TBytes block = sim::BuildResponse(code, 512, false);
        ASSERT_EQ(block.size(), 1025u);
        EXPECT_EQ(block.back(), sim::Checksum(block.data(), block.size() - 1)) << int(code);
        const TBytes corrupt = sim::BuildResponse(code, 512, true);
        EXPECT_NE(corrupt.back(), sim::Checksum(corrupt.data(), corrupt.size() - 1));
    }
    EXPECT_EQ(sim::BuildResponse(1, 0, false), TBytes{0x00});
}

TEST(SimulatedResponse, RampRisesFromZeroToNearFullScale)
{
    const TBytes block = sim::BuildResponse(4, 256, false);
    auto sample = [&](int k) { return block[2 * k] * 256 + block[2 * k + 1]; };
    EXPECT_EQ(sample(0), 0);
    for (int k = 1; k < 256; ++k)
        ASSERT_GT(sample(k), sample(k - 1));
    EXPECT_GT(sample(255), 65000);
}
