#pragma once
// TComm: a non-visual component that owns one serial port, configures it from its properties,
// sends through a transmit thread and hands every received block to the user-interface thread.
//
// Threading: every member of TComm is called on the user-interface thread, and every event
// runs there, called from the message loop. While the port is open, a receive thread and a
// transmit thread run; they never touch the component and talk back only through messages
// posted to its notification window. Blocks change owner with the message that carries them:
// SendData's copy belongs to the transmit thread once queued, a received block to the
// notification window once posted, which frees it after OnReceiveData returns.

#include "framework/Classes.h"
#include "framework/SysUtils.h"
#include "platform/SerialDevice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TReadThread;
class TWriteThread;
namespace platform {
class TNotifyWindow;
class TEvent;
struct TMessage;
} // namespace platform

// Raised by OpenPort only; the message is one of the fixed texts of opening.
class ECommsError : public Exception {
public:
    using Exception::Exception;
};

enum class TByteSize : uint8_t { _5, _6, _7, _8 };
enum class TParity : uint8_t { None, Odd, Even, Mark, Space };
enum class TStopBits : uint8_t { _1, _1_5, _2 };
enum class TDtrControl : uint8_t { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl : uint8_t { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };

// Buffer holds BufferLength bytes followed by a 0 byte; it is valid only during the call.
using TReceiveDataEvent =
    std::function<void(TObject* Sender, const void* Buffer, uint16_t BufferLength)>;
// EventMask: CommError bits of platform/SerialDevice.h (0x01 input buffer overflow, 0x02
// overrun, 0x04 parity, 0x08 framing, 0x10 break), as far as the line's driver counts them;
// on POSIX they are noticed when bytes arrive, and pseudo-terminals report none.
using TReceiveErrorEvent = std::function<void(TObject* Sender, uint32_t EventMask)>;
// ModemEvent: CommModem bits of platform/SerialDevice.h (8 carrier changed, 4 ring, 12 both).
using TModemStateChangeEvent = std::function<void(TObject* Sender, uint32_t ModemEvent)>;
using TSendDataEmptyEvent = TNotifyEvent;

class TComm : public TComponent {
public:
    explicit TComm(TComponent* Owner);
    // Closes a port that is still open: an owner may be destroyed without calling ClosePort.
    ~TComm() override;

    // Raises ECommsError, leaving the component closed (or, when already open, as it was).
    void OpenPort();
    // Stops both threads and closes the port; does nothing when closed. Messages already
    // posted are still delivered afterwards.
    void ClosePort();
    // Queues a copy of the bytes for the transmit thread. False when the port is closed, the
    // transmit thread has ended, Length is 0 or the copy cannot be made. True means queued.
    bool SendData(const void* Buffer, uint16_t Length);

    bool Opened() const { return FPortHandle != nullptr; }

    // The block that the line settings become, built on Current (what the port reported):
    // what applying them writes to an open port.
    platform::TDcb ComposeDcb(const platform::TDcb& Current) const;

    // Properties. Setters store and act only on a change; on an open port line settings and
    // time-outs are then written whole at once. CommName and Parity only store.
    const std::string& CommName() const { return FCommName; }
    void SetCommName(const std::string& Value) { FCommName = Value; }
    uint32_t BaudRate() const { return FBaudRate; }
    void SetBaudRate(uint32_t Value);
    bool ParityCheck() const { return FParityCheck; }
    void SetParityCheck(bool Value);
    bool Outx_CtsFlow() const { return FOutx_CtsFlow; }
    void SetOutx_CtsFlow(bool Value);
    bool Outx_DsrFlow() const { return FOutx_DsrFlow; }
    void SetOutx_DsrFlow(bool Value);
    TDtrControl DtrControl() const { return FDtrControl; }
    void SetDtrControl(TDtrControl Value);
    bool DsrSensitivity() const { return FDsrSensitivity; }
    void SetDsrSensitivity(bool Value);
    bool TxContinueOnXoff() const { return FTxContinueOnXoff; }
    void SetTxContinueOnXoff(bool Value);
    bool Outx_XonXoffFlow() const { return FOutx_XonXoffFlow; }
    void SetOutx_XonXoffFlow(bool Value);
    bool Inx_XonXoffFlow() const { return FInx_XonXoffFlow; }
    void SetInx_XonXoffFlow(bool Value);
    bool ReplaceWhenParityError() const { return FReplaceWhenParityError; }
    void SetReplaceWhenParityError(bool Value);
    bool IgnoreNullChar() const { return FIgnoreNullChar; }
    void SetIgnoreNullChar(bool Value);
    TRtsControl RtsControl() const { return FRtsControl; }
    void SetRtsControl(TRtsControl Value);
    uint16_t XonLimit() const { return FXonLimit; }
    void SetXonLimit(uint16_t Value);
    uint16_t XoffLimit() const { return FXoffLimit; }
    void SetXoffLimit(uint16_t Value);
    TByteSize ByteSize() const { return FByteSize; }
    void SetByteSize(TByteSize Value);
    TParity Parity() const { return FParity; }
    void SetParity(TParity Value) { FParity = Value; }
    TStopBits StopBits() const { return FStopBits; }
    void SetStopBits(TStopBits Value);
    char XonChar() const { return FXonChar; }
    void SetXonChar(char Value);
    char XoffChar() const { return FXoffChar; }
    void SetXoffChar(char Value);
    char ReplacedChar() const { return FReplacedChar; }
    void SetReplacedChar(char Value);
    uint32_t ReadIntervalTimeout() const { return FReadIntervalTimeout; }
    void SetReadIntervalTimeout(uint32_t Value);
    uint32_t ReadTotalTimeoutMultiplier() const { return FReadTotalTimeoutMultiplier; }
    void SetReadTotalTimeoutMultiplier(uint32_t Value);
    uint32_t ReadTotalTimeoutConstant() const { return FReadTotalTimeoutConstant; }
    void SetReadTotalTimeoutConstant(uint32_t Value);
    uint32_t WriteTotalTimeoutMultiplier() const { return FWriteTotalTimeoutMultiplier; }
    void SetWriteTotalTimeoutMultiplier(uint32_t Value);
    uint32_t WriteTotalTimeoutConstant() const { return FWriteTotalTimeoutConstant; }
    void SetWriteTotalTimeoutConstant(uint32_t Value);

    // Events, each called on the user-interface thread only when assigned; Sender is this.
    TReceiveDataEvent OnReceiveData;
    TNotifyEvent OnRequestHangup;    // a worker thread gave up; ClosePort, OpenPort recover
    TReceiveErrorEvent OnReceiveError;
    TModemStateChangeEvent OnModemStateChange;
    TSendDataEmptyEvent OnSendDataEmpty; // the transmit queue ran empty (once after each open)

private:
    template <typename T>
    void SetLine(T& Field, T Value);
    template <typename T>
    void SetTimeout(T& Field, T Value);
    void ApplyLineSettings();
    void ApplyTimeouts();
    void NotifyWndProc(platform::TMessage& Message);
    void StopReadThread();
    void StopWriteThread();
    // Undoes a failed OpenPort from the point where the port counted as open.
    void Abandon();

    std::unique_ptr<TReadThread> FReadThread;
    std::unique_ptr<TWriteThread> FWriteThread;
    std::unique_ptr<platform::TSerialDevice> FPortHandle;
    std::unique_ptr<platform::TEvent> FStopEvent;
    std::unique_ptr<platform::TNotifyWindow> FNotifyWnd;

    std::string FCommName = "COM1";
    uint32_t FBaudRate = 9600;
    bool FParityCheck = false;
    bool FOutx_CtsFlow = false;
    bool FOutx_DsrFlow = false;
    TDtrControl FDtrControl = TDtrControl::DtrEnable;
    bool FDsrSensitivity = false;
    bool FTxContinueOnXoff = true;
    bool FOutx_XonXoffFlow = false;
    bool FInx_XonXoffFlow = false;
    bool FReplaceWhenParityError = false;
    bool FIgnoreNullChar = false;
    TRtsControl FRtsControl = TRtsControl::RtsEnable;
    uint16_t FXonLimit = 500;
    uint16_t FXoffLimit = 500;
    TByteSize FByteSize = TByteSize::_8;
    TParity FParity = TParity::None;
    TStopBits FStopBits = TStopBits::_1;
    char FXonChar = 0x11;
    char FXoffChar = 0x13;
    char FReplacedChar = 0;
    uint32_t FReadIntervalTimeout = 100;
    uint32_t FReadTotalTimeoutMultiplier = 0;
    uint32_t FReadTotalTimeoutConstant = 0;
    uint32_t FWriteTotalTimeoutMultiplier = 0;
    uint32_t FWriteTotalTimeoutConstant = 0;
};
