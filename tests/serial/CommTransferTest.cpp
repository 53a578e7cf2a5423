#include "tests/serial/CommFixture.h"

#include "framework/Application.h"

#include <chrono>
#include <thread>

namespace {

using TClock = std::chrono::steady_clock;

long ElapsedMs(TClock::time_point Since)
{
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(TClock::now() - Since).count());
}

} // namespace

TEST_F(CommTest, EightOneByteSendsArriveInCallOrder)
{
    Open();
    const std::vector<uint8_t> frame = {0xAA, 0x55, 0x03, 0, 0, 0, 0, 0x02};
    for (uint8_t byte : frame)
        ASSERT_TRUE(Comm.SendData(&byte, 1));
    EXPECT_EQ(Line->Read(8, 2000), frame);
}

TEST_F(CommTest, SendDataRefusesEmptyAndClosedRequests)
{
    const uint8_t byte = 0x11;
    EXPECT_FALSE(Comm.SendData(&byte, 1));
    Open();
    EXPECT_FALSE(Comm.SendData(&byte, 0));
    EXPECT_FALSE(Comm.SendData(nullptr, 4));
    ASSERT_TRUE(Comm.SendData(&byte, 1));
    // Only the accepted request reaches the line.
    EXPECT_EQ(Line->Read(2, 300), std::vector<uint8_t>{0x11});
    Comm.ClosePort();
    EXPECT_FALSE(Comm.SendData(&byte, 1));
}

TEST_F(CommTest, TheCallersBufferMayBeReusedAtOnce)
{
    Open();
    std::vector<uint8_t> buffer = {1, 2, 3, 4};
    ASSERT_TRUE(Comm.SendData(buffer.data(), 4));
    buffer = {5, 6, 7, 8};
    ASSERT_TRUE(Comm.SendData(buffer.data(), 4));
    buffer.assign(4, 0);
    EXPECT_EQ(Line->Read(8, 2000), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(CommTest, SendDataEmptyFiresOnceAfterEveryOpenAndOnceAfterEachRunDry)
{
    Open();
    Pump(50);
    EXPECT_EQ(Empties, 1);
    Comm.ClosePort();
    Open();
    Pump(50);
    EXPECT_EQ(Empties, 2);
    const uint8_t frame[] = {1, 2, 3};
    for (const uint8_t& byte : frame)
        ASSERT_TRUE(Comm.SendData(&byte, 1));
    ASSERT_EQ(Line->Read(3, 2000).size(), 3u);
    ASSERT_TRUE(WaitFor([&] { return Empties >= 3; }));
    Pump(50);
    EXPECT_LE(Empties, 5); // one per run-dry: at most one per request
}

TEST_F(CommTest, LongRequestsGoOutWholeAndInOrderThroughWriteTimeOuts)
{
    // Far more than the line holds: every request is written in many pieces, and the write
    // time-outs must not cut any of them short.
    Comm.SetWriteTotalTimeoutMultiplier(1);
    Comm.SetWriteTotalTimeoutConstant(1);
    Open();
    const std::vector<uint8_t> bytes = RandomBytes(3 * 65535, 5);
    for (std::size_t at = 0; at < bytes.size(); at += 65535)
        ASSERT_TRUE(Comm.SendData(bytes.data() + at, 65535));
    EXPECT_TRUE(Line->Read(bytes.size(), 10000) == bytes);
    EXPECT_EQ(Hangups, 0);
}

TEST_F(CommTest, ABurstArrivesAsOneTerminatedBlock)
{
    Open();
    const std::vector<uint8_t> burst = {0xAA, 0x55, 1, 2, 3, 4, 5, 0xFE};
    Line->Write(burst);
    ASSERT_TRUE(WaitFor([&] { return !Blocks.empty(); }));
    Pump(150);
    ASSERT_EQ(Blocks.size(), 1u);
    EXPECT_EQ(Blocks[0], burst);
    EXPECT_EQ(Terminators[0], 0);
}

TEST_F(CommTest, AnUnbrokenStreamIsCutIntoFullBlocksAndTheRest)
{
    Open();
    const std::vector<uint8_t> stream = RandomBytes(5000);
    Line->Write(stream);
    ASSERT_TRUE(WaitFor([&] { return Received().size() >= 5000; }));
    EXPECT_EQ(BlockSizes(), (std::vector<std::size_t>{2048, 2048, 904}));
    EXPECT_EQ(Received(), stream);
    EXPECT_EQ(Terminators, (std::vector<uint8_t>{0, 0, 0}));
}

// With replacement on, the line marks bytes received in error and doubles every 0xFF it passes;
// the block must still hold exactly what was sent, also where a mark falls between two reads.
TEST_F(CommTest, WithErrorReplacementEveryByteValueArrivesAsSent)
{
    Comm.SetReplaceWhenParityError(true);
    Comm.SetReplacedChar('?');
    Open();
    std::vector<uint8_t> sent = RandomBytes(3000, 7);
    for (int i = 0; i < 256; ++i)
        sent[i] = static_cast<uint8_t>(i);
    for (std::size_t i = 2040; i < 2060; ++i)
        sent[i] = 0xFF; // doubled, these straddle the first block's end
    Line->Write(sent);
    ASSERT_TRUE(WaitFor([&] { return Received().size() >= sent.size(); }));
    Pump(150);
    EXPECT_EQ(Received(), sent);
    EXPECT_EQ(BlockSizes(), (std::vector<std::size_t>{2048, 952}));
}

TEST_F(CommTest, APauseLongerThanTheIntervalSeparatesBlocks)
{
    Open();
    Line->Write({1, 2, 3});
    // The pause as the component sees it: a line with a relay of its own between the two ends
    // (a socat pair) may pass two writes on closer together than they were made.
    ASSERT_TRUE(WaitFor([&] { return !Blocks.empty(); }));
    Line->Write({4, 5});
    ASSERT_TRUE(WaitFor([&] { return Received().size() >= 5; }));
    EXPECT_EQ(Blocks, (std::vector<std::vector<uint8_t>>{{1, 2, 3}, {4, 5}}));
}

TEST_F(CommTest, APauseShorterThanTheIntervalKeepsOneBlock)
{
    Comm.SetReadIntervalTimeout(400); // room for a loaded machine to oversleep the pause
    Open();
    Line->Write({1, 2, 3});
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    Line->Write({4, 5});
    ASSERT_TRUE(WaitFor([&] { return Received().size() >= 5; }));
    EXPECT_EQ(Blocks, (std::vector<std::vector<uint8_t>>{{1, 2, 3, 4, 5}}));
}

TEST_F(CommTest, EveryByteOfALongStreamArrivesOnceAndInOrder)
{
    Open();
    const std::vector<uint8_t> stream = RandomBytes(4 << 20, 7);
    std::thread writer([&] {
        // Uneven pieces, so blocks end at every possible place.
        std::size_t at = 0, piece = 1;
        while (at < stream.size()) {
            const std::size_t n = std::min(piece, stream.size() - at);
            Line->Write({stream.begin() + at, stream.begin() + at + n});
            at += n;
            piece = piece * 7 % 9001 + 1;
        }
    });
    const bool all = WaitFor([&] {
        std::size_t total = 0;
        for (const auto& block : Blocks)
            total += block.size();
        return total >= stream.size();
    }, 20000);
    writer.join();
    ASSERT_TRUE(all);
    for (std::size_t size : BlockSizes())
        ASSERT_LE(size, 2048u);
    EXPECT_TRUE(Received() == stream);
    EXPECT_EQ(Hangups, 0);
}

TEST_F(CommTest, AReadThatEndsWithoutBytesEndsReceptionQuietly)
{
    // A total time-out lets a read end empty; reception stops there until the port reopens.
    Comm.SetReadTotalTimeoutConstant(20);
    Open();
    Pump(150);
    Line->Write({1, 2, 3});
    Pump(150);
    EXPECT_TRUE(Blocks.empty());
    EXPECT_EQ(Hangups, 0);
    EXPECT_TRUE(Comm.Opened());

    Comm.ClosePort();
    Comm.SetReadTotalTimeoutConstant(0);
    Open();
    Line->Write({4, 5});
    ASSERT_TRUE(WaitFor([&] { return !Blocks.empty(); }));
    EXPECT_EQ(Blocks, (std::vector<std::vector<uint8_t>>{{4, 5}}));
}

TEST_F(CommTest, ClosingDuringAPendingReadIsPromptAndQuiet)
{
    Open();
    Line->Write({1, 2}); // a read is collecting when the port closes
    const auto start = TClock::now();
    Comm.ClosePort();
    EXPECT_LT(ElapsedMs(start), 500);
    Pump(50);
    EXPECT_EQ(Hangups, 0);
    EXPECT_FALSE(Comm.Opened());
}

TEST_F(CommTest, ClosingDuringALongWriteIsPromptAndDiscardsTheRest)
{
    Open();
    const std::vector<uint8_t> bulk(65535, 0x77);
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(Comm.SendData(bulk.data(), static_cast<uint16_t>(bulk.size())));
    // Nobody reads the far end, so the line fills and the write waits.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto start = TClock::now();
    Comm.ClosePort();
    EXPECT_LT(ElapsedMs(start), 500);
    Pump(50);
    EXPECT_EQ(Hangups, 0);
    EXPECT_LT(Line->Read(4 * 65535, 200).size(), 4u * 65535u);
}

TEST_F(CommTest, BytesLeftOnTheLineWhileClosedAreDiscardedAtTheNextOpen)
{
    Open();
    Comm.ClosePort();
    Line->Write({1, 2, 3}); // sent to a closed port: not part of any answer after reopening
    Pump(20);
    Open();
    Line->Write({4});
    ASSERT_TRUE(WaitFor([&] { return !Blocks.empty(); }));
    Pump(150);
    EXPECT_EQ(Blocks, (std::vector<std::vector<uint8_t>>{{4}}));
}

TEST_F(CommTest, TheFarEndVanishingIsReportedAndTheComponentRecovers)
{
    Open();
    Line->CloseFarEnd();
    ASSERT_TRUE(WaitFor([&] { return Hangups == 1; }));
    Pump(50);
    EXPECT_EQ(Hangups, 1);
    EXPECT_TRUE(Comm.Opened());
    Comm.ClosePort();

    Line = std::make_unique<TPty>(Dir);
    Open();
    Line->Write({9, 8, 7});
    ASSERT_TRUE(WaitFor([&] { return !Blocks.empty(); }));
    EXPECT_EQ(Blocks.back(), (std::vector<uint8_t>{9, 8, 7}));
    const uint8_t byte = 6;
    ASSERT_TRUE(Comm.SendData(&byte, 1));
    EXPECT_EQ(Line->Read(1, 2000), std::vector<uint8_t>{6});
}

TEST_F(CommTest, WritingToAVanishedLineReportsAHangup)
{
    Open();
    Comm.OnRequestHangup = nullptr;
    Line->CloseFarEnd();
    Pump(50);
    int writeHangups = 0;
    Comm.OnRequestHangup = [&](TObject*) { ++writeHangups; };
    const uint8_t byte = 1;
    ASSERT_TRUE(Comm.SendData(&byte, 1));
    ASSERT_TRUE(WaitFor([&] { return writeHangups == 1; }));
    // The transmit thread has ended, so nothing more is accepted until the port reopens.
    EXPECT_TRUE(WaitFor([&] { return !Comm.SendData(&byte, 1); }));
}

TEST_F(CommTest, ABlockPostedBeforeClosePortIsStillDelivered)
{
    Comm.SetReadIntervalTimeout(10);
    Open();
    Line->Write({0xAB, 0xCD});
    // Long enough, many times over, for the interval to end the read and the block to be
    // posted, with the message loop not running, also through a relay on a loaded machine.
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    Comm.ClosePort();
    EXPECT_TRUE(Blocks.empty());
    ASSERT_TRUE(WaitFor([&] { return !Blocks.empty(); }));
    EXPECT_EQ(Blocks[0], (std::vector<uint8_t>{0xAB, 0xCD}));
}

TEST_F(CommTest, AnExceptionFromAHandlerReachesTheErrorDialogAndReceptionGoesOn)
{
    std::string shown;
    Application->OnException = [&](TObject*, const std::string& Text) { shown = Text; };
    int calls = 0;
    Comm.OnReceiveData = [&](TObject*, const void*, uint16_t) {
        if (++calls == 1)
            throw Exception("bad block");
    };
    Open();
    Line->Write({1});
    ASSERT_TRUE(WaitFor([&] { return calls == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Line->Write({2});
    EXPECT_TRUE(WaitFor([&] { return calls == 2; }));
    Application->OnException = nullptr;
    EXPECT_EQ(shown, "bad block.");
}

TEST_F(CommTest, BlocksWithoutAHandlerAreDroppedQuietly)
{
    Comm.OnReceiveData = nullptr;
    Open();
    Line->Write(RandomBytes(3000));
    Pump(1000); // long enough, many times over, for both reads to end on a loaded machine
    Comm.OnReceiveData = [&](TObject*, const void* Buffer, uint16_t Length) {
        const auto* bytes = static_cast<const uint8_t*>(Buffer);
        Blocks.emplace_back(bytes, bytes + Length);
    };
    Line->Write({42});
    ASSERT_TRUE(WaitFor([&] { return !Blocks.empty(); }));
    EXPECT_EQ(Blocks, (std::vector<std::vector<uint8_t>>{{42}}));
}
