// The worker threads over a scripted line, for what a pseudo-terminal cannot show: line errors
// and modem events, a notification window that is gone, writes that take one byte at a time,
// a line that throws.
#include "serial/CommThreads.h"

#include "framework/Application.h"
#include "tests/serial/FakeLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <ostream>
#include <new>
#include <string>
#include <vector>

using namespace platform;

namespace {

// Hands out one scripted read after another, each with the line events that came with it; once
// the script is done, reads wait for the stop handle.
class TScriptedLine final : public TFakeLine {
public:
    struct TStep {
        std::string Bytes;
        uint32_t Errors = 0;
        uint32_t ModemEvent = 0;
    };

    explicit TScriptedLine(std::deque<TStep> Script) : FScript(std::move(Script)) {}

    TIoResult Read(uint8_t* Buffer, std::size_t Capacity, TWaitHandle Stop) override
    {
        ++Reads;
        if (FScript.empty())
            return TFakeLine::Read(Buffer, Capacity, Stop);
        FCurrent = FScript.front();
        FScript.pop_front();
        const std::size_t count = std::min(Capacity, FCurrent.Bytes.size());
        std::memcpy(Buffer, FCurrent.Bytes.data(), count);
        return {TIoResult::TStatus::Completed, count, 0};
    }

    void TakeLineEvents(uint32_t& Errors, uint32_t& ModemEvent) override
    {
        Errors = FCurrent.Errors;
        ModemEvent = FCurrent.ModemEvent;
        FCurrent.Errors = FCurrent.ModemEvent = 0;
    }

    // Takes one byte per call, as a line with a short write time-out might.
    TIoResult Write(const uint8_t* Buffer, std::size_t Length, TWaitHandle) override
    {
        if (Length == 0)
            return {TIoResult::TStatus::Failed, 0, 0};
        Written.push_back(static_cast<char>(Buffer[0]));
        return {TIoResult::TStatus::Completed, 1, 0};
    }

    std::atomic<int> Reads{0};
    std::string Written; // transmit thread only while it runs

private:
    std::deque<TStep> FScript;
    TStep FCurrent;
};

struct TSeen {
    uint32_t Code;
    uint32_t Number; // LParam for events, WParam (the count) for blocks
    std::string Bytes;
};

bool operator==(const TSeen& A, const TSeen& B)
{
    return A.Code == B.Code && A.Number == B.Number && A.Bytes == B.Bytes;
}

void PrintTo(const TSeen& S, std::ostream* Out)
{
    *Out << std::hex << "{0x" << S.Code << ", " << S.Number << ", \"" << S.Bytes << "\"}";
}

} // namespace

TEST(ReadThread, LineEventsComeBeforeTheirBlockErrorFirstAndReceptionGoesOn)
{
    TScriptedLine line({{"ab", CommError::Frame | CommError::Overrun, 12},
                        {"c", 0, CommModem::Carrier},
                        {"d", CommError::RxParity, 0},
                        {"e"}});
    std::vector<TSeen> seen;
    TNotifyWindow window([&](TMessage& M) {
        seen.push_back(M.Code == WM_COMM_RECEIVED
                           ? TSeen{M.Code, M.WParam,
                                   std::string(reinterpret_cast<char*>(M.Block.get()), M.WParam)}
                           : TSeen{M.Code, M.LParam, ""});
    });
    TEvent stop;
    {
        TReadThread thread(&line, stop.Handle(), window.Handle());
        thread.Start();
        ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return seen.size() >= 8; }, 3000));
        stop.Set();
    }
    Application->ProcessMessages();
    const std::vector<TSeen> expected = {
        {WM_COMM_LINE_ERROR, CommError::Frame | CommError::Overrun, ""},
        {WM_COMM_MODEM, 12, ""},
        {WM_COMM_RECEIVED, 2, "ab"},
        {WM_COMM_MODEM, 8, ""},
        {WM_COMM_RECEIVED, 1, "c"},
        {WM_COMM_LINE_ERROR, CommError::RxParity, ""},
        {WM_COMM_RECEIVED, 1, "d"},
        {WM_COMM_RECEIVED, 1, "e"},
    };
    EXPECT_EQ(seen, expected);
}

TEST(ReadThread, FullBlocksKeepTheirPlaceBeforeAPauseEndedOneAndTheLastIsNotHeldBack)
{
    // Full blocks may wait a little for the user-interface thread; the short block that ends
    // a burst must not overtake them, and a full block that nothing follows must still arrive.
    const std::string a(ReadBlockSize, 'a'), b(ReadBlockSize, 'b'), d(ReadBlockSize, 'd');
    TScriptedLine line({{a}, {b}, {"c"}, {d}});
    std::vector<std::string> blocks;
    TNotifyWindow window([&](TMessage& M) {
        blocks.emplace_back(reinterpret_cast<char*>(M.Block.get()), M.WParam);
    });
    TEvent stop;
    {
        TReadThread thread(&line, stop.Handle(), window.Handle());
        thread.Start();
        EXPECT_TRUE(Application->ProcessMessagesUntil([&] { return blocks.size() == 4; }, 5000));
        stop.Set();
    }
    EXPECT_EQ(blocks, (std::vector<std::string>{a, b, "c", d}));
}

// A line that always has a full block ready, as a device flooding faster than the thread
// reads would. It gives up by itself long after the stop handle was set, so that a thread that
// never looks at it still ends and the test can fail instead of hanging.
class TFloodingLine final : public TFakeLine {
public:
    TIoResult Read(uint8_t* Buffer, std::size_t Capacity, TWaitHandle Stop) override
    {
        if (WaitForAny({Stop}, 0) == 0 && ++ReadsAfterStop > 1000)
            return {TIoResult::TStatus::Stopped, 0, 0};
        std::memset(Buffer, 0x55, Capacity);
        ++Reads;
        return {TIoResult::TStatus::Completed, Capacity, 0};
    }

    std::atomic<int> Reads{0};
    int ReadsAfterStop = 0; // receive thread only while it runs
};

TEST(ReadThread, StopsPromptlyWhileTheLineFloods)
{
    TFloodingLine line;
    int blocks = 0;
    TNotifyWindow window([&](TMessage&) { ++blocks; });
    TEvent stop;
    {
        TReadThread thread(&line, stop.Handle(), window.Handle());
        thread.Start();
        ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return blocks > 10; }, 3000));
        stop.Set();
    }
    EXPECT_LE(line.ReadsAfterStop, 1);
}

TEST(ReadThread, AWindowThatIsGoneEndsTheThreadAfterItsFirstBlock)
{
    TScriptedLine line({{"ab"}, {"cd"}});
    TWindowHandle gone;
    {
        TNotifyWindow window([](TMessage&) {});
        gone = window.Handle();
    }
    TEvent stop;
    TReadThread thread(&line, stop.Handle(), gone);
    thread.Start();
    Application->ProcessMessagesUntil([] { return false; }, 100);
    EXPECT_EQ(line.Reads, 1); // a thread still going would have read the second block
    stop.Set();
}

TEST(WriteThread, SendEmptyOnlyAfterStartingAndAfterWrittenRequests)
{
    TScriptedLine line({});
    int empties = 0;
    TNotifyWindow window([&](TMessage& M) { empties += M.Code == WM_COMM_SEND_EMPTY; });
    TEvent stop;
    {
        TWriteThread thread(&line, stop.Handle(), window.Handle());
        thread.Start();
        ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return empties == 1; }, 3000));

        TMessage other;
        other.Code = 0x0999;
        ASSERT_TRUE(thread.Post(std::move(other)));
        Application->ProcessMessagesUntil([] { return false; }, 50);
        EXPECT_EQ(empties, 1); // a wake-up without a request

        TMessage request;
        request.Code = WM_COMM_SEND;
        request.WParam = 5;
        request.Block = AllocBlock(5);
        std::memcpy(request.Block.get(), "abcde", 5);
        ASSERT_TRUE(thread.Post(std::move(request)));
        ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return empties == 2; }, 3000));
        stop.Set();
    }
    EXPECT_EQ(line.Written, "abcde"); // the whole request, before the queue counted as empty
    Application->ProcessMessages();
    EXPECT_EQ(empties, 2);
}

// A line whose every operation throws, once with a standard exception and once with something
// that is not one.
template <typename TThrown>
class TThrowingLine final : public TFakeLine {
public:
    TIoResult Read(uint8_t*, std::size_t, TWaitHandle) override { throw TThrown(); }
    TIoResult Write(const uint8_t*, std::size_t, TWaitHandle) override { throw TThrown(); }
};

struct TNotAStdException {};

template <typename TThrown>
void ExpectBothThreadsEndWithAHangup()
{
    TThrowingLine<TThrown> line;
    std::vector<uint32_t> codes;
    TNotifyWindow window([&](TMessage& M) { codes.push_back(M.Code); });
    TEvent stop;
    {
        TReadThread reader(&line, stop.Handle(), window.Handle());
        reader.Start();
        ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return !codes.empty(); }, 3000));
    }
    EXPECT_EQ(codes, std::vector<uint32_t>{WM_COMM_HANGUP});

    codes.clear();
    TWriteThread writer(&line, stop.Handle(), window.Handle());
    writer.Start();
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return !codes.empty(); }, 3000));
    TMessage request;
    request.Code = WM_COMM_SEND;
    request.WParam = 1;
    request.Block = AllocBlock(1);
    ASSERT_TRUE(writer.Post(std::move(request)));
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return codes.size() >= 2; }, 3000));
    EXPECT_EQ(codes, (std::vector<uint32_t>{WM_COMM_SEND_EMPTY, WM_COMM_HANGUP}));
    // The thread has ended and its queue with it.
    ASSERT_TRUE(Application->ProcessMessagesUntil(
        [&] {
            TMessage late;
            late.Code = WM_COMM_SEND;
            return !writer.Post(std::move(late));
        },
        3000));
}

TEST(CommThreads, AStdExceptionEndsEachThreadWithAHangup)
{
    ExpectBothThreadsEndWithAHangup<std::bad_alloc>();
}

TEST(CommThreads, AnythingElseThrownEndsEachThreadWithAHangup)
{
    ExpectBothThreadsEndWithAHangup<TNotAStdException>();
}
