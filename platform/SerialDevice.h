#pragma once
// The serial line as the component sees it: the platform's device control block and time-outs,
// and the few operations the component performs on an open port. Each OS implements this in
// its own folder; the component's logic stays the same over all of them.
//
// Threading: Open and the configuration calls run on the user-interface thread; Purge runs
// there and in each worker thread as it ends. Read belongs to the receive thread and Write to
// the transmit thread; both may run at the same time as each other and as the configuration
// calls. The owner destroys the device after both threads have ended.

#include "platform/Sync.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// The device control block, field for field.
struct TDcb {
    uint32_t DCBlength = 28;
    uint32_t BaudRate = 0;
    uint32_t Flags = 0;
    uint16_t wReserved = 0;
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t ByteSize = 8;
    uint8_t Parity = 0;
    uint8_t StopBits = 0;
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
    uint16_t wReserved1 = 0;
};

// Bits of TDcb::Flags.
namespace DcbFlag {
constexpr uint32_t Binary = 0x0001;
constexpr uint32_t Parity = 0x0002;
constexpr uint32_t OutxCtsFlow = 0x0004;
constexpr uint32_t OutxDsrFlow = 0x0008;
constexpr uint32_t DtrControlShift = 4; // 2 bits: 0 off, 1 on, 2 handshake
constexpr uint32_t DtrControlMask = 0x0030;
constexpr uint32_t DsrSensitivity = 0x0040;
constexpr uint32_t TxContinueOnXoff = 0x0080;
constexpr uint32_t OutX = 0x0100;
constexpr uint32_t InX = 0x0200;
constexpr uint32_t ErrorChar = 0x0400;
constexpr uint32_t Null = 0x0800;
constexpr uint32_t RtsControlShift = 12; // 2 bits: 0 off, 1 on, 2 handshake, 3 toggle
constexpr uint32_t RtsControlMask = 0x3000;
constexpr uint32_t AbortOnError = 0x4000;
} // namespace DcbFlag

// Parity, StopBits: the platform's numbering.
namespace DcbParity {
constexpr uint8_t None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4;
}
namespace DcbStopBits {
constexpr uint8_t One = 0, OneAndHalf = 1, Two = 2;
}

// All in milliseconds. With interval 100 and the rest 0, a read waits without limit for its
// first byte and then ends once more than 100 ms pass between two bytes.
struct TCommTimeouts {
    uint32_t ReadIntervalTimeout = 0;
    uint32_t ReadTotalTimeoutMultiplier = 0;
    uint32_t ReadTotalTimeoutConstant = 0;
    uint32_t WriteTotalTimeoutMultiplier = 0;
    uint32_t WriteTotalTimeoutConstant = 0;
};

// Purge flags.
namespace PurgeFlag {
constexpr uint32_t TxAbort = 0x0001;
constexpr uint32_t RxAbort = 0x0002;
constexpr uint32_t TxClear = 0x0004;
constexpr uint32_t RxClear = 0x0008;
} // namespace PurgeFlag

// Line error flags, as the receive thread reports them.
namespace CommError {
constexpr uint32_t RxOver = 0x0001;   // the driver's input buffer overflowed
constexpr uint32_t Overrun = 0x0002;  // the UART lost a character
constexpr uint32_t RxParity = 0x0004; // parity error
constexpr uint32_t Frame = 0x0008;    // framing error
constexpr uint32_t Break = 0x0010;    // break condition
} // namespace CommError

// Modem events, as the receive thread reports them; both in one event add up to 12.
namespace CommModem {
constexpr uint32_t Ring = 4;    // the ring indicator was detected
constexpr uint32_t Carrier = 8; // the carrier-detect line changed
} // namespace CommModem

// What happened to a Read or a Write.
struct TIoResult {
    enum class TStatus {
        Completed, // Count bytes moved (a Read may complete with 0 under total time-outs)
        Stopped,   // the stop handle was signalled first; nothing more was done
        HungUp,    // the line went away (adapter unplugged, far end closed)
        Failed     // any other failure; Error says which
    };
    TStatus Status = TStatus::Completed;
    std::size_t Count = 0;
    int Error = 0;
};

class TSerialDevice {
public:
    enum class TOpenResult { Opened, OpenFailed, NotACommDevice };

    virtual ~TSerialDevice() = default;

    // Opens Name exclusively (against this process and others): a line that another opener
    // holds exclusively is refused, also when this process could override that. On failure
    // Device stays null.
    static TOpenResult Open(const std::string& Name, std::unique_ptr<TSerialDevice>& Device);

    // Asks for driver queues of these sizes; false when the driver refuses.
    virtual bool SetupComm(uint32_t InQueue, uint32_t OutQueue) = 0;
    virtual bool GetCommState(TDcb& Dcb) = 0;
    // False, with the previous settings still in force, when the port rejects the block.
    virtual bool SetCommState(const TDcb& Dcb) = 0;
    virtual bool SetCommTimeouts(const TCommTimeouts& Timeouts) = 0;
    // PurgeFlag bits. Pending reads and writes end through the stop handle they wait on.
    virtual void Purge(uint32_t Flags) = 0;

    // Reads up to Capacity bytes as the time-outs say: without total time-outs it waits for a
    // first byte, then ends on a full buffer or a gap longer than the interval time-out between
    // the moments bytes arrived (not the moments they were read). Wakes on Stop at any point.
    virtual TIoResult Read(uint8_t* Buffer, std::size_t Capacity, TWaitHandle Stop) = 0;
    // Line errors and modem events since the last call: CommError bits and CommModem bits. Lines that cannot report them give 0 and 0. On POSIX these
    // come from the driver's counters, which the receive thread asks after every read: a
    // change that comes without data is reported with the next bytes.
    virtual void TakeLineEvents(uint32_t& Errors, uint32_t& ModemEvent) = 0;
    // Writes some of the bytes, waiting while the line cannot take any; Count says how many.
    virtual TIoResult Write(const uint8_t* Buffer, std::size_t Length, TWaitHandle Stop) = 0;
};

// The n of a port name "COMn" (any case, n from 1 to 256 without leading zeros); false for any
// other name.
bool ComPortNumber(const std::string& Name, unsigned& Number);

// The path that Open uses for a port name (see the posix implementation for the rules); empty
// for a name that is no port, which Open then refuses without looking for it anywhere.
std::string ResolvePortName(const std::string& Name);

// Where COM names are linked to devices: what the station looks up and the device simulator
// links into. Empty when the user has neither this setting nor a home directory.
std::string PortsDirectory();

} // namespace platform
