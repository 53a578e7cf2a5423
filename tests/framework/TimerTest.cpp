#include "framework/Application.h"
#include "framework/Timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>

namespace {
using Clock = std::chrono::steady_clock;
}

TEST(Timer, TicksRepeatedlyOnlyWhenEnabledWithIntervalAndHandler)
{
    TTimer timer(nullptr);
    int ticks = 0;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_FALSE(timer.Running()) << "no handler yet";

    timer.SetInterval(0);
    timer.SetOnTimer([&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    });
    EXPECT_FALSE(timer.Running()) << "a zero interval never ticks";

    timer.SetInterval(10);
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(Application->ProcessMessagesUntil([&] { return ticks >= 3; }, 2000));

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    const int stopped = ticks;
    Application->ProcessMessagesUntil([] { return false; }, 60);
    EXPECT_EQ(ticks, stopped);
}

TEST(Timer, FirstTickWaitsAWholeInterval)
{
    TTimer timer(nullptr);
    timer.SetEnabled(false);
    timer.SetInterval(80);
    Clock::time_point fired{};
    timer.SetOnTimer([&](TObject*) { fired = Clock::now(); });
    const auto start = Clock::now();
    timer.SetEnabled(true);
    ASSERT_TRUE(
        Application->ProcessMessagesUntil([&] { return fired != Clock::time_point{}; }, 2000));
    EXPECT_GE(fired - start, std::chrono::milliseconds(75));
}

TEST(Timer, HandlerThatThrowsReachesErrorDialogAndTimerGoesOn)
{
    std::vector<std::string> shown;
    Application->OnException = [&](TObject*, const std::string& text) { shown.push_back(text); };
    TTimer timer(nullptr);
    timer.SetInterval(5);
    timer.SetOnTimer([](TObject*) { throw Exception("Tick failed"); });
    Application->ProcessMessagesUntil([&] { return shown.size() >= 2; }, 2000);
    Application->OnException = nullptr;
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Tick failed.");
}

TEST(Timer, HandlerCanStopItsOwnTimer)
{
    TTimer timer(nullptr);
    timer.SetInterval(5);
    int ticks = 0;
    timer.SetOnTimer([&](TObject*) {
        ++ticks;
        timer.SetEnabled(false);
    });
    Application->ProcessMessagesUntil([] { return false; }, 60);
    EXPECT_EQ(ticks, 1);
}

TEST(Timer, OwnerFreesIt)
{
    auto* owner = new TComponent(nullptr);
    auto* timer = new TTimer(owner);
    int ticks = 0;
    timer->SetInterval(5);
    timer->SetOnTimer([&](TObject*) { ++ticks; });
    delete owner; // the timer goes with it and never ticks again
    Application->ProcessMessagesUntil([] { return false; }, 30);
    EXPECT_EQ(ticks, 0);
}
