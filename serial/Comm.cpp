#include "serial/Comm.h"

#include "framework/Application.h"
#include "framework/Property.h"
#include "serial/CommThreads.h"

#include <cstring>

using namespace platform;

namespace {

// The control enumerations list "enable" first, but the block's fields count "off" as 0.
constexpr uint32_t DtrField[] = {1, 0, 2};
constexpr uint32_t RtsField[] = {1, 0, 2, 3};

constexpr uint32_t DriverQueueSize = 4096;

template <typename E>
constexpr uint8_t Ordinal(E Value)
{
    return static_cast<uint8_t>(Value);
}

} // namespace

TComm::TComm(TComponent* Owner)
    : TComponent(Owner),
      FNotifyWnd(std::make_unique<TNotifyWindow>([this](TMessage& M) { NotifyWndProc(M); }))
{
}

TComm::~TComm()
{
    ClosePort();
    FNotifyWnd.reset();
}

void TComm::OpenPort()
{
    if (FPortHandle)
        throw ECommsError("This serial port already opened");
    std::unique_ptr<TSerialDevice> port;
    switch (TSerialDevice::Open(FCommName, port)) {
    case TSerialDevice::TOpenResult::Opened: break;
    case TSerialDevice::TOpenResult::OpenFailed: throw ECommsError("Error opening serial port");
    case TSerialDevice::TOpenResult::NotACommDevice:
        throw ECommsError("File handle is not a comm handle ");
    }
    if (!port->SetupComm(DriverQueueSize, DriverQueueSize))
        throw ECommsError("Cannot setup comm buffer");

    FPortHandle = std::move(port);
    FPortHandle->Purge(PurgeFlag::TxAbort | PurgeFlag::RxAbort | PurgeFlag::TxClear |
                       PurgeFlag::RxClear);
    ApplyTimeouts();
    ApplyLineSettings();

    try {
        FStopEvent = std::make_unique<TEvent>(false);
    } catch (...) {
        Abandon();
        throw ECommsError("Unable to create event");
    }
    // Each thread starts as soon as it exists: it needs nothing the other one provides.
    try {
        FReadThread = std::make_unique<TReadThread>(FPortHandle.get(), FStopEvent->Handle(),
                                                    FNotifyWnd->Handle());
        FReadThread->Start();
    } catch (...) {
        FReadThread.reset();
        Abandon();
        throw ECommsError("Unable to create read thread");
    }
    try {
        FWriteThread = std::make_unique<TWriteThread>(FPortHandle.get(), FStopEvent->Handle(),
                                                      FNotifyWnd->Handle());
        FWriteThread->Start();
    } catch (...) {
        StopReadThread();
        FWriteThread.reset();
        Abandon();
        throw ECommsError("Unable to create write thread");
    }
}

void TComm::Abandon()
{
    FStopEvent.reset();
    FPortHandle.reset();
}

void TComm::ClosePort()
{
    if (!FPortHandle)
        return;
    StopReadThread();
    StopWriteThread();
    Abandon();
}

void TComm::StopReadThread()
{
    if (!FReadThread)
        return;
    FStopEvent->Set();
    FPortHandle->Purge(PurgeFlag::RxAbort | PurgeFlag::RxClear);
    // Every wait of the thread includes the stop event, so this returns promptly.
    FReadThread.reset();
}

void TComm::StopWriteThread()
{
    if (!FWriteThread)
        return;
    FStopEvent->Set();
    FPortHandle->Purge(PurgeFlag::TxAbort | PurgeFlag::TxClear);
    FWriteThread.reset();
}

bool TComm::SendData(const void* Buffer, uint16_t Length)
{
    if (!FWriteThread || Length == 0 || !Buffer)
        return false;
    TMessage request;
    request.Code = WM_COMM_SEND;
    request.WParam = Length;
    request.Block = AllocBlock(Length);
    if (!request.Block)
        return false;
    std::memcpy(request.Block.get(), Buffer, Length);
    return FWriteThread->Post(std::move(request));
}

TDcb TComm::ComposeDcb(const TDcb& Current) const
{
    TDcb dcb = Current;
    dcb.BaudRate = FBaudRate;
    dcb.Flags = DcbFlag::Binary | (FParityCheck ? DcbFlag::Parity : 0) |
                (FOutx_CtsFlow ? DcbFlag::OutxCtsFlow : 0) |
                (FOutx_DsrFlow ? DcbFlag::OutxDsrFlow : 0) |
                (DtrField[Ordinal(FDtrControl)] << DcbFlag::DtrControlShift) |
                (FDsrSensitivity ? DcbFlag::DsrSensitivity : 0) |
                (FTxContinueOnXoff ? DcbFlag::TxContinueOnXoff : 0) |
                (FOutx_XonXoffFlow ? DcbFlag::OutX : 0) | (FInx_XonXoffFlow ? DcbFlag::InX : 0) |
                (FReplaceWhenParityError ? DcbFlag::ErrorChar : 0) |
                (FIgnoreNullChar ? DcbFlag::Null : 0) |
                (RtsField[Ordinal(FRtsControl)] << DcbFlag::RtsControlShift);
    dcb.XonLim = FXonLimit;
    dcb.XoffLim = FXoffLimit;
    dcb.ByteSize = static_cast<uint8_t>(Ordinal(FByteSize) + 5);
    dcb.Parity = Ordinal(FParity);
    dcb.StopBits = Ordinal(FStopBits);
    dcb.XonChar = FXonChar;
    dcb.XoffChar = FXoffChar;
    dcb.ErrorChar = FReplacedChar;
    return dcb;
}

void TComm::ApplyLineSettings()
{
    TDcb current;
    FPortHandle->GetCommState(current);
    FPortHandle->SetCommState(ComposeDcb(current));
}

void TComm::ApplyTimeouts()
{
    FPortHandle->SetCommTimeouts({FReadIntervalTimeout, FReadTotalTimeoutMultiplier,
                                  FReadTotalTimeoutConstant, FWriteTotalTimeoutMultiplier,
                                  FWriteTotalTimeoutConstant});
}

void TComm::NotifyWndProc(TMessage& Message)
{
    // The block is freed when this returns, whether or not a handler ran or threw.
    const THeapBlock block = std::move(Message.Block);
    const auto call = [](const std::function<void()>& Handler) {
        if (Application)
            Application->Guard(Handler);
        else
            Handler();
    };
    switch (Message.Code) {
    case WM_COMM_RECEIVED:
        if (OnReceiveData && block)
            call([&] { OnReceiveData(this, block.get(), static_cast<uint16_t>(Message.WParam)); });
        break;
    case WM_COMM_LINE_ERROR:
        if (OnReceiveError)
            call([&] { OnReceiveError(this, Message.LParam); });
        break;
    case WM_COMM_HANGUP:
        if (OnRequestHangup)
            call([&] { OnRequestHangup(this); });
        break;
    case WM_COMM_MODEM:
        if (OnModemStateChange)
            call([&] { OnModemStateChange(this, Message.LParam); });
        break;
    case WM_COMM_SEND_EMPTY:
        if (OnSendDataEmpty)
            call([&] { OnSendDataEmpty(this); });
        break;
    default: break;
    }
}

template <typename T>
void TComm::SetLine(T& Field, T Value)
{
    SetProperty(Field, Value, [this] {
        if (FPortHandle)
            ApplyLineSettings();
    });
}

template <typename T>
void TComm::SetTimeout(T& Field, T Value)
{
    SetProperty(Field, Value, [this] {
        if (FPortHandle)
            ApplyTimeouts();
    });
}

void TComm::SetBaudRate(uint32_t Value) { SetLine(FBaudRate, Value); }
void TComm::SetParityCheck(bool Value) { SetLine(FParityCheck, Value); }
void TComm::SetOutx_CtsFlow(bool Value) { SetLine(FOutx_CtsFlow, Value); }
void TComm::SetOutx_DsrFlow(bool Value) { SetLine(FOutx_DsrFlow, Value); }
void TComm::SetDtrControl(TDtrControl Value) { SetLine(FDtrControl, Value); }
void TComm::SetDsrSensitivity(bool Value) { SetLine(FDsrSensitivity, Value); }
void TComm::SetTxContinueOnXoff(bool Value) { SetLine(FTxContinueOnXoff, Value); }
void TComm::SetOutx_XonXoffFlow(bool Value) { SetLine(FOutx_XonXoffFlow, Value); }
void TComm::SetInx_XonXoffFlow(bool Value) { SetLine(FInx_XonXoffFlow, Value); }
void TComm::SetReplaceWhenParityError(bool Value) { SetLine(FReplaceWhenParityError, Value); }
void TComm::SetIgnoreNullChar(bool Value) { SetLine(FIgnoreNullChar, Value); }
void TComm::SetRtsControl(TRtsControl Value) { SetLine(FRtsControl, Value); }
void TComm::SetXonLimit(uint16_t Value) { SetLine(FXonLimit, Value); }
void TComm::SetXoffLimit(uint16_t Value) { SetLine(FXoffLimit, Value); }
void TComm::SetByteSize(TByteSize Value) { SetLine(FByteSize, Value); }
void TComm::SetStopBits(TStopBits Value) { SetLine(FStopBits, Value); }
void TComm::SetXonChar(char Value) { SetLine(FXonChar, Value); }
void TComm::SetXoffChar(char Value) { SetLine(FXoffChar, Value); }
void TComm::SetReplacedChar(char Value) { SetLine(FReplacedChar, Value); }
void TComm::SetReadIntervalTimeout(uint32_t Value) { SetTimeout(FReadIntervalTimeout, Value); }
void TComm::SetReadTotalTimeoutMultiplier(uint32_t Value)
{
    SetTimeout(FReadTotalTimeoutMultiplier, Value);
}
void TComm::SetReadTotalTimeoutConstant(uint32_t Value)
{
    SetTimeout(FReadTotalTimeoutConstant, Value);
}
void TComm::SetWriteTotalTimeoutMultiplier(uint32_t Value)
{
    SetTimeout(FWriteTotalTimeoutMultiplier, Value);
}
void TComm::SetWriteTotalTimeoutConstant(uint32_t Value)
{
    SetTimeout(FWriteTotalTimeoutConstant, Value);
}
