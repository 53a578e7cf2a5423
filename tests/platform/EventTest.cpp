#include "platform/Sync.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace platform;

TEST(Event, StaysSignalledUntilReset)
{
    TEvent event;
    EXPECT_FALSE(event.IsSet());
    event.Set();
    event.Set();
    EXPECT_TRUE(event.IsSet());
    EXPECT_EQ(WaitForAny({event.Handle()}, 0), 0);
    EXPECT_EQ(WaitForAny({event.Handle()}, 0), 0);
    event.Reset();
    EXPECT_FALSE(event.IsSet());
    EXPECT_EQ(WaitForAny({event.Handle()}, 10), WaitTimeout);
    EXPECT_TRUE(TEvent(true).IsSet());
}

TEST(Event, WaitReportsTheFirstSignalledInListOrder)
{
    TEvent a, b, c;
    c.Set();
    b.Set();
    EXPECT_EQ(WaitForAny({a.Handle(), b.Handle(), c.Handle()}), 1);
    EXPECT_EQ(WaitForAny({c.Handle(), b.Handle()}), 0);
    EXPECT_EQ(WaitForAny({TWaitHandle{}}, 0), WaitFailed);
}

TEST(Event, IsSignalledFollowsEventsAndQueues)
{
    TEvent event;
    TMessageQueue queue;
    EXPECT_FALSE(IsSignalled(event.Handle()));
    EXPECT_FALSE(IsSignalled(queue.Handle()));
    event.Set();
    ASSERT_TRUE(queue.Post(TMessage{}));
    EXPECT_TRUE(IsSignalled(event.Handle()));
    EXPECT_TRUE(IsSignalled(queue.Handle()));
    event.Reset();
    EXPECT_FALSE(IsSignalled(event.Handle()));
}

TEST(Event, AWaitTakesUpToItsFixedNumberOfHandles)
{
    TEvent a, b, c, d, e;
    e.Set();
    d.Set();
    EXPECT_EQ(WaitForAny({a.Handle(), b.Handle(), c.Handle(), d.Handle()}), 3);
    EXPECT_EQ(WaitForAny({a.Handle(), b.Handle(), c.Handle(), d.Handle(), e.Handle()}),
              WaitFailed);
}

TEST(Event, WakesAThreadWaitingOnIt)
{
    TEvent stop, other;
    int woken = -3;
    std::thread waiter([&] { woken = WaitForAny({stop.Handle(), other.Handle()}, 5000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    other.Set();
    waiter.join();
    EXPECT_EQ(woken, 1);
}

namespace {

TMessage Numbered(uint32_t N)
{
    TMessage message;
    message.Code = N;
    message.Block = AllocBlock(1);
    message.Block[0] = static_cast<uint8_t>(N);
    return message;
}

} // namespace

TEST(MessageQueue, FirstInFirstOutAndSignalledWhileNotEmpty)
{
    TMessageQueue queue;
    EXPECT_EQ(WaitForAny({queue.Handle()}, 0), WaitTimeout);
    for (uint32_t n = 1; n <= 3; ++n)
        ASSERT_TRUE(queue.Post(Numbered(n)));
    TMessage taken;
    for (uint32_t n = 1; n <= 3; ++n) {
        EXPECT_EQ(WaitForAny({queue.Handle()}, 0), 0);
        ASSERT_TRUE(queue.Take(taken));
        EXPECT_EQ(taken.Code, n);
        EXPECT_EQ(taken.Block[0], n);
        EXPECT_EQ(taken.Block[1], 0);
    }
    EXPECT_FALSE(queue.Take(taken));
    EXPECT_EQ(WaitForAny({queue.Handle()}, 0), WaitTimeout);
}

TEST(MessageQueue, PostsFromAnotherThreadArriveInOrder)
{
    TMessageQueue queue;
    constexpr uint32_t Count = 20000;
    std::thread poster([&] {
        for (uint32_t n = 0; n < Count; ++n)
            queue.Post(Numbered(n));
    });
    uint32_t next = 0;
    while (next < Count) {
        ASSERT_EQ(WaitForAny({queue.Handle()}, 5000), 0);
        TMessage taken;
        while (queue.Take(taken))
            ASSERT_EQ(taken.Code, next++);
    }
    poster.join();
}

TEST(MessageQueue, AClosedQueueRefusesPostsAndDropsWhatItHeld)
{
    TMessageQueue queue;
    ASSERT_TRUE(queue.Post(Numbered(1)));
    queue.Close();
    EXPECT_FALSE(queue.Post(Numbered(2)));
    TMessage taken;
    EXPECT_FALSE(queue.Take(taken));
    EXPECT_EQ(WaitForAny({queue.Handle()}, 0), WaitTimeout);
}
