#include "tests/serial/Pty.h"

#include "framework/Application.h"

#include <random>

bool WaitFor(const std::function<bool()>& Done, int TimeoutMs)
{
    return Application->ProcessMessagesUntil(Done, TimeoutMs);
}

void Pump(int Ms)
{
    Application->ProcessMessagesUntil([] { return false; }, Ms);
}

std::vector<uint8_t> RandomBytes(std::size_t Count, unsigned Seed)
{
    std::mt19937 generator(Seed);
    std::vector<uint8_t> bytes(Count);
    for (auto& b : bytes)
        b = static_cast<uint8_t>(generator());
    return bytes;
}
