// What Windows adds to the notification window's behaviour: its backlog must not keep the
// thread's timers (and, with them, input and painting, which Windows ranks the same way) from
// their turn, although the message loop always hands out posted messages first.
#include "platform/UiThread.h"

#include "framework/Application.h"
#include "platform/win32/Windows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace platform;

namespace {

uint32_t gHandled = 0;
uint32_t gHandledBeforeTimer = 0;
bool gTimerRan = false;

void CALLBACK OnTimer(HWND, UINT, UINT_PTR Id, DWORD)
{
    KillTimer(nullptr, Id);
    gTimerRan = true;
    gHandledBeforeTimer = gHandled;
}

} // namespace

TEST(NotifyWindow, ABacklogLetsADueTimerRunBetweenItsSlices)
{
    constexpr uint32_t Backlog = 1000;
    gHandled = 0;
    gTimerRan = false;
    gHandledBeforeTimer = Backlog;
    TNotifyWindow flooded([](TMessage&) {
        ++gHandled;
        if (!gTimerRan)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    ASSERT_NE(SetTimer(nullptr, 0, USER_TIMER_MINIMUM, OnTimer), 0u);
    for (uint32_t n = 0; n < Backlog; ++n)
        ASSERT_TRUE(flooded.Handle().Post(TMessage{1, n, 0, nullptr}));
    ASSERT_TRUE(Application->ProcessMessagesUntil([] { return gHandled == Backlog; }, 10000));
    EXPECT_TRUE(gTimerRan);
    EXPECT_LT(gHandledBeforeTimer, Backlog / 4);
}
