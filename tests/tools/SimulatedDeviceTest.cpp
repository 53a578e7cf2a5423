#include "tools/SimulatedDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using sim::TBytes;
using TKind = sim::TScanEvent::TKind;

namespace {

TBytes Frame(std::uint8_t code) { return {0xAA, 0x55, code, 0, 0, 0, 0, std::uint8_t(code - 1)}; }

void Append(TBytes& To, const TBytes& Bytes) { To.insert(To.end(), Bytes.begin(), Bytes.end()); }

TEST(FrameScanner, FindsFramesSplitAcrossReadsAndReportsWhatItSkips)
{
    sim::TFrameScanner scanner;
    TBytes stream = {0x00, 0x13};
    for (std::uint8_t code : {1, 6, 3})
        Append(stream, Frame(code));
    std::vector<sim::TScanEvent> events;
    for (std::size_t i = 0; i < stream.size(); i += 5) {
        auto got = scanner.Feed(&stream[i], std::min<std::size_t>(5, stream.size() - i));
        events.insert(events.end(), got.begin(), got.end());
    }
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].Kind, TKind::Skipped);
    EXPECT_EQ(events[0].Bytes, (TBytes{0x00, 0x13}));
    const std::uint8_t codes[] = {1, 6, 3};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(events[i + 1].Kind, TKind::Frame);
        EXPECT_EQ(events[i + 1].Code, codes[i]);
    }
}

TEST(FrameScanner, ReportsFramesWithAWrongSyncChecksumOrCodeInsteadOfAnswering)
{
    TBytes badChecksum = Frame(2);
    badChecksum[7] = 0x07;
    const TBytes badCode = {0xAA, 0x55, 7, 0, 0, 0, 0, 6};
    const TBytes badSync = {0xAA, 0x56, 2, 0, 0, 0, 0, 1};
    for (const TBytes& bad : {badChecksum, badCode}) {
        sim::TFrameScanner scanner;
        const auto events = scanner.Feed(bad.data(), bad.size());
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].Kind, TKind::BadFrame);
        EXPECT_EQ(events[0].Bytes, bad);
    }
    sim::TFrameScanner scanner;
    TBytes stream = badSync;
    Append(stream, Frame(2));
    const auto events = scanner.Feed(stream.data(), stream.size());
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].Kind, TKind::Skipped);
    EXPECT_EQ(events[0].Bytes, badSync);
    EXPECT_EQ(events[1].Kind, TKind::Frame);
    EXPECT_EQ(events[1].Code, 2);
}

TEST(SimulatedResponse, EachCommandHasItsAnswerAndChecksum)
{
    const struct {
        std::uint8_t Code;
        TBytes Payload; // empty: a waveform of the given samples, checked below
    } rows[] = {
        {1, {0, '1', 0, '2', 0, '3', 0, '#'}},
        {2, {}},
        {3, {}},
        {4, {'8', '9', '5', '5', '0', '3', '1', '0', '0', '0',
             '0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}},
        {5, {}},
        {6, {'O', 'K'}},
    };
    for (const auto& row : rows) {
        const TBytes block = sim::BuildResponse(row.Code, 300, false);
        const TBytes payload(block.begin(), block.end() - 1);
        if (!row.Payload.empty())
            EXPECT_EQ(payload, row.Payload) << int(row.Code);
        else
            EXPECT_EQ(payload.size(), 600u) << int(row.Code);
        unsigned sum = 0;
        for (std::uint8_t b : payload)
            sum += b;
        EXPECT_EQ(block.back(), sum % 256) << int(row.Code);
        EXPECT_EQ(sim::BuildResponse(row.Code, 300, true).back(), (sum + 1) % 256);
    }
    EXPECT_TRUE(sim::BuildResponse(7, 300, false).empty());
}

std::vector<int> Samples(std::uint8_t Code, int Count)
{
    const TBytes block = sim::BuildResponse(Code, Count, false);
    std::vector<int> samples;
    for (std::size_t k = 0; k + 1 < block.size(); k += 2)
        samples.push_back(block[k] * 256 + block[k + 1]);
    return samples;
}

TEST(SimulatedResponse, WaveformsHaveTheirShapes)
{
    const std::vector<int> ramp = Samples(5, 256);
    EXPECT_EQ(ramp.front(), 0);
    for (std::size_t k = 1; k < ramp.size(); ++k)
        ASSERT_GT(ramp[k], ramp[k - 1]);
    EXPECT_GT(ramp.back(), 65000);

    const std::vector<int> square = Samples(3, 400);
    EXPECT_EQ(std::set<int>(square.begin(), square.end()), (std::set<int>{12000, 52000}));
    int edges = 0;
    for (std::size_t k = 1; k < square.size(); ++k)
        edges += square[k] != square[k - 1];
    EXPECT_EQ(edges, 7); // eight half-periods
}

} // namespace
