// The serial line over the Windows communications API, opened for overlapped I/O: a read, a
// write and a wait for line events may all be pending at once on the one handle, and each
// wait sleeps on the stop event together with the request's own event.
#include "platform/SerialDevice.h"
#include "platform/win32/Windows.h"

#include <cstddef>
#include <cstring>

namespace platform {

namespace {

// The device control block and the time-outs are the platform's own records, field for field.
static_assert(sizeof(TDcb) == sizeof(DCB));
static_assert(offsetof(TDcb, XonLim) == offsetof(DCB, XonLim));
static_assert(offsetof(TDcb, EvtChar) == offsetof(DCB, EvtChar));
static_assert(PurgeFlag::RxClear == PURGE_RXCLEAR && PurgeFlag::TxAbort == PURGE_TXABORT);
static_assert(CommError::RxOver == CE_RXOVER && CommError::Overrun == CE_OVERRUN &&
              CommError::RxParity == CE_RXPARITY && CommError::Frame == CE_FRAME &&
              CommError::Break == CE_BREAK);

constexpr DWORD kLineEvents = EV_RLSD | EV_ERR | EV_RING;
constexpr DWORD kLineErrors = CE_RXOVER | CE_OVERRUN | CE_RXPARITY | CE_FRAME | CE_BREAK;

// An overlapped record with its own manual-reset event.
struct TRequest {
    TRequest() { Overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr); }
    ~TRequest()
    {
        if (Overlapped.hEvent)
            CloseHandle(Overlapped.hEvent);
    }
    TRequest(const TRequest&) = delete;
    TRequest& operator=(const TRequest&) = delete;
    OVERLAPPED Overlapped{};
};

TIoResult FailureOf(DWORD Error, DWORD Done = 0)
{
    // A request whose total time-out passed has moved what it moved: Windows completes it so,
    // Wine fails it with a time-out error.
    if (Error == ERROR_TIMEOUT)
        return {TIoResult::TStatus::Completed, Done, 0};
    // A closed far end, an unplugged adapter: the line is gone rather than broken.
    const bool gone = Error == ERROR_BROKEN_PIPE || Error == ERROR_DEVICE_REMOVED ||
                      Error == ERROR_BAD_COMMAND || Error == ERROR_INVALID_HANDLE;
    return {gone ? TIoResult::TStatus::HungUp : TIoResult::TStatus::Failed, 0, int(Error)};
}

class TWin32SerialDevice final : public TSerialDevice {
public:
    explicit TWin32SerialDevice(HANDLE Port) : FPort(Port)
    {
        FWatching = SetCommMask(FPort, kLineEvents) && ArmEventWait();
    }

    ~TWin32SerialDevice() override
    {
        // The event wait writes into this object until it has finished.
        if (FEventPending) {
            CancelIoEx(FPort, &FEventWait.Overlapped);
            DWORD ignored;
            GetOverlappedResult(FPort, &FEventWait.Overlapped, &ignored, TRUE);
        }
        CloseHandle(FPort);
    }

    bool SetupComm(uint32_t InQueue, uint32_t OutQueue) override
    {
        return ::SetupComm(FPort, InQueue, OutQueue);
    }

    bool GetCommState(TDcb& Dcb) override
    {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!::GetCommState(FPort, &dcb))
            return false;
        std::memcpy(static_cast<void*>(&Dcb), &dcb, sizeof dcb);
        return true;
    }

    bool SetCommState(const TDcb& Dcb) override
    {
        DCB dcb;
        std::memcpy(&dcb, &Dcb, sizeof dcb);
        return ::SetCommState(FPort, &dcb);
    }

    bool SetCommTimeouts(const TCommTimeouts& Timeouts) override
    {
        COMMTIMEOUTS t{Timeouts.ReadIntervalTimeout, Timeouts.ReadTotalTimeoutMultiplier,
                       Timeouts.ReadTotalTimeoutConstant, Timeouts.WriteTotalTimeoutMultiplier,
                       Timeouts.WriteTotalTimeoutConstant};
        return ::SetCommTimeouts(FPort, &t);
    }

    void Purge(uint32_t Flags) override { PurgeComm(FPort, Flags); }

    TIoResult Read(uint8_t* Buffer, std::size_t Capacity, TWaitHandle Stop) override
    {
        return Transfer(FRead, Stop, [&](DWORD& Done) {
            return ReadFile(FPort, Buffer, DWORD(Capacity), &Done, &FRead.Overlapped);
        });
    }

    TIoResult Write(const uint8_t* Buffer, std::size_t Length, TWaitHandle Stop) override
    {
        return Transfer(FWrite, Stop, [&](DWORD& Done) {
            return WriteFile(FPort, Buffer, DWORD(Length), &Done, &FWrite.Overlapped);
        });
    }

    // The receive thread asks after every read: a completed event wait is evaluated and the
    // next one issued.
    void TakeLineEvents(uint32_t& Errors, uint32_t& ModemEvent) override
    {
        Errors = 0;
        ModemEvent = 0;
        if (!FWatching)
            return;
        if (FEventPending) {
            DWORD ignored;
            if (!GetOverlappedResult(FPort, &FEventWait.Overlapped, &ignored, FALSE)) {
                if (GetLastError() == ERROR_IO_INCOMPLETE)
                    return;
                FEventPending = false;
                FWatching = false;
                return;
            }
            FEventPending = false;
            Evaluate(Errors, ModemEvent);
        }
        FWatching = ArmEventWait(&Errors, &ModemEvent);
    }

private:
    template <typename TIssue>
    TIoResult Transfer(TRequest& Request, TWaitHandle Stop, TIssue Issue)
    {
        HANDLE event = Request.Overlapped.hEvent;
        if (!event)
            return {TIoResult::TStatus::Failed, 0, ERROR_NOT_ENOUGH_MEMORY};
        ResetEvent(event);
        DWORD done = 0;
        if (Issue(done))
            return {TIoResult::TStatus::Completed, done, 0};
        if (GetLastError() != ERROR_IO_PENDING)
            return FailureOf(GetLastError(), done);
        HANDLE handles[] = {reinterpret_cast<HANDLE>(Stop.Value), event};
        const DWORD woken = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0 + 1)
            CancelIoEx(FPort, &Request.Overlapped);
        // Waits for the cancellation too: the request writes into Buffer until it is over.
        const BOOL finished = GetOverlappedResult(FPort, &Request.Overlapped, &done, TRUE);
        if (woken == WAIT_OBJECT_0)
            return {TIoResult::TStatus::Stopped, 0, 0};
        if (woken != WAIT_OBJECT_0 + 1)
            return {TIoResult::TStatus::Failed, 0, int(GetLastError())};
        if (!finished)
            return FailureOf(GetLastError(), done);
        return {TIoResult::TStatus::Completed, done, 0};
    }

    // Issues event waits until one stays pending, adding what those that complete at once
    // report. False when the device reports no line events: a pseudo-terminal under Wine
    // refuses the wait with "not supported", and reading goes on without them.
    bool ArmEventWait(uint32_t* Errors = nullptr, uint32_t* ModemEvent = nullptr)
    {
        for (;;) {
            ResetEvent(FEventWait.Overlapped.hEvent);
            if (!WaitCommEvent(FPort, &FMask, &FEventWait.Overlapped)) {
                FEventPending = GetLastError() == ERROR_IO_PENDING;
                return FEventPending;
            }
            uint32_t errors = 0, modem = 0;
            Evaluate(errors, modem);
            if (Errors) {
                *Errors |= errors;
                *ModemEvent |= modem;
            }
        }
    }

    void Evaluate(uint32_t& Errors, uint32_t& ModemEvent)
    {
        DWORD errors = 0;
        if (FMask & EV_ERR && ClearCommError(FPort, &errors, nullptr))
            Errors |= errors & kLineErrors;
        ModemEvent |= (FMask & EV_RLSD ? CommModem::Carrier : 0) |
                      (FMask & EV_RING ? CommModem::Ring : 0);
    }

    HANDLE FPort;
    TRequest FRead;
    TRequest FWrite;
    TRequest FEventWait;
    DWORD FMask = 0;
    bool FEventPending = false;
    bool FWatching = false;
};

} // namespace

std::string ResolvePortName(const std::string& Name)
{
    // The device namespace reaches every port, COM10 and above included, which the plain
    // name does not; a name already in a Windows namespace is used as it is.
    if (Name.rfind("\\\\", 0) == 0)
        return Name;
    unsigned number;
    return ComPortNumber(Name, number) ? "\\\\.\\COM" + std::to_string(number) : "";
}

// Windows names its own ports: there is nothing to link.
std::string PortsDirectory() { return ""; }

TSerialDevice::TOpenResult TSerialDevice::Open(const std::string& Name,
                                               std::unique_ptr<TSerialDevice>& Device)
{
    Device.reset();
    const std::string path = ResolvePortName(Name);
    if (path.empty())
        return TOpenResult::OpenFailed;
    HANDLE port = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE)
        return TOpenResult::OpenFailed;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (GetFileType(port) != FILE_TYPE_CHAR || !::GetCommState(port, &dcb)) {
        CloseHandle(port);
        return TOpenResult::NotACommDevice;
    }
    Device = std::make_unique<TWin32SerialDevice>(port);
    return TOpenResult::Opened;
}

} // namespace platform
