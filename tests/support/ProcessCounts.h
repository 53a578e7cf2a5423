#pragma once
// What this process holds, read from /proc/self: leaks of descriptors, threads and memory show
// as counts that do not come back after the work that raised them has ended.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

struct TProcessCounts {
    std::size_t Descriptors = 0;
    std::size_t Threads = 0;
    std::uint64_t ResidentBytes = 0;
};

// Under a sanitizer's allocator freed memory is held back in quarantine, so resident memory
// says nothing about leaks there (the sanitizer itself reports those). The test command says so
// through OSTREL_SANITIZED.
inline bool ResidentMemoryMeasurable() { return std::getenv("OSTREL_SANITIZED") == nullptr; }

inline TProcessCounts ReadProcessCounts()
{
    TProcessCounts counts;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++counts.Descriptors;
    --counts.Descriptors; // the iterator's own
    std::ifstream status("/proc/self/status");
    for (std::string key; status >> key;) {
        if (key == "Threads:")
            status >> counts.Threads;
        else if (key == "VmRSS:") {
            status >> counts.ResidentBytes;
            counts.ResidentBytes *= 1024;
        }
    }
    return counts;
}
