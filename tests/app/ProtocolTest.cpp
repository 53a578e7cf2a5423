// The protocol operations against the frames and blocks worked out by hand, and against
// printf as an independent hex formatter.
#include "app/Protocol.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

TEST(TestFrame, EachCommandHasItsBytesAndText)
{
    const struct {
        std::uint8_t Code;
        TTestFrame Bytes;
        const char* Text;
    } rows[] = {
        {1, {0xAA, 0x55, 0x01, 0, 0, 0, 0, 0x00}, "AA55010000000000"},
        {2, {0xAA, 0x55, 0x02, 0, 0, 0, 0, 0x01}, "AA55020000000001"},
        {3, {0xAA, 0x55, 0x03, 0, 0, 0, 0, 0x02}, "AA55030000000002"},
        {4, {0xAA, 0x55, 0x04, 0, 0, 0, 0, 0x03}, "AA55040000000003"},
        {5, {0xAA, 0x55, 0x05, 0, 0, 0, 0, 0x04}, "AA55050000000004"},
        {6, {0xAA, 0x55, 0x06, 0, 0, 0, 0, 0x05}, "AA55060000000005"},
    };
    for (const auto& row : rows) {
        const TTestFrame frame = BuildTestFrame(row.Code);
        EXPECT_EQ(frame, row.Bytes) << int(row.Code);
        EXPECT_EQ(ResponseHexText(frame.data(), frame.size()), row.Text);
    }
}

TEST(ResponseBlock, ChecksumAndSamplesOfTheWorkedExamples)
{
    const struct {
        TBytes Block;
        bool Passes;
        std::vector<std::int32_t> Samples;
    } rows[] = {
        {{0x01, 0x02, 0x03, 0x06}, true, {258, 774}},       // the checksum is a low byte
        {{0x01, 0x00, 0x02, 0x00, 0x03}, true, {256, 512}}, // the odd checksum byte is no sample
        {{0xFF, 0xFF, 0x01, 0xFF}, true, {65535, 511}},     // the sum 0x1FF by its low 8 bits
        {{0x01, 0x02, 0x03, 0x07}, false, {258, 775}},
        {{0x00}, true, {}}, // the sum of no bytes is 0
        {{0x01}, false, {}},
        {{0xFF}, false, {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ResponseChecksumOk(row.Block.data(), row.Block.size()), row.Passes)
            << ResponseHexText(row.Block.data(), row.Block.size());
        EXPECT_EQ(DecodeSamples(row.Block.data(), row.Block.size()), row.Samples);
    }
}

TEST(ResponseBlock, LargestBlockGivesItsTextAndSamplesAndSumsWithoutWrapping)
{
    // 2047 bytes of FF sum to 521985 = 0x7F701: only the low byte 01 may be compared.
    TBytes block(2048, 0xFF);
    block.back() = 0x01;
    EXPECT_TRUE(ResponseChecksumOk(block.data(), block.size()));
    block.back() = 0xFF;
    EXPECT_FALSE(ResponseChecksumOk(block.data(), block.size()));

    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = std::uint8_t(i * 7 + 3);
    std::string expected;
    for (std::uint8_t b : block) {
        char two[3];
        std::snprintf(two, sizeof two, "%02X", b);
        expected += two;
    }
    EXPECT_EQ(ResponseHexText(block.data(), block.size()), expected);
    const auto samples = DecodeSamples(block.data(), block.size());
    ASSERT_EQ(samples.size(), 1024u);
    EXPECT_EQ(samples[1023], block[2046] * 256 + block[2047]);
}

// Accepts the first Accepted calls, refuses the rest, and records what it was handed.
struct TFakePort {
    int Accepted;
    TBytes Sent;
    std::vector<std::uint16_t> Lengths;
    bool SendData(const void* Buffer, std::uint16_t Length)
    {
        Lengths.push_back(Length);
        if (int(Sent.size()) == Accepted)
            return false;
        Sent.push_back(*static_cast<const std::uint8_t*>(Buffer));
        return true;
    }
};

TEST(SendTestFrame, SendsByteByByteAndStopsAtTheFirstRefusal)
{
    const TTestFrame frame = BuildTestFrame(4);
    for (int accepted = 0; accepted <= 8; ++accepted) {
        TFakePort port{accepted, {}, {}};
        EXPECT_EQ(SendTestFrame(port, frame), accepted == 8);
        EXPECT_EQ(port.Sent, TBytes(frame.begin(), frame.begin() + accepted));
        // The refused byte was offered, nothing after it.
        EXPECT_EQ(port.Lengths, std::vector<std::uint16_t>(std::min(accepted + 1, 8), 1));
    }
}

TEST(PacketCounter, CountsOnAndWrapsAtThe32BitLimit)
{
    EXPECT_EQ(NextPacketCount(0), 1);
    EXPECT_EQ(NextPacketCount(-1), 0);
    EXPECT_EQ(NextPacketCount(INT32_MAX), INT32_MIN);
    EXPECT_EQ(NextPacketCount(INT32_MIN), INT32_MIN + 1);
}

} // namespace
