// The far end over a pair of COM ports that scripts/test-windows.sh joins: the component opens
// COMn, the test holds COMn+1. The pair outlives the test, so the far end starts by throwing
// away whatever an earlier test left on it.
#include "tests/serial/Pty.h"

#include "platform/win32/Windows.h"

#include <stdexcept>

struct TPortDir::TImpl {};

struct TPty::TImpl {
    HANDLE Port = INVALID_HANDLE_VALUE;
    HANDLE Done = nullptr; // the event of each overlapped request
};

TPortDir::TPortDir() : FImpl(std::make_unique<TImpl>()) {}
TPortDir::~TPortDir() = default;

namespace {

// The far end's name for the component's "COMn".
std::string FarName(const std::string& Name)
{
    if (Name.rfind("COM", 0) != 0)
        throw std::invalid_argument("not a COM port: " + Name);
    return "\\\\.\\COM" + std::to_string(std::stoul(Name.substr(3)) + 1);
}

// Waits up to TimeoutMs for an issued request; a request still pending then is cancelled.
// Answers the bytes it moved.
DWORD Finish(HANDLE Port, OVERLAPPED& Request, BOOL Issued, DWORD TimeoutMs)
{
    if (!Issued && GetLastError() != ERROR_IO_PENDING)
        return 0;
    if (WaitForSingleObject(Request.hEvent, TimeoutMs) != WAIT_OBJECT_0)
        CancelIoEx(Port, &Request);
    DWORD moved = 0;
    GetOverlappedResult(Port, &Request, &moved, TRUE);
    return moved;
}

} // namespace

TPty::TPty(const TPortDir&, const std::string& Name) : FImpl(std::make_unique<TImpl>())
{
    FImpl->Port = CreateFileA(FarName(Name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (FImpl->Port == INVALID_HANDLE_VALUE)
        throw std::runtime_error("the far end of " + Name + " does not open");
    FImpl->Done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // Reads end 10 ms after the last byte that came, or when the buffer is full.
    COMMTIMEOUTS timeouts{10, 0, 0, 0, 0};
    SetCommTimeouts(FImpl->Port, &timeouts);
    while (!Read(1 << 16, 50).empty()) {
    }
}

TPty::~TPty()
{
    CloseFarEnd();
    CloseHandle(FImpl->Done);
}

void TPty::Write(const std::vector<uint8_t>& Bytes) const
{
    std::size_t done = 0;
    while (done < Bytes.size()) {
        OVERLAPPED request{};
        request.hEvent = FImpl->Done;
        const DWORD count = DWORD(Bytes.size() - done);
        const BOOL issued = WriteFile(FImpl->Port, Bytes.data() + done, count, nullptr, &request);
        const DWORD moved = Finish(FImpl->Port, request, issued, 5000);
        if (moved == 0)
            throw std::runtime_error("far end write stalled");
        done += moved;
    }
}

std::vector<uint8_t> TPty::Read(std::size_t Count, int TimeoutMs) const
{
    std::vector<uint8_t> got;
    const ULONGLONG end = GetTickCount64() + ULONGLONG(TimeoutMs);
    while (got.size() < Count) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            break;
        uint8_t chunk[4096];
        OVERLAPPED request{};
        request.hEvent = FImpl->Done;
        const DWORD want = DWORD(std::min(sizeof chunk, Count - got.size()));
        const BOOL issued = ReadFile(FImpl->Port, chunk, want, nullptr, &request);
        const DWORD moved = Finish(FImpl->Port, request, issued, DWORD(end - now));
        if (moved == 0) // the time is up, or the line failed
            break;
        got.insert(got.end(), chunk, chunk + moved);
    }
    return got;
}

void TPty::CloseFarEnd()
{
    if (FImpl->Port != INVALID_HANDLE_VALUE)
        CloseHandle(FImpl->Port);
    FImpl->Port = INVALID_HANDLE_VALUE;
}
