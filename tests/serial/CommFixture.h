#pragma once
// A component on a pseudo-terminal linked as COM1, recording every event it raises.

#include "serial/Comm.h"
#include "tests/serial/Pty.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

// The message OpenPort raised, or "" when it opened.
inline std::string OpenError(TComm& Comm)
{
    try {
        Comm.OpenPort();
    } catch (const ECommsError& e) {
        EXPECT_STREQ(e.what(), e.Message().c_str());
        return e.Message();
    }
    return "";
}

class CommTest : public ::testing::Test {
protected:
    CommTest()
    {
        Comm.OnReceiveData = [this](TObject* Sender, const void* Buffer, uint16_t Length) {
            EXPECT_EQ(Sender, &Comm);
            const auto* bytes = static_cast<const uint8_t*>(Buffer);
            Blocks.emplace_back(bytes, bytes + Length);
            Terminators.push_back(bytes[Length]);
        };
        Comm.OnRequestHangup = [this](TObject*) { ++Hangups; };
        Comm.OnSendDataEmpty = [this](TObject*) { ++Empties; };
    }

    std::vector<uint8_t> Received() const
    {
        std::vector<uint8_t> all;
        for (const auto& block : Blocks)
            all.insert(all.end(), block.begin(), block.end());
        return all;
    }

    std::vector<std::size_t> BlockSizes() const
    {
        std::vector<std::size_t> sizes;
        for (const auto& block : Blocks)
            sizes.push_back(block.size());
        return sizes;
    }

    // Each name in turn fails to open with its message and leaves the component closed; COM1
    // opens after all of them.
    void ExpectOpeningErrors(const std::vector<std::pair<std::string, std::string>>& Cases)
    {
        for (const auto& [name, message] : Cases) {
            Comm.SetCommName(name);
            EXPECT_EQ(OpenError(Comm), message) << name;
            EXPECT_FALSE(Comm.Opened()) << name;
            const uint8_t byte = 1;
            EXPECT_FALSE(Comm.SendData(&byte, 1));
        }
        Comm.SetCommName("COM1");
        Open();
        EXPECT_TRUE(Comm.Opened());
    }

    // Opens and waits until the transmit thread has reported its empty queue, so the threads
    // are known to be running.
    void Open()
    {
        const int before = Empties;
        Comm.OpenPort();
        ASSERT_TRUE(WaitFor([&] { return Empties > before; }));
    }

    TPortDir Dir;
    std::unique_ptr<TPty> Line = std::make_unique<TPty>(Dir);
    TComm Comm{nullptr};
    std::vector<std::vector<uint8_t>> Blocks;
    std::vector<uint8_t> Terminators;
    int Hangups = 0;
    int Empties = 0;
};
