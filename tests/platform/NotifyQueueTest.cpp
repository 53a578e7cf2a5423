// The shared queue's wake-up rules over a recording backend: which wake-ups each post asks
// for, exactly, with no thread or clock in the way.
#include "platform/NotifyQueue.h"

#include "platform/UiThread.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;
using namespace std::chrono_literals;

namespace {

using TClock = TNotifyQueue::TClock;

const TClock::time_point T0 = TClock::now() + 1h;

std::string Offset(TClock::time_point At)
{
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(At - T0).count());
}

class TRecorder final : public TNotifyQueue::TWakeUps {
public:
    bool Now() override
    {
        Calls.push_back("now");
        return true;
    }
    bool By(TClock::time_point Latest) override
    {
        Calls.push_back("by " + Offset(Latest));
        return HasTimer;
    }
    void Cancel() override { Calls.push_back("cancel"); }

    bool HasTimer = true;
    std::vector<std::string> Calls;
};

// Posts N, to wait until T0 + Ms when Ms is not negative, and answers the wake-ups asked for.
std::vector<std::string> PostAndSee(TNotifyQueue& Queue, TRecorder& Backend, uint32_t N, int Ms)
{
    Backend.Calls.clear();
    EXPECT_TRUE(Ms < 0 ? Queue.Post(TMessage{0, N, 0, {}})
                       : Queue.Post(TMessage{0, N, 0, {}}, T0 + std::chrono::milliseconds(Ms)));
    return Backend.Calls;
}

using TCalls = std::vector<std::string>;

} // namespace

TEST(NotifyQueue, AMessageThatMayWaitSetsTheTimerOnlyWhenNothingEarlierWillWakeTheThread)
{
    TRecorder backend;
    TNotifyQueue queue(backend);
    struct TStep {
        int Ms; // negative: at once
        TCalls Expected;
    };
    const TStep steps[] = {
        {10, {"by 10"}},
        {20, {}},        // the timer goes off earlier and takes it along
        {10, {}},        // as early as the timer
        {5, {"by 5"}},   // earlier: the timer is brought forward
        {-1, {"now"}},   // at once, whatever the timer
        {1, {}},         // a wake-up is on its way
        {-1, {}},
    };
    uint32_t n = 0;
    for (const TStep& step : steps)
        EXPECT_EQ(PostAndSee(queue, backend, n++, step.Ms), step.Expected) << "post " << n - 1;

    std::vector<uint32_t> seen;
    backend.Calls.clear();
    queue.Run([&](TMessage& M) { seen.push_back(M.WParam); }, [] { return false; });
    EXPECT_EQ(seen, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6}));
    // Nothing is left for the timer to wake the thread for.
    EXPECT_EQ(backend.Calls, TCalls{"cancel"});

    // With neither a wake-up nor the timer outstanding, each kind of post asks afresh.
    EXPECT_EQ(PostAndSee(queue, backend, 7, 50), TCalls{"by 50"});
    backend.Calls.clear();
    seen.clear();
    queue.RunDue([&](TMessage& M) { seen.push_back(M.WParam); }, [] { return false; });
    EXPECT_EQ(seen, std::vector<uint32_t>{7});
    EXPECT_EQ(backend.Calls, TCalls{"cancel"});
    EXPECT_EQ(PostAndSee(queue, backend, 8, 50), TCalls{"by 50"});
    EXPECT_EQ(PostAndSee(queue, backend, 9, -1), TCalls{"now"});
}

TEST(NotifyQueue, WithoutATimerAMessageThatMayWaitWakesTheThreadAtOnce)
{
    TRecorder backend;
    backend.HasTimer = false;
    TNotifyQueue queue(backend);
    EXPECT_EQ(PostAndSee(queue, backend, 0, 10), (TCalls{"by 10", "now"}));
    EXPECT_EQ(PostAndSee(queue, backend, 1, 5), TCalls{});
}

TEST(NotifyQueue, APosterHeldBackByMessagesThatMayWaitHasTheThreadWokenAtOnce)
{
    TRecorder backend;
    TNotifyQueue queue(backend);
    for (uint32_t n = 0; n < NotifyWindowRoom; ++n)
        ASSERT_TRUE(queue.Post(TMessage{0, n, 0, {}}, T0));
    backend.Calls.clear();
    TEvent stopped(true);
    EXPECT_FALSE(queue.WaitForRoom(stopped.Handle()));
    EXPECT_EQ(backend.Calls, TCalls{"now"});
}
