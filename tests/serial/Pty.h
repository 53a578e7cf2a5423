#pragma once
// The device at the far end of the component's line, for tests, and helpers for waiting on the
// component's events. Each backend provides the line its own way: on POSIX a pseudo-terminal
// linked under a COM name in a port directory of the test's own; on Windows the second port of
// a pair that scripts/test-windows.sh joins (the far end of COMn is COMn+1).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Where the test's COM names lead, for as long as it exists.
class TPortDir {
public:
    TPortDir();
    ~TPortDir();
    TPortDir(const TPortDir&) = delete;
    TPortDir& operator=(const TPortDir&) = delete;

    struct TImpl;
    TImpl& Impl() const { return *FImpl; }

private:
    std::unique_ptr<TImpl> FImpl;
};

class TPty {
public:
    // A raw line that the component reaches as Name (such as "COM1").
    TPty(const TPortDir& Dir, const std::string& Name = "COM1");
    ~TPty();
    TPty(const TPty&) = delete;
    TPty& operator=(const TPty&) = delete;

    // Writes everything, waiting up to a few seconds for the line to take it.
    void Write(const std::vector<uint8_t>& Bytes) const;
    // What arrived from the component within TimeoutMs, up to Count bytes.
    std::vector<uint8_t> Read(std::size_t Count, int TimeoutMs) const;
    // The device goes away; bytes the component has not read yet go with it.
    void CloseFarEnd();

    struct TImpl;
    TImpl& Impl() const { return *FImpl; }

private:
    std::unique_ptr<TImpl> FImpl;
};

// Handles messages until Done answers true; false after TimeoutMs.
bool WaitFor(const std::function<bool()>& Done, int TimeoutMs = 3000);
// Handles messages for Ms milliseconds.
void Pump(int Ms);
// Bytes 0..Count-1 of a repeatable pseudo-random sequence.
std::vector<uint8_t> RandomBytes(std::size_t Count, unsigned Seed = 1);
