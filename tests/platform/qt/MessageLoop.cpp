#include "tests/platform/MessageLoop.h"

#include "framework/Application.h"

bool HandleMessagesUntil(const std::function<bool()>& Done, int TimeoutMs)
{
    return Application->ProcessMessagesUntil(Done, TimeoutMs);
}

void HandleWaitingMessages() { Application->ProcessMessages(); }
