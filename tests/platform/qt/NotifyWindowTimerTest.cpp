// Messages that may wait, over the real timer that wakes the Qt loop for them.
#include "platform/UiThread.h"

#include "framework/Application.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

using namespace platform;
using namespace std::chrono_literals;

TEST(NotifyWindow, AMessageThatMayWaitIsHandledByItsTimeOrWithTheNextPostInOrder)
{
    std::vector<uint32_t> seen;
    TNotifyWindow window([&](TMessage& M) { seen.push_back(M.WParam); });
    const TWindowHandle handle = window.Handle();
    ASSERT_TRUE(handle.PostWithin(TMessage{1, 1, 0, {}}, 1h));
    EXPECT_FALSE(Application->ProcessMessagesUntil([&] { return !seen.empty(); }, 100));
    ASSERT_TRUE(handle.Post(TMessage{1, 2, 0, {}}));
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return seen.size() == 2; }, 5000));
    // Nothing else is posted: the timer alone wakes the thread.
    ASSERT_TRUE(handle.PostWithin(TMessage{1, 3, 0, {}}, 1h));
    ASSERT_TRUE(handle.PostWithin(TMessage{1, 4, 0, {}}, 1ms));
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return seen.size() == 4; }, 5000));
    EXPECT_EQ(seen, (std::vector<uint32_t>{1, 2, 3, 4}));
}

TEST(NotifyWindow, AHandlerInANestedMessageLoopIsWokenByTheTimerToo)
{
    std::vector<uint32_t> seen;
    bool nestedSaw = false;
    TWindowHandle handle;
    TNotifyWindow window([&](TMessage& M) {
        seen.push_back(M.WParam);
        if (M.WParam == 1) {
            // As a modal dialog shown from a handler that the timer woke would.
            std::thread([&] { handle.PostWithin(TMessage{1, 2, 0, {}}, 1ms); }).join();
            nestedSaw = Application->ProcessMessagesUntil([&] { return seen.size() == 2; }, 5000);
        }
    });
    handle = window.Handle();
    ASSERT_TRUE(handle.PostWithin(TMessage{1, 1, 0, {}}, 1ms));
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return seen.size() == 2; }, 5000));
    EXPECT_TRUE(nestedSaw);
    EXPECT_EQ(seen, (std::vector<uint32_t>{1, 2}));
}
