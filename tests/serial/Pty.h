#pragma once
// A pseudo-terminal standing in for the device at the far end of the line, linked as COM1 in a
// port directory of its own, and helpers for waiting on the component's events.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <termios.h>

// A temporary port directory named by OSTREL_SMT_PORTS for as long as it exists.
class TPortDir {
public:
    TPortDir();
    ~TPortDir();
    const std::string& Path() const { return FPath; }
    // Makes Name (such as "COM1") lead to Target.
    void Link(const std::string& Name, const std::string& Target) const;

private:
    std::string FPath;
    std::string FOldValue;
    bool FHadValue = false;
};

class TPty {
public:
    // Opens a pair in raw mode on both sides and links the line as Dir/Name.
    TPty(const TPortDir& Dir, const std::string& Name = "COM1");
    ~TPty();

    // Writes everything, waiting up to a few seconds for the line to take it.
    void Write(const std::vector<uint8_t>& Bytes) const;
    // What arrived from the component within TimeoutMs, up to Count bytes.
    std::vector<uint8_t> Read(std::size_t Count, int TimeoutMs) const;
    // The line's settings, as the component left them.
    termios LineSettings() const;
    // Changes the line's settings behind the component's back.
    void SetLineSettings(const termios& T) const;
    // The device goes away; bytes the component has not read yet go with it.
    void CloseFarEnd();
    // Bytes written that the component has not read yet.
    std::size_t Unread() const;

private:
    int FMaster = -1;
    int FSlave = -1;
};

// Handles messages until Done answers true; false after TimeoutMs.
bool WaitFor(const std::function<bool()>& Done, int TimeoutMs = 3000);
// Handles messages for Ms milliseconds.
void Pump(int Ms);
// Bytes 0..Count-1 of a repeatable pseudo-random sequence.
std::vector<uint8_t> RandomBytes(std::size_t Count, unsigned Seed = 1);
