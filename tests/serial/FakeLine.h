#pragma once
// The base of the scripted lines that stand in for a serial port in thread tests: a line that
// accepts every setting, reports no line events, takes whole writes and, when read, waits for
// the stop handle. A test overrides only what its script changes.

#include "platform/SerialDevice.h"

class TFakeLine : public platform::TSerialDevice {
public:
    using TCommTimeouts = platform::TCommTimeouts;
    using TDcb = platform::TDcb;
    using TIoResult = platform::TIoResult;
    using TWaitHandle = platform::TWaitHandle;

    bool SetupComm(uint32_t, uint32_t) override { return true; }
    bool GetCommState(TDcb&) override { return true; }
    bool SetCommState(const TDcb&) override { return true; }
    bool SetCommTimeouts(const TCommTimeouts&) override { return true; }
    void Purge(uint32_t) override {}

    TIoResult Read(uint8_t*, std::size_t, TWaitHandle Stop) override
    {
        platform::WaitForAny({Stop});
        return {TIoResult::TStatus::Stopped, 0, 0};
    }

    void TakeLineEvents(uint32_t& Errors, uint32_t& ModemEvent) override
    {
        Errors = ModemEvent = 0;
    }

    TIoResult Write(const uint8_t*, std::size_t Length, TWaitHandle) override
    {
        return {TIoResult::TStatus::Completed, Length, 0};
    }
};
