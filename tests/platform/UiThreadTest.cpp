#include "platform/UiThread.h"

#include "framework/Application.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using namespace platform;

namespace {

TMessage Numbered(uint32_t Code, uint32_t N)
{
    TMessage message;
    message.Code = Code;
    message.WParam = N;
    return message;
}

} // namespace

TEST(NotifyWindow, RunsPostsOnTheUiThreadInEachThreadsOrder)
{
    std::vector<std::pair<uint32_t, uint32_t>> seen;
    bool onUiThread = true;
    const auto uiThread = std::this_thread::get_id();
    TNotifyWindow window([&](TMessage& M) {
        onUiThread = onUiThread && std::this_thread::get_id() == uiThread;
        seen.emplace_back(M.Code, M.WParam);
    });
    constexpr uint32_t Count = 2000;
    auto post = [&](uint32_t Code) {
        const TWindowHandle handle = window.Handle();
        for (uint32_t n = 0; n < Count; ++n)
            ASSERT_TRUE(handle.Post(Numbered(Code, n)));
    };
    std::thread a(post, 1), b(post, 2);
    a.join();
    b.join();
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return seen.size() == 2 * Count; }, 5000));
    EXPECT_TRUE(onUiThread);
    uint32_t next[3] = {0, 0, 0};
    for (auto [code, n] : seen)
        ASSERT_EQ(n, next[code]++);
}

TEST(NotifyWindow, PostsToAWindowThatIsGoneFail)
{
    int calls = 0;
    TWindowHandle handle;
    EXPECT_FALSE(handle.Post(Numbered(1, 1)));
    {
        TNotifyWindow window([&](TMessage&) { ++calls; });
        handle = window.Handle();
        TMessage withBlock = Numbered(1, 2);
        withBlock.Block = AllocBlock(100);
        // Still waiting when the window goes: dropped with its block, never run.
        EXPECT_TRUE(handle.Post(std::move(withBlock)));
    }
    EXPECT_FALSE(handle.Post(Numbered(1, 3)));
    Application->ProcessMessages();
    EXPECT_EQ(calls, 0);
}

TEST(NotifyWindow, APosterWaitsForRoomOnlyWhileTheWindowIsFullAndStillHearsItsStop)
{
    std::size_t handled = 0;
    TWindowHandle handle;
    TEvent stopped(true), running(false);
    {
        TNotifyWindow window([&](TMessage&) { ++handled; });
        handle = window.Handle();
        for (std::size_t n = 1; n < NotifyWindowRoom; ++n)
            ASSERT_TRUE(handle.Post(Numbered(1, uint32_t(n))));
        EXPECT_TRUE(handle.WaitForRoom(stopped.Handle()));
        ASSERT_TRUE(handle.Post(Numbered(1, 0)));
        EXPECT_FALSE(handle.WaitForRoom(stopped.Handle()));

        std::atomic<bool> room{false};
        std::thread poster([&] { room = handle.WaitForRoom(running.Handle()); });
        EXPECT_TRUE(Application->ProcessMessagesUntil([&] { return room.load(); }, 5000));
        poster.join();
        EXPECT_GE(handled, 1u);
        for (std::size_t n = 0; n < NotifyWindowRoom; ++n)
            ASSERT_TRUE(handle.Post(Numbered(1, 0)));
    }
    // A full window that is gone holds nobody back; the post that follows fails.
    EXPECT_TRUE(handle.WaitForRoom(running.Handle()));
    EXPECT_FALSE(handle.Post(Numbered(1, 0)));
}

TEST(NotifyWindow, AHandlerInANestedMessageLoopStillReceivesWhatFollows)
{
    std::vector<uint32_t> seen;
    TWindowHandle handle;
    TNotifyWindow window([&](TMessage& M) {
        seen.push_back(M.WParam);
        if (M.WParam == 1) {
            // As a modal dialog shown from a handler would.
            std::thread([&] { handle.Post(Numbered(1, 3)); }).join();
            Application->ProcessMessagesUntil([&] { return seen.size() == 3; }, 2000);
        }
    });
    handle = window.Handle();
    ASSERT_TRUE(handle.Post(Numbered(1, 1)));
    ASSERT_TRUE(handle.Post(Numbered(1, 2)));
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return seen.size() == 3; }, 2000));
    Application->ProcessMessages();
    EXPECT_EQ(seen, (std::vector<uint32_t>{1, 2, 3}));
}

TEST(NotifyWindow, ABacklogLeavesTheUiThreadFreeForOtherWork)
{
    // A line delivering faster than the handler copes with: other work on the user-interface
    // thread (here a second window's message, posted after the backlog) must still get its turn
    // long before the backlog is worked off.
    constexpr uint32_t Backlog = 1000;
    uint32_t handled = 0, handledBeforeOther = Backlog;
    bool otherRan = false;
    TNotifyWindow flooded([&](TMessage&) {
        ++handled;
        if (!otherRan)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    TNotifyWindow other([&](TMessage&) {
        otherRan = true;
        handledBeforeOther = handled;
    });
    for (uint32_t n = 0; n < Backlog; ++n)
        ASSERT_TRUE(flooded.Handle().Post(Numbered(1, n)));
    ASSERT_TRUE(other.Handle().Post(Numbered(2, 0)));
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return handled == Backlog; }, 5000));
    EXPECT_TRUE(otherRan);
    EXPECT_LT(handledBeforeOther, Backlog / 4);
}

TEST(NotifyWindow, AHandlerThatKeepsPostingDoesNotHoldTheUiThread)
{
    // Each message brings the next, as an endless flood would; the message loop must still
    // come round to check its own conditions.
    uint32_t handled = 0;
    TWindowHandle handle;
    TNotifyWindow window([&](TMessage&) {
        if (++handled < 1000000)
            handle.Post(Numbered(1, handled));
    });
    handle = window.Handle();
    ASSERT_TRUE(handle.Post(Numbered(1, 0)));
    ASSERT_TRUE(Application->ProcessMessagesUntil([&] { return handled > 0; }, 5000));
    EXPECT_LT(handled, 1000000u);
}
